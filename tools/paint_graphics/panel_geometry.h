// Geometry of the side-panel editor's canvas (507 x 175): where each of the
// twelve slots is hit, and where the 164 x 124 button overlays are laid.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>

namespace panel {

inline constexpr QSize canvas{507, 175};
inline constexpr QPointF overlay_origin{212, 36};
inline constexpr QSize overlay{164, 124};

// Hit rectangle of slot 1..12 in canvas coordinates (the form's placeholder labels).
QRectF hit_rect(int slot);

// A key cap laid along its row: centre and size in canvas coordinates, tilt in
// degrees (the rows of the panel fall slightly from left to right).
struct cap_place {
    QPointF centre;
    qreal length = 0;
    qreal height = 0;
    qreal angle = 0;
};

cap_place single_place(int slot); // slot 1..12
cap_place double_place(int pair); // pair 1..6: slots 2p-1 and 2p
cap_place quad_place(int row);    // row 1..3: slots 4r-3..4r

} // namespace panel
