// Ids of the texts of the host's own components (control box, value controls).
// They live in the host's text table (host/texts.cpp) beside the window's own
// texts, in a block of their own.
#pragma once

#include <cstdint>

namespace component_text {
enum : int32_t {
    first = 10500,
    sensitivity_title = first,
    sensitivity_help,
    pointer_title,
    pointer_help,
    pointer_precision,
    pointer_snap,
    v_scroll_title,
    v_scroll_help,
    v_scroll_by_page,
    h_scroll_title,
    h_scroll_help,
    double_click_title,
    double_click_help,
    double_click_test,
    slow,
    fast,
    low,
    high,
    box_help,
    box_favorite,
    box_reset,
    last = box_reset,
};
} // namespace component_text
