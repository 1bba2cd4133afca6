#include "pages/main_ctrl_fm.h"

#include "pages/main_ctrl.h"

main_ctrl_fm_c::main_ctrl_fm_c(main_ctrl_c* page, QWidget* parent)
    : QWidget(parent)
    , m_page(page) {
    m_ui.setupUi(this);

    // The form follows the width of the host's page area; the layout gives it its height.
    place_in_parent_grid(this);

    // The order of the list is the order of the layout.
    add_panel(page, ctrl_type::sensitivity, m_ui.wg_sen);
    add_panel(page, ctrl_type::dpi_switcher, m_ui.wg_dpi);
    add_panel(page, ctrl_type::v_scroll, m_ui.wg_v_scroll);
    add_panel(page, ctrl_type::h_scroll, m_ui.wg_h_scroll);
    add_panel(page, ctrl_type::double_click, m_ui.wg_db_click);
    add_panel(page, ctrl_type::pointer_speed, m_ui.wg_pointer);
    schedule_layout(this);
    shadow_panels();
    show();
}

main_ctrl_fm_c::~main_ctrl_fm_c() = default;

void main_ctrl_fm_c::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout_on_resize(this);
}
