// The palette's standard colours and the zone colours a profile stores: shared
// by the palette, the lighting form and the effect tool.
#pragma once

#include "module/lighting_interfaces.h"

#include <QColor>

struct profile_settings_rec;

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
