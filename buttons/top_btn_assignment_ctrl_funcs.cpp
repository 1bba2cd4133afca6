#include "buttons/top_btn_assignment_ctrl_funcs.h"

#include "buttons/top_btn_assignment_box_fm.h"

btn_box_fm_base_c* top_btn_assignment_ctrl_funcs_c::make_form(QWidget* panel) {
    return new top_btn_assignment_box_fm_c(this, panel);
}
