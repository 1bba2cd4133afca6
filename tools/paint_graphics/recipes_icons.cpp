// Line icons on a 24-unit grid: the function catalogue, the control boxes and
// the tool buttons. One stroke weight, round ends, one accent.
#include "recipes.h"
#include "style.h"

#include <QPainter>
#include <QtMath>

namespace {

// An icon is drawn as strokes plus a few solid parts (dots, heads, a tip).
struct glyph {
    QPainterPath stroke;
    QPainterPath solid;
};

// Point on a circle; angles in degrees, counter-clockwise, 0 to the right (y grows down).
QPointF on_circle(const QPointF& c, qreal r, qreal degrees) {
    const qreal a = qDegreesToRadians(degrees);
    return {c.x() + r * qCos(a), c.y() - r * qSin(a)};
}

// An arc as a polyline, optionally with an arrow head at its end.
void add_arc(glyph& g, const QPointF& c, qreal r, qreal start, qreal span, bool arrow) {
    const int steps = 48;
    g.stroke.moveTo(on_circle(c, r, start));
    for (int i = 1; i <= steps; ++i)
        g.stroke.lineTo(on_circle(c, r, start + span * i / steps));
    if (!arrow)
        return;
    const QPointF tip = on_circle(c, r, start + span);
    const QPointF before = on_circle(c, r, start + span * (steps - 3) / steps);
    QPointF dir = tip - before;
    dir /= qSqrt(QPointF::dotProduct(dir, dir));
    const QPointF normal(-dir.y(), dir.x());
    g.stroke.moveTo(tip - dir * 3.6 + normal * 3.2);
    g.stroke.lineTo(tip);
    g.stroke.lineTo(tip - dir * 3.6 - normal * 3.2);
}

glyph mouse_outline(const QRectF& body, bool fill_left) {
    glyph g;
    const qreal r = body.width() / 2;
    g.stroke.addRoundedRect(body, r, r * 1.1);
    const qreal seam = body.top() + body.height() * 0.42;
    g.stroke.moveTo(body.left(), seam);
    g.stroke.lineTo(body.right(), seam);
    g.stroke.moveTo(body.center().x(), body.top());
    g.stroke.lineTo(body.center().x(), seam);
    if (fill_left) {
        QPainterPath left;
        left.addRoundedRect(body, r, r * 1.1);
        QPainterPath cut;
        cut.addRect(
            QRectF(body.left() - 1, body.top() - 1, body.width() / 2 + 1, seam - body.top() + 1));
        g.solid = left.intersected(cut);
    }
    return g;
}

glyph make_glyph(const QString& name) {
    glyph g;
    const QPointF mid(12, 12);
    if (name == QLatin1String("Assign_a_Macro")) {
        g.stroke.moveTo(3, 7);
        g.stroke.lineTo(11, 7);
        g.stroke.moveTo(3, 12);
        g.stroke.lineTo(9, 12);
        g.stroke.moveTo(3, 17);
        g.stroke.lineTo(11, 17);
        g.solid.moveTo(13.8, 6.6);
        g.solid.lineTo(21.4, 12);
        g.solid.lineTo(13.8, 17.4);
        g.solid.closeSubpath();
    } else if (name == QLatin1String("Assign_a_Hotkey")) {
        g.stroke.addRoundedRect(QRectF(2.5, 6, 19, 12.5), 2.5, 2.5);
        for (int row = 0; row < 2; ++row) {
            for (int k = 0; k < 4; ++k)
                g.solid.addEllipse(QPointF(6.4 + 3.7 * k, 9.6 + 3 * row), 0.95, 0.95);
        }
        g.stroke.moveTo(8.5, 15.6);
        g.stroke.lineTo(15.5, 15.6);
    } else if (name == QLatin1String("Assign_a_Timer")) {
        const QPointF c(12, 13.5);
        g.stroke.addEllipse(c, 7.5, 7.5);
        g.stroke.moveTo(12, 6);
        g.stroke.lineTo(12, 3.8);
        g.stroke.moveTo(10, 3.4);
        g.stroke.lineTo(14, 3.4);
        g.stroke.moveTo(17.7, 7.6);
        g.stroke.lineTo(19.2, 6.1);
        g.stroke.moveTo(c);
        g.stroke.lineTo(15.2, 10.3);
        g.solid.addEllipse(c, 1.2, 1.2);
    } else if (name == QLatin1String("Default_functions")) {
        g = mouse_outline(QRectF(6.5, 2.5, 11, 19), false);
        g.solid.addRoundedRect(QRectF(11.1, 4.8, 1.8, 3.4), 0.9, 0.9);
    } else if (name == QLatin1String("Advanced_functions")) {
        const int teeth = 8;
        for (int i = 0; i < teeth * 4; ++i) {
            const qreal angle = 360.0 * i / (teeth * 4) + 360.0 / (teeth * 8);
            const qreal radius = (i % 4 == 0 || i % 4 == 1) ? 8.6 : 6.6;
            const QPointF point = on_circle(mid, radius, angle);
            if (i == 0)
                g.stroke.moveTo(point);
            else
                g.stroke.lineTo(point);
        }
        g.stroke.closeSubpath();
        g.stroke.addEllipse(mid, 2.6, 2.6);
    } else if (name == QLatin1String("Internet_functions")) {
        g.stroke.addEllipse(mid, 8.5, 8.5);
        g.stroke.addEllipse(mid, 3.8, 8.5);
        g.stroke.moveTo(3.5, 12);
        g.stroke.lineTo(20.5, 12);
        g.stroke.moveTo(5.2, 7.8);
        g.stroke.lineTo(18.8, 7.8);
        g.stroke.moveTo(5.2, 16.2);
        g.stroke.lineTo(18.8, 16.2);
    } else if (name == QLatin1String("Multimedia_functions")) {
        g.stroke.moveTo(9.4, 17);
        g.stroke.lineTo(9.4, 6.2);
        g.stroke.lineTo(18.4, 4);
        g.stroke.lineTo(18.4, 15);
        g.stroke.moveTo(9.4, 9);
        g.stroke.lineTo(18.4, 6.8);
        g.solid.addEllipse(QPointF(7.2, 17.2), 2.5, 2);
        g.solid.addEllipse(QPointF(16.2, 15.2), 2.5, 2);
    } else if (name == QLatin1String("Open")) {
        g.stroke.moveTo(3, 18.5);
        g.stroke.lineTo(3, 5.5);
        g.stroke.lineTo(9, 5.5);
        g.stroke.lineTo(11, 8);
        g.stroke.lineTo(19.5, 8);
        g.stroke.lineTo(19.5, 10.5);
        g.stroke.moveTo(3, 18.5);
        g.stroke.lineTo(6, 10.5);
        g.stroke.lineTo(21.8, 10.5);
        g.stroke.lineTo(18.8, 18.5);
        g.stroke.closeSubpath();
    } else if (name == QLatin1String("TALK")) {
        g.stroke.addRoundedRect(QRectF(2.5, 3.5, 12.5, 9), 2.5, 2.5);
        g.stroke.moveTo(5.5, 12.5);
        g.stroke.lineTo(5.5, 15.5);
        g.stroke.lineTo(8.8, 12.5);
        // The second bubble is partly hidden behind the first.
        QPainterPath second;
        second.addRoundedRect(QRectF(9, 9, 12.5, 9), 2.5, 2.5);
        second.moveTo(18.5, 18);
        second.lineTo(18.5, 21);
        second.lineTo(15.2, 18);
        QPainterPath hidden;
        hidden.addRoundedRect(QRectF(1, 2, 15.5, 12), 3, 3);
        QPainterPathStroker stroker;
        stroker.setWidth(1.7);
        stroker.setCapStyle(Qt::RoundCap);
        g.solid = stroker.createStroke(second).subtracted(hidden);
    } else if (name == QLatin1String("System_and_OS")) {
        g.stroke.addRoundedRect(QRectF(3, 4, 18, 12.5), 1.5, 1.5);
        g.stroke.moveTo(12, 16.5);
        g.stroke.lineTo(12, 19.5);
        g.stroke.moveTo(8, 19.8);
        g.stroke.lineTo(16, 19.8);
    } else if (name == QLatin1String("Disable")) {
        g.stroke.addEllipse(mid, 8.2, 8.2);
        g.stroke.moveTo(6.2, 6.2);
        g.stroke.lineTo(17.8, 17.8);
    } else if (name == QLatin1String("Reset") || name == QLatin1String("reset")) {
        add_arc(g, QPointF(12, 12.5), 7.3, 70, 290, true);
    } else if (name == QLatin1String("add")) {
        g.stroke.addEllipse(mid, 8.5, 8.5);
        g.stroke.moveTo(12, 7.6);
        g.stroke.lineTo(12, 16.4);
        g.stroke.moveTo(7.6, 12);
        g.stroke.lineTo(16.4, 12);
    } else if (name == QLatin1String("plus")) {
        g.stroke.moveTo(12, 5);
        g.stroke.lineTo(12, 19);
        g.stroke.moveTo(5, 12);
        g.stroke.lineTo(19, 12);
    } else if (name == QLatin1String("undo") || name == QLatin1String("redo")) {
        g.stroke.moveTo(9, 19);
        g.stroke.lineTo(14, 19);
        for (int i = 1; i <= 24; ++i)
            g.stroke.lineTo(on_circle(QPointF(14, 14), 5, -90 + 180.0 * i / 24));
        g.stroke.lineTo(5, 9);
        g.stroke.moveTo(8.6, 5.4);
        g.stroke.lineTo(5, 9);
        g.stroke.lineTo(8.6, 12.6);
        if (name == QLatin1String("redo")) {
            const QTransform mirror(-1, 0, 0, 1, 24, 0);
            g.stroke = mirror.map(g.stroke);
        }
    } else if (name == QLatin1String("info")) {
        // The guide's mark: an "i" in a ring.
        g.stroke.addEllipse(mid, 8.5, 8.5);
        g.stroke.moveTo(12, 10.5);
        g.stroke.lineTo(12, 17);
        g.solid.addEllipse(QPointF(12, 7.2), 1.4, 1.4);
    } else if (name == QLatin1String("deactivate")) {
        add_arc(g, QPointF(12, 13), 7.2, 120, 300, false);
        g.stroke.moveTo(12, 3.8);
        g.stroke.lineTo(12, 12);
    } else if (name == QLatin1String("dpi")) {
        const QPointF c(12, 14);
        add_arc(g, c, 8.5, 210, -240, false);
        for (int k = 0; k < 5; ++k) {
            const qreal angle = 210 - 60.0 * k;
            g.stroke.moveTo(on_circle(c, 5.6, angle));
            g.stroke.lineTo(on_circle(c, 6.6, angle));
        }
        g.stroke.moveTo(c);
        g.stroke.lineTo(on_circle(c, 6.2, 45));
        g.solid.addEllipse(c, 1.6, 1.6);
    } else if (name == QLatin1String("surface")) {
        glyph body = mouse_outline(QRectF(6.5, 2.5, 9, 12), false);
        g.stroke = body.stroke;
        g.stroke.moveTo(2.5, 18.5);
        g.stroke.lineTo(21.5, 18.5);
        g.stroke.moveTo(5, 21.5);
        g.stroke.lineTo(8, 21.5);
        g.stroke.moveTo(10.5, 21.5);
        g.stroke.lineTo(13.5, 21.5);
        g.stroke.moveTo(16, 21.5);
        g.stroke.lineTo(19, 21.5);
        // Lift distance: a measuring mark between the sensor and the surface.
        g.stroke.moveTo(19.5, 4);
        g.stroke.lineTo(19.5, 15.5);
        g.stroke.moveTo(17.8, 6);
        g.stroke.lineTo(19.5, 4);
        g.stroke.lineTo(21.2, 6);
        g.stroke.moveTo(17.8, 13.5);
        g.stroke.lineTo(19.5, 15.5);
        g.stroke.lineTo(21.2, 13.5);
    } else if (name == QLatin1String("lighting")) {
        g.stroke.addEllipse(mid, 4, 4);
        for (int k = 0; k < 8; ++k) {
            const qreal angle = 45.0 * k + 22.5;
            g.stroke.moveTo(on_circle(mid, 6.6, angle));
            g.stroke.lineTo(on_circle(mid, 9.2, angle));
        }
        g.solid.addEllipse(mid, 1.8, 1.8);
    } else if (name == QLatin1String("top_buttons")) {
        g = mouse_outline(QRectF(6.5, 2.5, 11, 19), true);
    } else if (name == QLatin1String("side_buttons")) {
        // The side panel: a plate with three rows of four buttons.
        g.stroke.addRoundedRect(QRectF(2.5, 4, 19, 16), 3.5, 3.5);
        for (int row = 0; row < 3; ++row) {
            for (int k = 0; k < 4; ++k) {
                const qreal radius = (row == 1 && k == 1) ? 1.9 : 1.25;
                g.solid.addEllipse(QPointF(6.5 + 3.7 * k, 8 + 4 * row), radius, radius);
            }
        }
    }
    return g;
}

const QStringList menu_glyphs{QStringLiteral("Assign_a_Macro"),
                              QStringLiteral("Assign_a_Hotkey"),
                              QStringLiteral("Assign_a_Timer"),
                              QStringLiteral("Default_functions"),
                              QStringLiteral("Advanced_functions"),
                              QStringLiteral("Internet_functions"),
                              QStringLiteral("Multimedia_functions"),
                              QStringLiteral("Open"),
                              QStringLiteral("TALK"),
                              QStringLiteral("System_and_OS"),
                              QStringLiteral("Disable"),
                              QStringLiteral("Reset"),
                              QStringLiteral("add")};

// Draws a glyph scaled to the image, in a colour, with an optional halo.
void draw_glyph(QPainter& p, const QSize& size, const glyph& g, const QColor& colour,
                int glow_alpha, qreal weight = 1.7) {
    p.save();
    const qreal scale = qMin(size.width(), size.height()) / 24.0;
    p.translate((size.width() - 24 * scale) / 2, (size.height() - 24 * scale) / 2);
    p.scale(scale, scale);
    if (glow_alpha > 0) {
        QPainterPath both = g.stroke;
        both.addPath(g.solid);
        look::glow(p, both, look::with_alpha(look::accent, glow_alpha), 2.6, 4);
    }
    p.setPen(look::line_pen(colour, weight));
    p.setBrush(Qt::NoBrush);
    p.drawPath(g.stroke);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(g.solid);
    p.restore();
}

void menu_icon(QPainter& p, const QSize& size, recipe_args& args) {
    const QString name = args.choice(QStringLiteral("glyph"), menu_glyphs);
    const QString state =
        args.choice(QStringLiteral("state"),
                    {QStringLiteral("normal"), QStringLiteral("over"), QStringLiteral("active")});
    const glyph g = make_glyph(name);
    if (state == QLatin1String("normal"))
        draw_glyph(p, size, g, look::accent_soft, 0);
    else if (state == QLatin1String("over"))
        draw_glyph(p, size, g, look::accent, 110);
    else
        draw_glyph(p, size, g, look::ink_bright, 190);
}

void function_icon(QPainter& p, const QSize& size, recipe_args& args) {
    const QString name =
        args.choice(QStringLiteral("glyph"),
                    {QStringLiteral("dpi"), QStringLiteral("surface"), QStringLiteral("lighting"),
                     QStringLiteral("top_buttons"), QStringLiteral("side_buttons")});
    draw_glyph(p, size, make_glyph(name), look::accent, 50);
}

void tool_icon(QPainter& p, const QSize& size, recipe_args& args) {
    const QString name =
        args.choice(QStringLiteral("glyph"),
                    {QStringLiteral("undo"), QStringLiteral("redo"), QStringLiteral("reset"),
                     QStringLiteral("deactivate"), QStringLiteral("info")});
    const QString state =
        args.choice(QStringLiteral("state"),
                    {QStringLiteral("normal"), QStringLiteral("over"), QStringLiteral("disabled")});
    const glyph g = make_glyph(name);
    if (state == QLatin1String("normal"))
        draw_glyph(p, size, g, look::ink, 0, 2);
    else if (state == QLatin1String("over"))
        draw_glyph(p, size, g, look::accent, 110, 2);
    else
        draw_glyph(p, size, g, look::ink_disabled, 0, 2);
}

void add_icon(QPainter& p, const QSize& size, recipe_args& args) {
    const bool over =
        args.choice(QStringLiteral("state"), {QStringLiteral("normal"), QStringLiteral("over")}) ==
        QLatin1String("over");
    const glyph g = make_glyph(QStringLiteral("add"));
    draw_glyph(p, size, g, over ? look::accent : look::accent_soft, over ? 110 : 0);
}

// Effect speed ends of the slider: one chevron for slow, two with motion lines for fast.
void speed_icon(QPainter& p, const QSize& size, recipe_args& args) {
    const bool fast =
        args.choice(QStringLiteral("speed"), {QStringLiteral("slow"), QStringLiteral("fast")}) ==
        QLatin1String("fast");
    glyph g;
    if (fast) {
        for (qreal x : {9.0, 15.0}) {
            g.stroke.moveTo(x, 6);
            g.stroke.lineTo(x + 5, 12);
            g.stroke.lineTo(x, 18);
        }
        g.stroke.moveTo(2.5, 9);
        g.stroke.lineTo(6, 9);
        g.stroke.moveTo(1.5, 12);
        g.stroke.lineTo(6, 12);
        g.stroke.moveTo(2.5, 15);
        g.stroke.lineTo(6, 15);
    } else {
        g.stroke.moveTo(10, 6);
        g.stroke.lineTo(15, 12);
        g.stroke.lineTo(10, 18);
        g.solid.addEllipse(QPointF(6, 12), 1.1, 1.1);
    }
    draw_glyph(p, size, g, look::ink, 0, 2);
}

} // namespace

void add_icon_recipes(recipe_table& table) {
    table.insert(QStringLiteral("menu_icon"), menu_icon);
    table.insert(QStringLiteral("function_icon"), function_icon);
    table.insert(QStringLiteral("tool_icon"), tool_icon);
    table.insert(QStringLiteral("add_icon"), add_icon);
    table.insert(QStringLiteral("speed_icon"), speed_icon);
}
