// The host's colour-flow list (class 0x1A01): a drop-down list that opens under
// the module's anchor button, usable with mouse and keyboard, and the interface
// object through which the module fills it and hears of the user's choice.
#pragma once

#include "host/components/call_journal.h"
#include "module/component_interfaces.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QAbstractButton;
class component_context_c;

// The open list: a frameless pop-up that closes on a choice, Escape or a click outside.
class colour_flow_popup_c : public QWidget {
    Q_OBJECT
public:
    static constexpr int row_height = 30;

    explicit colour_flow_popup_c(QWidget* parent = nullptr);

    // The items and the one marked as chosen (-1 for none); the highlight starts there.
    void set_items(const QStringList& items, int current);
    QStringList items() const { return m_items; }
    int highlighted() const { return m_highlight; }
    // Opens right under `anchor`, at least as wide as it, kept on its screen.
    void open_below(QWidget* anchor);

    QSize sizeHint() const override;

signals:
    void chosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int row_at(const QPoint& point) const;
    QRect row_rect(int row) const;
    void choose(int row);

    QStringList m_items;
    int m_current = -1;
    int m_highlight = -1;
    int m_min_width = 0;
};

class colour_flow_list_c : public QObject, public colour_flow_list_i {
    Q_OBJECT
public:
    // Items beyond this index are refused: the list is a handful of settings.
    static constexpr int max_items = 64;

    // `context` hears of the user's choices; null: nobody does.
    explicit colour_flow_list_c(component_context_c* context = nullptr);
    ~colour_flow_list_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    void attach(QAbstractButton* anchor, combobox_fm_client_i* client) override;
    void select(int32_t index) override;
    void list_reserved_4() override;
    void set_text(int32_t index, const QString& text) override;
    void list_reserved_6() override;
    void list_reserved_7() override;
    void list_reserved_8() override;
    void list_reserved_9() override;
    int32_t current_index() override;
    QString text(int32_t index) override;

    // The host's side.
    // Opens the list under its anchor (what a click on the anchor does).
    void open();
    // What a person choosing row `index` in the open list does.
    void choose(int index);
    colour_flow_popup_c* popup() const { return m_popup; }
    QAbstractButton* anchor() const { return m_anchor; }
    combobox_fm_client_i* client() const { return m_client; }
    QStringList items() const { return m_items; }
    const call_journal_c& journal() const { return m_journal; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<component_context_c> m_context;
    QPointer<QAbstractButton> m_anchor;
    combobox_fm_client_i* m_client = nullptr;
    QPointer<colour_flow_popup_c> m_popup;
    QStringList m_items;
    int m_current = -1;
    call_journal_c m_journal;
    int m_notifying = 0;
    bool m_released = false;
};
