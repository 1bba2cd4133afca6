// The palette's standard colours and the zone colours a profile stores: shared
// by the palette, the lighting form and the effect tool.
#pragma once

#include "module/lighting_interfaces.h"

#include <QColor>
#include <array>

struct profile_settings_rec;

struct rgb_triple {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

// Standard colour k of the palette, k = 0..29.
inline constexpr std::array<rgb_triple, standard_color_count> standard_colors = {{
    {179, 0, 0},    {255, 0, 0},    {255, 71, 0},    {255, 106, 0},  {255, 157, 71}, {248, 232, 0},
    {246, 255, 78}, {201, 255, 78}, {165, 255, 78},  {132, 255, 78}, {0, 255, 0},    {0, 207, 55},
    {0, 166, 44},   {0, 207, 124},  {0, 207, 158},   {0, 203, 207},  {41, 197, 255}, {37, 162, 233},
    {99, 158, 239}, {37, 132, 233}, {0, 72, 255},    {15, 15, 255},  {15, 15, 188},  {89, 7, 255},
    {121, 12, 255}, {161, 12, 255}, {170, 108, 232}, {181, 10, 216}, {205, 10, 217}, {217, 10, 125},
}};

inline bool is_standard_index(int index) {
    return index >= 0 && index < standard_color_count;
}

// The index itself when it names a standard colour, otherwise the nearest one.
int nearest_standard_index(int index);

// The opaque standard colour of the index (the nearest one for an index past the table).
QColor standard_color(int index);

// The zone's colour as the profile stores it: its own RGB triple when the zone's RGB
// bit is set, otherwise the standard colour of its index. A stored index past the
// table is logged and shown as the nearest standard colour.
QColor stored_zone_color(const profile_settings_rec& settings, bool top);
