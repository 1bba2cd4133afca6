// The mouse seen from above, in its own units: 100 wide, 160 long, front at
// the top. Every picture of the mouse (top views, the lighting picture, its LED
// masks, the underside) is painted from these shapes, so they line up.
#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QTransform>

class QPainter;

namespace mouse {

enum class edition { black, white };

inline constexpr qreal width_units = 100;
inline constexpr qreal length_units = 160;

QPainterPath outline();
// Seams between the shell parts (open strokes).
QPainterPath seams();
QRectF wheel_well();
QRectF wheel();
QPainterPath alter_button();
QPainterPath thumb_button(int which); // 0 front, 1 rear
// The emblem on the palm, the top light zone.
QPainterPath logo();
// The centre line of the light pipe along the rear edge, the bottom light zone.
QPainterPath light_pipe_curve();
// The light pipe as a band of the given width (units).
QPainterPath light_pipe(qreal width);

// Maps units to pixels: the whole mouse centred in an image, margin pixels free.
QTransform fit(const QSizeF& image, qreal margin);

enum class lit { none, soft };
// The top view. With lit::soft the logo and light pipe glow faintly in the accent.
void paint_top(QPainter& painter, const QTransform& units_to_pixels, edition look, lit zones);

} // namespace mouse
