#include "host/components/component_texts.h"

#include <QHash>

namespace component_texts {

QString fallback(int32_t id) {
    static const QHash<int32_t, const char*> texts = {
        {component_text::sensitivity_title, "SENSITIVITY"},
        {component_text::sensitivity_help,
         "Scales how far the pointer travels for each movement of the mouse, on top of the DPI "
         "step in use."},
        {component_text::pointer_title, "POINTER SPEED"},
        {component_text::pointer_help,
         "The system's pointer speed for every mouse. Pointer precision speeds the pointer up "
         "on fast movements."},
        {component_text::pointer_precision, "Enhance pointer precision"},
        {component_text::pointer_snap, "Jump to the default button in dialogs"},
        {component_text::v_scroll_title, "VERTICAL SCROLL SPEED"},
        {component_text::v_scroll_help,
         "How many lines one notch of the wheel scrolls, or a whole screen at a time."},
        {component_text::v_scroll_by_page, "Scroll one screen at a time"},
        {component_text::h_scroll_title, "HORIZONTAL SCROLL SPEED"},
        {component_text::h_scroll_help,
         "How many characters one sideways tilt of the wheel scrolls."},
        {component_text::double_click_title, "DOUBLE-CLICK SPEED"},
        {component_text::double_click_help,
         "How quickly two clicks must follow each other to count as a double-click. Try it on "
         "the folder."},
        {component_text::double_click_test, "Double-click the folder to try the speed"},
        {component_text::slow, "SLOW"},
        {component_text::fast, "FAST"},
        {component_text::low, "LOW"},
        {component_text::high, "HIGH"},
        {component_text::box_help, "Help"},
        {component_text::box_favorite, "Show on the favorites page"},
        {component_text::box_reset, "Reset to default"},
    };
    const char* text = texts.value(id);
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace component_texts
