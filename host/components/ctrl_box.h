// The host's control box (class 0x2A01): the frame around a control's form,
// with icon, title, help, favourite mark and reset in its title bar.
#pragma once

#include "host/components/call_journal.h"
#include "module/component_interfaces.h"

#include <QFrame>
#include <QMargins>
#include <QPixmap>
#include <QPointer>

class QLabel;
class QToolButton;
class component_context_c;

// The help text shown under the help button; closes on any click outside.
class help_popover_c : public QWidget {
    Q_OBJECT
public:
    explicit help_popover_c(QWidget* parent = nullptr);
    void set_texts(const QString& title, const QString& text);
    // Opens below `anchor`, right-aligned to it and kept on its screen.
    void open_at(QWidget* anchor);
    QString title() const;
    QString text() const;

private:
    QLabel* m_title;
    QLabel* m_text;
};

// The frame the box puts into a panel; its body holds the control's form.
class QPainter;

class ctrl_box_frame_c : public QFrame {
    Q_OBJECT
public:
    static constexpr int title_bar_height = 34;
    // Where a control's form lies inside the frame, from the frame's edges.
    static QMargins form_margins();
    // The frame's outline, fill and title divider at `size`, painted whole (not kept).
    static QPixmap background(const QSize& size, qreal ratio);
    // The same picture drawn at (0, 0) from a narrow one kept per height: the two ends
    // with the corners, and a piece of the middle laid side by side between them.
    static void paint_background(QPainter* painter, const QSize& size, qreal ratio);

    explicit ctrl_box_frame_c(QWidget* parent = nullptr);

    void set_icon(const QPixmap& pixmap);
    void set_title(const QString& text);
    void set_help(const QString& title, const QString& text);
    void set_favorite(bool on);
    void set_tool_tips(const QString& help, const QString& favourite, const QString& reset);
    void set_body(QWidget* form);

    QLabel* title_label() const { return m_title; }
    QLabel* icon_label() const { return m_icon; }
    QToolButton* help_button() const { return m_help_button; }
    QToolButton* favorite_button() const { return m_favorite_button; }
    QToolButton* reset_button() const { return m_reset_button; }
    QWidget* body() const { return m_body; }
    // The open help, or null.
    help_popover_c* help_popover() const { return m_popover; }

signals:
    // The user toggled the star or asked for a reset.
    void favorite_toggled(bool on);
    void reset_clicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void show_help();

    QLabel* m_icon;
    QLabel* m_title;
    QToolButton* m_help_button;
    QToolButton* m_favorite_button;
    QToolButton* m_reset_button;
    QWidget* m_body;
    QString m_help_title;
    QString m_help_text;
    QPointer<help_popover_c> m_popover;
};

class ctrl_box_c : public QObject, public ctrl_box_i {
    Q_OBJECT
public:
    // `context` gives the tool tips their texts; null leaves them empty.
    explicit ctrl_box_c(component_context_c* context = nullptr);
    ~ctrl_box_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    void set_client(interface_i* control) override;
    void box_reserved_3() override;
    void set_icon(const QString& path) override;
    void set_title(const QString& text) override;
    void set_help(const QString& title, const QString& text) override;
    void set_favorite_mark(bool on) override;
    void box_reserved_8() override;
    void box_reserved_9() override;
    void box_reserved_10() override;
    void set_height(int32_t height) override;
    void attach(QWidget* panel, QWidget* form) override;
    void detach() override;

    // The host's side.
    // An icon painted by the host, used when no image path is given.
    void set_icon_pixmap(const QPixmap& pixmap);
    ctrl_box_frame_c* frame() const { return m_frame; }
    interface_i* client() const { return m_client; }
    QString title() const { return m_title; }
    QString help_title() const { return m_help_title; }
    QString help_text() const { return m_help_text; }
    bool favorite_mark() const { return m_favorite; }
    int height() const { return m_height; }
    const call_journal_c& journal() const { return m_journal; }

private:
    void user_toggled_favorite(bool on);
    void user_reset();
    void apply_texts();
    void apply_height();
    QPixmap icon() const;
    // Takes the frame out of the panel; the form goes back to its owner, hidden.
    void take_down();

    QPointer<component_context_c> m_context;
    interface_i* m_client = nullptr;
    QString m_icon_path;
    QPixmap m_icon_pixmap;
    QString m_title;
    QString m_help_title;
    QString m_help_text;
    bool m_favorite = false;
    int m_height = 0;
    QPointer<ctrl_box_frame_c> m_frame;
    QPointer<QWidget> m_panel;
    QPointer<QWidget> m_form;
    // Where the form lived before it came into the frame; it goes back there.
    QPointer<QWidget> m_form_home;
    // The layout that lays the form over the frame's body, in the panel's grid cell.
    QPointer<QLayout> m_form_cell;
    // The panel's layout when the box made it; it goes with the box.
    QPointer<QLayout> m_panel_layout;
    call_journal_c m_journal;
    int m_in_user_action = 0;
};
