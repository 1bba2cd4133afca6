#include "lighting/lighting_colors.h"

#include "common/log.h"
#include "kernel/records.h"

#include <algorithm>

int nearest_standard_index(int index) {
    return std::clamp(index, 0, standard_color_count - 1);
}

QColor standard_color(int index) {
    const rgb_triple& c = standard_colors[std::size_t(nearest_standard_index(index))];
    return QColor(c.r, c.g, c.b);
}

QColor stored_zone_color(const profile_settings_rec& settings, bool top) {
    const uint8_t flags = settings.b[lighting_byte::flags];
    if (flags & (top ? lighting_flag::top_rgb : lighting_flag::bottom_rgb)) {
        const int at = top ? lighting_byte::top_rgb : lighting_byte::bottom_rgb;
        return QColor(settings.b[at], settings.b[at + 1], settings.b[at + 2]);
    }
    const int index = settings.b[top ? lighting_byte::top_index : lighting_byte::bottom_index];
    if (!is_standard_index(index)) {
        write_log(QStringLiteral("Lighting: the %1 zone's palette index %2 is not one of the %3 "
                                 "standard colours; it is shown as colour %4")
                      .arg(top ? QStringLiteral("top") : QStringLiteral("bottom"))
                      .arg(index)
                      .arg(standard_color_count)
                      .arg(nearest_standard_index(index)));
    }
    return standard_color(index);
}
