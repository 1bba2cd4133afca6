// The top-button control (type 8): its box shows the mouse from above with the eight
// button markers and the rows of the top buttons on both layers.
#pragma once

#include "buttons/btn_box_ctrl_funcs.h"

class top_btn_assignment_ctrl_funcs_c final : public btn_box_ctrl_funcs_c {
public:
    explicit top_btn_assignment_ctrl_funcs_c(btn_assignment_c* page)
        : btn_box_ctrl_funcs_c(page) {}

    int32_t ctrl_type() override { return ctrl_type::top_button_assignment; }

protected:
    btn_box_fm_base_c* make_form(QWidget* panel) override;
};
