// The one visual language of the module's pictures: near-black and graphite
// surfaces, a single cool cyan accent, soft glows and crisp 1-pixel highlights.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace look {

// Surfaces, darkest first.
inline const QColor base{0x15, 0x17, 0x1a};
inline const QColor surface{0x1e, 0x21, 0x26};
inline const QColor raised{0x2a, 0x2e, 0x35};
inline const QColor edge{0x36, 0x3b, 0x43};
inline const QColor pit{0x0c, 0x0d, 0x0f};

// Line work: labels and inactive strokes, from dim to bright.
inline const QColor ink_disabled{0x3d, 0x42, 0x4a};
inline const QColor ink_dim{0x6b, 0x72, 0x7b};
inline const QColor ink{0xa7, 0xad, 0xb5};
inline const QColor ink_bright{0xe6, 0xf8, 0xff};

// The accent and its softened form for resting states.
inline const QColor accent{0x2b, 0xd1, 0xff};
inline const QColor accent_soft{0x5b, 0xbf, 0xdc};
inline const QColor accent_deep{0x0e, 0x5a, 0x73};

QColor with_alpha(QColor colour, int alpha);
// Linear blend: t = 0 gives a, t = 1 gives b.
QColor mix(const QColor& a, const QColor& b, qreal t);

QPainterPath rounded(const QRectF& rect, qreal radius);

// A soft halo around a path, built from widening translucent strokes.
void glow(QPainter& painter, const QPainterPath& path, const QColor& colour, qreal reach,
          int steps = 6);
// A halo that grows outwards from a filled shape only (the shape itself is not stroked).
void outer_glow(QPainter& painter, const QPainterPath& shape, const QColor& colour, qreal reach,
                int steps = 6);

// A raised rounded plate: vertical gradient, 1-px dark rim, 1-px top highlight.
void plate(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top,
           const QColor& bottom, const QColor& rim, int highlight_alpha);

// A recessed field: dark fill, inner top shadow and a faint bottom highlight.
void well(QPainter& painter, const QRectF& rect, qreal radius, const QColor& fill,
          const QColor& rim);

// Pens for line icons: round caps and joins.
QPen line_pen(const QColor& colour, qreal width);

} // namespace look

namespace look {
// A five-pointed star, point up.
QPainterPath star(const QPointF& centre, qreal outer, qreal inner);
} // namespace look
