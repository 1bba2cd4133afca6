// The frame every modal dialog of the host's components shares: a dark card
// with a title row that moves the window, a body the dialog fills, and the
// OK and Cancel buttons. Texts come from the host's text table and follow
// its language while the dialog is open.
#pragma once

#include "host/components/call_journal.h"
#include "host/components/component_context.h"

#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;

class dialog_frame_c : public QDialog {
    Q_OBJECT
public:
    // `title_id` is the host text of the title row.
    dialog_frame_c(component_context_c* context, const QString& object_name, int32_t title_id,
                   QWidget* parent = nullptr);

    // The dialog's own widgets go here.
    QVBoxLayout* body() const { return m_body; }
    QLabel* title_label() const { return m_title; }
    QPushButton* ok_button() const { return m_ok; }
    QPushButton* cancel_button() const { return m_cancel; }
    // A title given by the caller replaces the host text.
    void set_title(const QString& text);
    // A line under the body for refusals; red when `warning`, empty hides it.
    void set_message(const QString& text, bool warning = true);
    QString message() const;

    // Runs modally over the window in front; 1 when accepted, 0 otherwise.
    int32_t run();
    // The host text in the current language.
    QString text(int32_t id) const;
    component_context_c* context() const { return m_context; }

    // The frame's style sheet; dialogs add their own rules after it.
    static QString style_sheet();

signals:
    // The host switched its language; the dialog sets its texts again.
    void retranslate_requested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void retranslate();

    QPointer<component_context_c> m_context;
    int32_t m_title_id;
    QString m_custom_title;
    QFrame* m_card;
    QLabel* m_title;
    QVBoxLayout* m_body;
    QLabel* m_message;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPoint m_drag_offset;
    bool m_dragging = false;
};

// What every dialog component shares: the context its dialogs take their
// texts from, the journal of the module's calls, and a release that may come
// while its dialog is open (the dialog then ends as cancelled).
class dialog_component_c : public QObject {
    Q_OBJECT
public:
    // The dialog while a run is open, or null.
    dialog_frame_c* open_dialog() const { return m_dialog; }
    const call_journal_c& journal() const { return m_journal; }

protected:
    explicit dialog_component_c(component_context_c* context);
    ~dialog_component_c() override;

    // Runs `dialog` (which this component now owns) modally; 1 when accepted.
    // `accepted` is called with the dialog before it goes, only on acceptance.
    int32_t run_dialog(dialog_frame_c* dialog, const std::function<void()>& accepted);
    // For release(): destroys the component, or ends its open run first.
    void release_component();
    bool running() const { return m_running; }

    QPointer<component_context_c> m_context;
    call_journal_c m_journal;

private:
    QPointer<dialog_frame_c> m_dialog;
    bool m_running = false;
    bool m_released = false;
};
