// What the two box forms share for their control: rereading the rows, the favourite check
// box and the enabled state.
#pragma once

#include "pages/form_base.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class btn_box_ctrl_funcs_c;
class picture_check_box_c;

// Puts `content` into `area` as its only, full-size item.
void fill_with(QWidget* area, QWidget* content);

class btn_box_fm_base_c : public QWidget, public form_base_c {
    Q_OBJECT

public:
    btn_box_fm_base_c(btn_box_ctrl_funcs_c* control, QWidget* parent);

    // Rereads everything the box shows from the current profile.
    virtual void reload() = 0;
    // Mirrors the control's favourite mark into "cb_favorite" without reporting it back.
    void show_favorite(bool on);

    btn_box_ctrl_funcs_c* control() const { return m_control; }

protected:
    // The form's "cb_favorite" (a star); toggling it marks the control as a favourite.
    void set_favorite_box(picture_check_box_c* box);
    // The panel whose left edge is the line between the box's two halves.
    void set_divider(QWidget* right) { m_divider = right; }

    // The box paints its own frame and divider: no style sheet over its widgets.
    void paintEvent(QPaintEvent* event) override;

private:
    btn_box_ctrl_funcs_c* m_control;
    QPointer<QCheckBox> m_favorite;
    QWidget* m_divider = nullptr;
};
