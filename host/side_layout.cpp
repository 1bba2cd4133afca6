#include "host/side_layout.h"

namespace side_layout {

layout_t decode(uint8_t byte27, uint8_t byte28, uint8_t byte29) {
    layout_t layout;
    const unsigned fitted = unsigned(byte27) | (unsigned(byte28 & 0x0F) << 8);
    const unsigned pairs = byte29 & 0x3F;
    layout.corrected = (byte28 & 0xF0) != 0 || (byte29 & 0xC0) != 0;
    for (int s = 0; s < 12; ++s)
        layout.caps[std::size_t(s)] = (fitted >> s) & 1 ? cap_t::single : cap_t::blank;
    // A pair bit makes both positions one double cap, as the panel's editor
    // reads it; without both fitted bits the bytes were not a real panel.
    for (int p = 0; p < 6; ++p) {
        if (!((pairs >> p) & 1))
            continue;
        const unsigned both = 3u << (2 * p);
        if ((fitted & both) != both)
            layout.corrected = true;
        layout.caps[std::size_t(2 * p)] = cap_t::double_first;
        layout.caps[std::size_t(2 * p + 1)] = cap_t::double_second;
    }
    return layout;
}

} // namespace side_layout
