// The side-button control (type 7): its box holds the side-panel editor, the button-set
// presets and the rows of the twelve side positions on both layers.
#pragma once

#include "buttons/btn_box_ctrl_funcs.h"

#include <memory>

class btn_assignment_ctrl_func_c final : public btn_box_ctrl_funcs_c {
public:
    explicit btn_assignment_ctrl_func_c(btn_assignment_c* page)
        : btn_box_ctrl_funcs_c(page) {}

    int32_t ctrl_type() override { return ctrl_type::button_assignment; }

protected:
    btn_box_fm_base_c* make_form(QWidget* panel) override;

private:
    // The editor's cap images, loaded with the first box and kept for every later one.
    std::shared_ptr<const void> m_cap_images;
};
