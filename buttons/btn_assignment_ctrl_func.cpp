#include "buttons/btn_assignment_ctrl_func.h"

#include "button_sets/jigsawparent1.h"
#include "buttons/btn_assignment_box_fm.h"

btn_box_fm_base_c* btn_assignment_ctrl_func_c::make_form(QWidget* panel) {
    if (!m_cap_images) {
        product_kernel_i* k = kernel();
        m_cap_images =
            jigsawparent1::cap_images(k ? k->product_type() : int32_t(product_type::black));
    }
    return new btn_assignment_box_fm_c(this, panel);
}
