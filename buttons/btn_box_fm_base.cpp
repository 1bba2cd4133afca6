#include "buttons/btn_box_fm_base.h"

#include "buttons/btn_box_ctrl_funcs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QSignalBlocker>
#include <QStyle>

void fill_with(QWidget* area, QWidget* content) {
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(content, 0, 0);
}

void btn_box_fm_base_c::restyle_changed(QWidget* w) {
    if (!w || !w->testAttribute(Qt::WA_WState_Polished))
        return;
    w->style()->unpolish(w);
    w->style()->polish(w);
    w->update();
}

btn_box_fm_base_c::btn_box_fm_base_c(btn_box_ctrl_funcs_c* control, QWidget* parent)
    : QWidget(parent)
    , m_control(control) {}

void btn_box_fm_base_c::set_favorite_box(QCheckBox* box) {
    m_favorite = box;
    if (!box)
        return;
    connect(box, &QCheckBox::toggled, this, [this](bool on) {
        if (m_control)
            m_control->set_favorite_later(on);
    });
}

void btn_box_fm_base_c::show_favorite(bool on) {
    if (!m_favorite)
        return;
    const QSignalBlocker quiet(m_favorite.data());
    m_favorite->setChecked(on);
}
