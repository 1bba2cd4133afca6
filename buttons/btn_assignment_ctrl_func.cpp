#include "buttons/btn_assignment_ctrl_func.h"

#include "button_sets/jigsawparent1.h"
#include "buttons/btn_assignment_box_fm.h"

btn_box_fm_base_c* btn_assignment_ctrl_func_c::make_form(QWidget* panel) {
    if (!m_cap_images)
        m_cap_images = jigsawparent1::cap_images();
    return new btn_assignment_box_fm_c(this, panel);
}
