#include "buttons/btn_assignment_fm.h"

#include "buttons/btn_assignment.h"
#include "common/utilities.h"
#include "pages/tab_page_fm_base.h"

btn_assignment_fm_c::btn_assignment_fm_c(btn_assignment_c* page, QWidget* parent)
    : QWidget(parent)
    , m_page(page) {
    m_ui.setupUi(this);
    place_in_parent_grid(this);
    if (ctrl_funcs_i* side = page->ctrl_funcs(ctrl_type::button_assignment))
        side->create_box(m_ui.wg_btn_set);
    if (ctrl_funcs_i* top = page->ctrl_funcs(ctrl_type::top_button_assignment))
        top->create_box(m_ui.wg_top_btn_set);
    add_drop_shadow(m_ui.wg_btn_set);
    add_drop_shadow(m_ui.wg_top_btn_set);
    // The host's page area scrolls: it must be as tall as both boxes.
    const int height = layout()->minimumSize().height();
    setMinimumHeight(height);
    if (parentWidget())
        parentWidget()->setMinimumHeight(height);
    show();
}

btn_assignment_fm_c::~btn_assignment_fm_c() = default;

void btn_assignment_fm_c::close_boxes() {
    if (ctrl_funcs_i* side = m_page->ctrl_funcs(ctrl_type::button_assignment))
        side->close_box();
    if (ctrl_funcs_i* top = m_page->ctrl_funcs(ctrl_type::top_button_assignment))
        top->close_box();
}
