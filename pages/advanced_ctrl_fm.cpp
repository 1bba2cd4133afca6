#include "pages/advanced_ctrl_fm.h"

#include "pages/advanced_ctrl.h"

advanced_ctrl_fm_c::advanced_ctrl_fm_c(advanced_ctrl_c* page, QWidget* parent)
    : QWidget(parent)
    , m_page(page) {
    m_ui.setupUi(this);
    place_in_parent_grid(this);

    // The order of the list is the order of the layout.
    add_panel(page, ctrl_type::adv_sensitivity, m_ui.wg_adv_sen);
    add_panel(page, ctrl_type::lighting, m_ui.wg_lighting_ctr);
    add_panel(page, ctrl_type::surf_lift, m_ui.wg_surf_lift);
    add_panel(page, ctrl_type::sound_feedback, m_ui.wg_sound);
    add_panel(page, ctrl_type::polling_rate, m_ui.wg_polling_rate);
    add_panel(page, ctrl_type::device_reset, m_ui.wg_reset);
    schedule_layout(this);
    shadow_panels();
    show();
}

advanced_ctrl_fm_c::~advanced_ctrl_fm_c() = default;

void advanced_ctrl_fm_c::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout_on_resize(this);
}
