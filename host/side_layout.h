// The side panel's twelve positions as the three layout bytes of a button-set
// record describe them (bytes 27..29: fitted bits of positions 1..12, then
// the double bits of the six pairs), read the way the panel's editor reads
// them, for the host's views of the device and of the presets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace side_layout {

enum class cap_t { blank, single, double_first, double_second };

struct layout_t {
    std::array<cap_t, 12> caps{};
    // The bytes held something no panel can be (a double whose partner is not
    // fitted, bits beyond the twelve positions); `caps` is the nearest valid layout.
    bool corrected = false;
};

layout_t decode(uint8_t byte27, uint8_t byte28, uint8_t byte29);
// The same from the 24-bit value with byte 27 lowest.
inline layout_t decode(uint32_t value) {
    return decode(uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16));
}

} // namespace side_layout
