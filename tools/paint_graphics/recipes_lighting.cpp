// Lighting pictures: the colour palette's backgrounds and the per-profile LED
// preview overlays.
#include "mouse_shape.h"
#include "recipes.h"
#include "style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRadialGradient>

namespace {

// The thirty standard colours, in index order.
const QRgb standard_colours[30] = {
    qRgb(179, 0, 0),    qRgb(255, 0, 0),    qRgb(255, 71, 0),    qRgb(255, 106, 0),
    qRgb(255, 157, 71), qRgb(248, 232, 0),  qRgb(246, 255, 78),  qRgb(201, 255, 78),
    qRgb(165, 255, 78), qRgb(132, 255, 78), qRgb(0, 255, 0),     qRgb(0, 207, 55),
    qRgb(0, 166, 44),   qRgb(0, 207, 124),  qRgb(0, 207, 158),   qRgb(0, 203, 207),
    qRgb(41, 197, 255), qRgb(37, 162, 233), qRgb(99, 158, 239),  qRgb(37, 132, 233),
    qRgb(0, 72, 255),   qRgb(15, 15, 255),  qRgb(15, 15, 188),   qRgb(89, 7, 255),
    qRgb(121, 12, 255), qRgb(161, 12, 255), qRgb(170, 108, 232), qRgb(181, 10, 216),
    qRgb(205, 10, 217), qRgb(217, 10, 125)};

constexpr int swatch = 22;
constexpr int pitch = 26;

// Picked pixel by pixel: hue runs left to right, lighter above the middle
// line, darker below. The 1-pixel dark border is outside the pickable area.
void gradient_bar(QPainter& p, const QSize& size, recipe_args&) {
    const int w = size.width();
    const int h = size.height();
    QImage bar(size, QImage::Format_RGB32);
    const qreal middle = (h - 1) / 2.0;
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(bar.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const qreal hue = qreal(x) / qMax(1, w - 1) * 0.9999;
            qreal saturation = 1;
            qreal value = 1;
            if (y < middle)
                saturation = y / middle;
            else
                value = 1 - 0.85 * (y - middle) / middle;
            line[x] = QColor::fromHsvF(hue, saturation, value).rgb();
        }
    }
    p.drawImage(0, 0, bar);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x0b, 0x0c, 0x0e));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, w - 1, h - 1);
}

void draw_swatch(QPainter& p, const QRectF& r, const QColor& colour) {
    p.setPen(QPen(QColor(0, 0, 0, 150), 1));
    p.setBrush(colour);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawLine(QPointF(r.left() + 3, r.top() + 1.5), QPointF(r.right() - 3, r.top() + 1.5));
}

// Standard colour k sits at (26 * (k % 10), 26 * (k / 10)), 22 x 22.
void standard_colors(QPainter& p, const QSize&, recipe_args&) {
    for (int k = 0; k < 30; ++k)
        draw_swatch(p, QRectF(pitch * (k % 10), pitch * (k / 10), swatch, swatch),
                    QColor(standard_colours[k]));
}

// Empty custom boxes, four a row, at the places where the palette paints its entries.
void custom_colors(QPainter& p, const QSize&, recipe_args&) {
    for (int k = 0; k < 12; ++k) {
        const QRectF r(pitch * (k % 4), pitch * (k / 4), swatch, swatch);
        look::well(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 3, QColor(0x0e, 0x0f, 0x11),
                   QColor(0x30, 0x34, 0x3b));
        p.setPen(QPen(QColor(0x3d, 0x42, 0x4a), 1.2, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = r.center();
        p.drawLine(c + QPointF(-3.5, 0), c + QPointF(3.5, 0));
        p.drawLine(c + QPointF(0, -3.5), c + QPointF(0, 3.5));
    }
}

// The LED preview of a profile slot: two stacked overlays forming one small
// mouse over two colour fields. The overlays are opaque box surface except
// for a hole where the zone's colour shows: the emblem on top, the light pipe
// below.
constexpr qreal overlay_top_height = 40;

QTransform overlay_mouse(qreal width) {
    QTransform t;
    t.translate((width - 34) / 2, 1.5);
    t.scale(0.34, 0.335);
    return t;
}

QPainterPath overlay_emblem(qreal width) {
    QTransform t;
    t.translate(width / 2, 23);
    t.scale(0.62, 0.62);
    t.translate(-51, -108);
    return t.map(mouse::logo());
}

QPainterPath overlay_pipe(qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(3.2);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(overlay_mouse(width).map(mouse::light_pipe_curve()));
}

void profile_overlay(QPainter& p, const QSize& size, recipe_args& args) {
    const bool top =
        args.choice(QStringLiteral("zone"), {QStringLiteral("top"), QStringLiteral("bottom")}) ==
        QLatin1String("top");
    const bool active = args.number(QStringLiteral("active"), 0, 1) == 1;
    const qreal w = size.width();
    if (!top)
        p.translate(0, -overlay_top_height);

    const QPainterPath body = overlay_mouse(w).map(mouse::outline());
    const QPainterPath hole = top ? overlay_emblem(w) : overlay_pipe(w);

    QPainterPath all;
    all.addRect(QRectF(-1, -1, w + 2, overlay_top_height + size.height() + 2));
    p.setPen(Qt::NoPen);
    p.setBrush(look::surface);
    p.drawPath(all.subtracted(hole));

    QRadialGradient shell(QPointF(w / 2 - 4, 24), 34);
    shell.setColorAt(0, active ? QColor(0x3a, 0x3f, 0x46) : QColor(0x2a, 0x2d, 0x32));
    shell.setColorAt(1, active ? QColor(0x14, 0x16, 0x19) : QColor(0x19, 0x1b, 0x1e));
    p.setBrush(shell);
    p.setPen(QPen(active ? QColor(0x4a, 0x50, 0x58) : QColor(0x30, 0x34, 0x3a), 1));
    p.drawPath(body.subtracted(hole));
    if (active) {
        // A crisp rim round the hole, so the colour reads as light behind the shell.
        p.setPen(QPen(QColor(255, 255, 255, 90), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(hole);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3a, 0x3e, 0x45, 235));
        p.drawPath(hole);
    }
}

} // namespace

void add_lighting_recipes(recipe_table& table) {
    table.insert(QStringLiteral("gradient_bar"), gradient_bar);
    table.insert(QStringLiteral("standard_colors"), standard_colors);
    table.insert(QStringLiteral("custom_colors"), custom_colors);
    table.insert(QStringLiteral("profile_overlay"), profile_overlay);
}
