// One tile of the preset strip: a miniature of the preset's layout and its editable name.
#pragma once

#include "kernel/records.h"
#include "pages/form_base.h"
#include "ui_btn_preset_sub_fm.h"

#include <QFont>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

class btn_preset_fm_c;

class btn_preset_sub_fm_c : public QWidget, public form_base_c {
    Q_OBJECT

public:
    btn_preset_sub_fm_c(btn_preset_fm_c* panel, const btn_layout_rec& record, QWidget* parent);

    const btn_layout_rec& record() const { return m_record; }
    // Takes the record and shows it (name and miniature).
    void set_record(const btn_layout_rec& record);
    QString name() const;

    // A left release on the tile: it becomes the selected preset.
    void select();
    void set_selected(bool on);
    bool is_selected() const { return m_selected; }
    void set_hover(bool on);
    bool is_hovered() const { return m_hover; }
    // The name editor changed: at most 22 bytes of UTF-8; a longer text is refused.
    void rename(const QString& text);
    // "btn_del" clicked.
    void request_delete();
    void show_delete_button(bool on);
    bool delete_button_shown() const { return m_del && !m_del->isHidden(); }
    // The name editor and the delete button are made when first needed (the pointer over
    // the tile); until then the tile paints the name itself.
    QTextEdit* name_editor();
    QPushButton* delete_button();
    // The editor if it was made, else null: for steps that need no editor to exist.
    QTextEdit* made_name_editor() const { return m_editor; }
    // The font the name is shown in: the tile's font, smaller for a name that would not fit.
    const QFont& name_font() const { return m_name_font; }

    // The miniature of a layout value (64 x 48, rows of 16-pixel slots), as the tile paints it.
    static void paint_miniature(QPainter& p, const QPoint& origin, uint32_t layout, bool over);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void name_edited();
    void show_name();
    void paint_name(QPainter& p);
    // A long name gets a smaller font until it fits the editor (not below 9 pixels).
    void fit_name();
    void fonts_applied() override { fit_name(); }

    Ui::btn_preset_sub_fm m_ui;
    QPointer<QTextEdit> m_editor;
    QPointer<QPushButton> m_del;
    QFont m_name_font;
    // Whether the name fits its line in that font (a longer one starts at the left edge).
    bool m_name_fits = true;
    btn_preset_fm_c* m_panel;
    bool m_selected = false;
    bool m_hover = false;
    bool m_showing = false;
    btn_layout_rec m_record;
    QString m_shown_name;
};
