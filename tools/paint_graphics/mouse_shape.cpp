#include "mouse_shape.h"
#include "style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRadialGradient>

namespace mouse {

QPainterPath outline() {
    QPainterPath p;
    p.moveTo(50, 3);
    p.cubicTo(65, 2, 78, 6, 84.5, 16);    // front right
    p.cubicTo(90.5, 28, 93, 46, 94, 62);  // right flank
    p.cubicTo(96, 84, 98, 104, 95, 124);  // palm widens
    p.cubicTo(92, 144, 76, 157, 52, 158); // rear right
    p.cubicTo(30, 159, 14, 150, 9, 132);  // rear left
    p.cubicTo(5, 116, 2, 100, 4, 86);     // thumb flank with the side panel
    p.cubicTo(6, 70, 10, 58, 12, 44);
    p.cubicTo(13.5, 26, 19, 10, 33, 5); // front left
    p.cubicTo(38, 3, 44, 3, 50, 3);
    p.closeSubpath();
    return p;
}

QRectF wheel_well() {
    return {42.5, 12.5, 15, 33};
}
QRectF wheel() {
    return {45.3, 15.2, 9.4, 27.6};
}

QPainterPath alter_button() {
    QPainterPath p;
    p.addRoundedRect(QRectF(44.5, 49.5, 11, 9), 3, 3);
    return p;
}

QPainterPath thumb_button(int which) {
    QPainterPath p;
    p.addRoundedRect(QRectF(-3.2, -6.6, 6.4, 13.2), 3.2, 3.2);
    QTransform t;
    t.translate(which == 0 ? 20.6 : 19.4, which == 0 ? 25.5 : 40.8);
    t.rotate(-7);
    return t.map(p);
}

QPainterPath seams() {
    QPainterPath p;
    // The split between the two main buttons, broken by the wheel and the Alter-Key button.
    p.moveTo(50, 3.5);
    p.lineTo(50, 12.5);
    p.moveTo(50, 45.5);
    p.lineTo(50, 49.5);
    p.moveTo(50, 58.5);
    p.lineTo(50, 67.8);
    // Rear edge of the main buttons.
    p.moveTo(8.5, 60);
    p.cubicTo(26, 70, 74, 70, 93.5, 60);
    return p;
}

QPainterPath logo() {
    QPainterPath feather;
    feather.moveTo(0, -15);
    feather.cubicTo(8.5, -8, 8, 6, 0, 15);
    feather.cubicTo(-8, 6, -8.5, -8, 0, -15);
    feather.closeSubpath();

    QPainterPathStroker thin;
    thin.setCapStyle(Qt::RoundCap);
    thin.setWidth(1.5);
    QPainterPath shaft;
    shaft.moveTo(0, -10);
    shaft.lineTo(0, 16);
    QPainterPath barbs;
    barbs.moveTo(0.5, -3);
    barbs.lineTo(6.5, -8.5);
    barbs.moveTo(-0.5, 5);
    barbs.lineTo(-6.5, -0.5);
    barbs.moveTo(0.5, 9);
    barbs.lineTo(5.5, 5.5);
    QPainterPath cuts = thin.createStroke(shaft);
    thin.setWidth(1.1);
    cuts.addPath(thin.createStroke(barbs));

    QPainterPath quill = feather.subtracted(cuts.simplified());
    QPainterPath tail;
    tail.moveTo(0, 14);
    tail.lineTo(0, 20);
    thin.setWidth(1.6);
    quill = quill.united(thin.createStroke(tail));

    QTransform t;
    t.translate(51, 108);
    t.rotate(-28);
    return t.map(quill);
}

QPainterPath light_pipe_curve() {
    QPainterPath p;
    p.moveTo(11.5, 126);
    p.cubicTo(15, 158, 85, 159, 91.5, 124);
    return p;
}

QPainterPath light_pipe(qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(light_pipe_curve()).simplified();
}

QTransform fit(const QSizeF& image, qreal margin) {
    const qreal scale = qMin((image.width() - 2 * margin) / width_units,
                             (image.height() - 2 * margin) / length_units);
    QTransform t;
    t.translate((image.width() - width_units * scale) / 2,
                (image.height() - length_units * scale) / 2);
    t.scale(scale, scale);
    return t;
}

namespace {

struct shell_colours {
    QColor centre, middle, rim;
    QColor seam, seam_light;
    QColor plate_top, plate_bottom, plate_rim;
    QColor well, wheel_edge, wheel_centre;
    QColor panel, panel_light;
    QColor zone, zone_rim;
    int sheen;
};

shell_colours colours_of(edition e) {
    if (e == edition::black) {
        return {QColor(0x34, 0x38, 0x3f),  QColor(0x1d, 0x20, 0x24),
                QColor(0x0d, 0x0e, 0x10),  QColor(0x04, 0x05, 0x06),
                QColor(255, 255, 255, 26), QColor(0x30, 0x34, 0x3b),
                QColor(0x18, 0x1a, 0x1e),  QColor(0x05, 0x06, 0x07),
                QColor(0x05, 0x06, 0x07),  QColor(0x0e, 0x0f, 0x11),
                QColor(0x3c, 0x41, 0x48),  QColor(0x0a, 0x0b, 0x0d),
                QColor(255, 255, 255, 20), QColor(0x2b, 0x2f, 0x35),
                QColor(0x45, 0x4a, 0x52),  22};
    }
    return {QColor(0xff, 0xff, 0xff),   QColor(0xec, 0xee, 0xf1),
            QColor(0xbd, 0xc2, 0xc9),   QColor(0x8e, 0x94, 0x9c),
            QColor(255, 255, 255, 210), QColor(0xfb, 0xfc, 0xfd),
            QColor(0xd5, 0xd9, 0xde),   QColor(0x9a, 0xa0, 0xa8),
            QColor(0x4a, 0x4e, 0x55),   QColor(0x24, 0x27, 0x2b),
            QColor(0x5e, 0x63, 0x6b),   QColor(0x5a, 0x60, 0x68),
            QColor(255, 255, 255, 60),  QColor(0xd9, 0xdc, 0xe1),
            QColor(0xa3, 0xa9, 0xb1),   80};
}

void small_plate(QPainter& p, const QPainterPath& shape, const shell_colours& c, qreal px) {
    const QRectF r = shape.boundingRect();
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, c.plate_top);
    fill.setColorAt(1, c.plate_bottom);
    p.setPen(QPen(c.plate_rim, 1.1 * px));
    p.setBrush(fill);
    p.drawPath(shape);
    p.setPen(QPen(c.seam_light, px));
    p.setBrush(Qt::NoBrush);
    p.drawPath(QTransform::fromTranslate(0, px).map(shape).intersected(shape));
}

} // namespace

void paint_top(QPainter& p, const QTransform& t, edition e, lit zones) {
    const shell_colours c = colours_of(e);
    const qreal px = 1.0 / t.m11(); // one pixel in units
    const QPainterPath body = outline();

    p.save();
    // Shadow on the desk, in pixels so that its softness does not depend on the scale.
    look::outer_glow(p, QTransform::fromTranslate(0, 3).map(t.map(body)), QColor(0, 0, 0, 190),
                     qMax(4.0, 0.05 * t.m11() * 100), 6);
    p.setTransform(t, true);

    QRadialGradient shell(QPointF(40, 92), 92, QPointF(36, 84));
    shell.setColorAt(0, c.centre);
    shell.setColorAt(0.55, c.middle);
    shell.setColorAt(1, c.rim);
    p.setPen(Qt::NoPen);
    p.setBrush(shell);
    p.drawPath(body);

    p.setClipPath(body);
    // Light from the upper left: the right flank falls off.
    QLinearGradient side(0, 0, 100, 0);
    side.setColorAt(0, QColor(255, 255, 255, e == edition::black ? 10 : 30));
    side.setColorAt(0.6, QColor(0, 0, 0, 0));
    side.setColorAt(1, QColor(0, 0, 0, e == edition::black ? 70 : 40));
    p.fillRect(QRectF(0, 0, 100, 160), side);
    // Gloss on the buttons.
    QLinearGradient gloss(0, 3, 0, 68);
    gloss.setColorAt(0, QColor(255, 255, 255, c.sheen));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, 100, 68), gloss);
    // Palm highlight.
    QRadialGradient palm(QPointF(38, 98), 26);
    palm.setColorAt(0, QColor(255, 255, 255, c.sheen));
    palm.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 60, 100, 100), palm);

    // The side panel's top edge along the thumb flank.
    QPainterPath panel_edge;
    panel_edge.moveTo(8, 69);
    panel_edge.cubicTo(3.8, 88, 3.6, 108, 9.8, 127);
    QPainterPathStroker wide;
    wide.setWidth(5.5);
    wide.setCapStyle(Qt::RoundCap);
    const QPainterPath panel = wide.createStroke(panel_edge).intersected(body);
    p.setBrush(c.panel);
    p.setPen(Qt::NoPen);
    p.drawPath(panel);
    p.setPen(QPen(c.panel_light, px));
    for (qreal y : {84.0, 104.0}) {
        p.drawLine(QPointF(3, y), QPointF(8.5, y - 0.5));
    }
    p.setClipping(false);

    // Seams, each with a fine highlight on its lower side.
    const QPainterPath seam_lines = seams();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c.seam_light, px, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(QTransform::fromTranslate(px, px).map(seam_lines));
    p.setPen(QPen(c.seam, 1.3 * px, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(seam_lines);

    // Wheel: a dark well, a rubber wheel with ribs and a fine accent line.
    p.setPen(QPen(c.seam, 1.2 * px));
    p.setBrush(c.well);
    p.drawRoundedRect(wheel_well(), 7.5, 7.5);
    const QRectF w = wheel();
    QLinearGradient rubber(w.topLeft(), w.topRight());
    rubber.setColorAt(0, c.wheel_edge);
    rubber.setColorAt(0.5, c.wheel_centre);
    rubber.setColorAt(1, c.wheel_edge);
    p.setPen(Qt::NoPen);
    p.setBrush(rubber);
    p.drawRoundedRect(w, 4.7, 4.7);
    p.save();
    QPainterPath wheel_shape;
    wheel_shape.addRoundedRect(w, 4.7, 4.7);
    p.setClipPath(wheel_shape);
    p.setPen(QPen(QColor(0, 0, 0, 110), 0.7));
    for (qreal y = w.top() + 1.2; y < w.bottom(); y += 2.1)
        p.drawLine(QPointF(w.left(), y), QPointF(w.right(), y));
    QLinearGradient shade(w.topLeft(), w.bottomLeft());
    shade.setColorAt(0, QColor(0, 0, 0, 120));
    shade.setColorAt(0.3, QColor(0, 0, 0, 0));
    shade.setColorAt(0.7, QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 140));
    p.fillRect(w, shade);
    p.restore();
    p.setPen(QPen(look::with_alpha(look::accent, 110), 0.9 * px));
    p.drawLine(QPointF(w.center().x(), w.top() + 3), QPointF(w.center().x(), w.bottom() - 3));

    small_plate(p, alter_button(), c, px);
    small_plate(p, thumb_button(0), c, px);
    small_plate(p, thumb_button(1), c, px);

    // The two light zones, unlit or softly lit.
    const QPainterPath emblem = logo();
    const QPainterPath pipe = light_pipe(3.6);
    for (const QPainterPath* zone : {&emblem, &pipe}) {
        if (zones == lit::soft) {
            look::glow(p, *zone, look::with_alpha(look::accent, 120), 2.4, 4);
            p.setPen(QPen(look::with_alpha(look::ink_bright, 200), 0.8 * px));
            p.setBrush(look::mix(look::accent, QColor(0xff, 0xff, 0xff), 0.25));
        } else {
            p.setPen(QPen(c.zone_rim, px));
            p.setBrush(c.zone);
        }
        p.drawPath(*zone);
    }

    // Rim light along the outline.
    QLinearGradient rim(0, 0, 100, 160);
    rim.setColorAt(0, QColor(255, 255, 255, e == edition::black ? 60 : 200));
    rim.setColorAt(0.5, QColor(255, 255, 255, e == edition::black ? 14 : 90));
    rim.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(Qt::NoBrush);
    p.save();
    p.setClipPath(body); // only the inner half of the stroke: a highlight inside the edge
    p.setPen(QPen(QBrush(rim), 2.4 * px));
    p.drawPath(body);
    p.restore();
    p.setPen(
        QPen(e == edition::black ? QColor(0, 0, 0, 200) : QColor(0x8a, 0x90, 0x98, 200), 0.8 * px));
    p.drawPath(body);
    p.restore();
}

} // namespace mouse
