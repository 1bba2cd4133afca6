// The host's reset confirmation (class 0x1E01): a small bubble that points at
// the button which asked, with Yes and No. It answers its client once per
// showing; a click elsewhere is a no.
#pragma once

#include "host/components/call_journal.h"
#include "module/component_interfaces.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class component_context_c;

class reset_confirm_fm_c : public QWidget {
    Q_OBJECT
public:
    explicit reset_confirm_fm_c(component_context_c* context, QWidget* parent = nullptr);

    // Opens pointing at `anchor`: below it when there is room, else above.
    void open_at(QWidget* anchor);
    QPushButton* yes_button() const { return m_yes; }
    QPushButton* no_button() const { return m_no; }
    bool points_up() const { return m_points_up; }
    // Where the arrow's tip is, in the bubble's coordinates.
    int arrow_x() const { return m_arrow_x; }

signals:
    // Once, when the bubble closes: 1 for yes, 0 otherwise.
    void answered(int answer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void retranslate();
    void answer(int value);

    QPointer<component_context_c> m_context;
    QLabel* m_title;
    QLabel* m_text;
    QPushButton* m_yes;
    QPushButton* m_no;
    int m_answer = 0;
    bool m_answered = false;
    bool m_points_up = true;
    int m_arrow_x = 0;
};

class reset_confirm_c : public QObject, public reset_confirm_i {
    Q_OBJECT
public:
    explicit reset_confirm_c(component_context_c* context = nullptr);
    ~reset_confirm_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    void set_client(reset_to_default_fm_client_i* client) override;
    void show_at(QWidget* anchor) override;
    void close_confirm() override;

    // The host's side.
    reset_confirm_fm_c* bubble() const { return m_bubble; }
    const call_journal_c& journal() const { return m_journal; }

private:
    void deliver(int answer);

    QPointer<component_context_c> m_context;
    QPointer<reset_confirm_fm_c> m_bubble;
    reset_to_default_fm_client_i* m_client = nullptr;
    call_journal_c m_journal;
    int m_delivering = 0;
    bool m_released = false;
};
