// Small pieces of the forms: tabs, indicators, fields, frames and pop-up borders.
#include "recipes.h"
#include "style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace {

const QStringList tab_states{QStringLiteral("normal"), QStringLiteral("hover"),
                             QStringLiteral("down")};

// The tab face. It is stretched horizontally to the title's width, so every
// detail runs along the full width and the corners stay small.
void paint_tab_face(QPainter& p, const QSize& size, int level) {
    const QRectF face(0.5, 0.5, size.width() - 1, size.height() - 0.5);
    QPainterPath shape;
    shape.moveTo(face.bottomLeft());
    shape.lineTo(face.left(), face.top() + 3);
    shape.quadTo(face.topLeft(), QPointF(face.left() + 3, face.top()));
    shape.lineTo(face.right() - 3, face.top());
    shape.quadTo(face.topRight(), QPointF(face.right(), face.top() + 3));
    shape.lineTo(face.bottomRight());
    shape.closeSubpath();

    static const QColor tops[] = {QColor(0x1d, 0x20, 0x24), QColor(0x25, 0x29, 0x2f),
                                  QColor(0x2c, 0x31, 0x38)};
    static const QColor bottoms[] = {QColor(0x17, 0x19, 0x1c), QColor(0x1c, 0x1f, 0x23),
                                     QColor(0x1f, 0x23, 0x28)};
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, tops[level]);
    fill.setColorAt(1, bottoms[level]);
    p.setPen(QPen(QColor(0x2b, 0x2f, 0x35), 1));
    p.setBrush(fill);
    p.drawPath(shape);

    // Crisp top highlight.
    p.setPen(QPen(QColor(255, 255, 255, 12 + 8 * level), 1));
    p.drawLine(QPointF(4, 1.5), QPointF(size.width() - 4, 1.5));

    const qreal bottom = size.height();
    if (level == 1) {
        QLinearGradient rise(0, bottom, 0, bottom - 10);
        rise.setColorAt(0, look::with_alpha(look::accent, 34));
        rise.setColorAt(1, look::with_alpha(look::accent, 0));
        p.fillRect(QRectF(1, bottom - 10, size.width() - 2, 10), rise);
        p.fillRect(QRectF(1, bottom - 1, size.width() - 2, 1), look::with_alpha(look::accent, 110));
    } else if (level == 2) {
        QLinearGradient rise(0, bottom, 0, bottom - 16);
        rise.setColorAt(0, look::with_alpha(look::accent, 70));
        rise.setColorAt(1, look::with_alpha(look::accent, 0));
        p.fillRect(QRectF(1, bottom - 16, size.width() - 2, 16), rise);
        p.fillRect(QRectF(1, bottom - 2, size.width() - 2, 2), look::accent);
        p.fillRect(QRectF(1, bottom - 3, size.width() - 2, 1), look::with_alpha(look::accent, 90));
    } else {
        p.fillRect(QRectF(1, bottom - 1, size.width() - 2, 1), QColor(0x0f, 0x10, 0x12));
    }
}

void tab(QPainter& p, const QSize& size, recipe_args& args) {
    paint_tab_face(p, size, tab_states.indexOf(args.choice(QStringLiteral("state"), tab_states)));
}

void favorite_tab(QPainter& p, const QSize& size, recipe_args& args) {
    const QStringList states{QStringLiteral("normal"), QStringLiteral("over"),
                             QStringLiteral("down")};
    const int level = states.indexOf(args.choice(QStringLiteral("state"), states));
    paint_tab_face(p, size, level);
    const QPainterPath shape =
        look::star(QPointF(size.width() / 2.0, size.height() / 2.0 - 0.5), 8.5, 3.7);
    if (level == 0) {
        p.setPen(look::line_pen(QColor(0x5a, 0x5f, 0x66), 1.4));
        p.setBrush(Qt::NoBrush);
    } else if (level == 1) {
        p.setPen(look::line_pen(QColor(0xa0, 0xa6, 0xae), 1.4));
        p.setBrush(look::with_alpha(look::accent, 40));
    } else {
        look::glow(p, shape, look::with_alpha(look::accent, 150), 4);
        p.setPen(look::line_pen(look::ink_bright, 1));
        p.setBrush(look::accent);
    }
    p.drawPath(shape);
}

// 19 x 18 indicator: a 14-pixel box with room for its glow.
void check_box(QPainter& p, const QSize& size, recipe_args& args) {
    const bool checked = args.number(QStringLiteral("checked"), 0, 1) == 1;
    const QString state =
        args.choice(QStringLiteral("state"), {QStringLiteral("normal"), QStringLiteral("hover"),
                                              QStringLiteral("disabled")});
    const QRectF box((size.width() - 14) / 2.0, (size.height() - 14) / 2.0, 14, 14);
    const QRectF rim = box.adjusted(0.5, 0.5, -0.5, -0.5);
    const bool hover = state == QLatin1String("hover");
    const bool disabled = state == QLatin1String("disabled");

    if (hover)
        look::outer_glow(p, look::rounded(rim, 3), look::with_alpha(look::accent, 120), 2.5, 4);
    if (!checked) {
        // An empty box must still read as a box on the dark panels: a light rim
        // on a fill a shade above the panel.
        QLinearGradient fill(box.topLeft(), box.bottomLeft());
        fill.setColorAt(0, disabled ? QColor(0x16, 0x17, 0x1a) : QColor(0x14, 0x16, 0x19));
        fill.setColorAt(1, disabled ? QColor(0x19, 0x1b, 0x1e) : QColor(0x24, 0x28, 0x2e));
        p.setBrush(fill);
        p.setPen(QPen(disabled ? QColor(0x2a, 0x2d, 0x32)
                               : (hover ? look::accent_soft : QColor(0x86, 0x8e, 0x99)),
                      1.2));
        p.drawRoundedRect(rim, 3, 3);
        if (!disabled) {
            p.setPen(QPen(QColor(0, 0, 0, 120), 1));
            p.drawLine(QPointF(rim.left() + 2, rim.top() + 1.5),
                       QPointF(rim.right() - 2, rim.top() + 1.5));
        }
        return;
    }
    // Checked. Disabled-checked is the locked-on look: still clearly on, but quiet.
    const QColor top = disabled ? QColor(0x2d, 0x5d, 0x6d) : QColor(0x5c, 0xdd, 0xff);
    const QColor bottom = disabled ? QColor(0x22, 0x47, 0x54) : QColor(0x12, 0xa4, 0xd4);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setBrush(fill);
    p.setPen(
        QPen(disabled ? QColor(0x3a, 0x6f, 0x80) : (hover ? look::ink_bright : look::accent), 1));
    p.drawRoundedRect(rim, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, disabled ? 30 : 90), 1));
    p.drawLine(QPointF(rim.left() + 2.5, rim.top() + 1.5),
               QPointF(rim.right() - 2.5, rim.top() + 1.5));
    QPainterPath tick;
    tick.moveTo(box.left() + 3.4, box.top() + 7.2);
    tick.lineTo(box.left() + 6.0, box.top() + 9.9);
    tick.lineTo(box.left() + 10.8, box.top() + 4.3);
    p.setBrush(Qt::NoBrush);
    p.setPen(look::line_pen(disabled ? QColor(0xa4, 0xb9, 0xc0) : QColor(0x06, 0x1d, 0x26), 2.0));
    p.drawPath(tick);
}

void radio(QPainter& p, const QSize& size, recipe_args& args) {
    const bool checked = args.number(QStringLiteral("checked"), 0, 1) == 1;
    const QString state =
        args.choice(QStringLiteral("state"), {QStringLiteral("normal"), QStringLiteral("hover"),
                                              QStringLiteral("disabled")});
    const bool hover = state == QLatin1String("hover");
    const bool disabled = state == QLatin1String("disabled");
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const qreal r = qMin(size.width(), size.height()) / 2.0 - 2;
    QPainterPath ring;
    ring.addEllipse(c, r, r);
    if (hover)
        look::outer_glow(p, ring, look::with_alpha(look::accent, 110), 2, 4);
    QRadialGradient fill(c + QPointF(0, -r / 2), r * 1.6);
    fill.setColorAt(0, disabled ? QColor(0x1a, 0x1c, 0x1f) : QColor(0x22, 0x25, 0x2a));
    fill.setColorAt(1, disabled ? QColor(0x16, 0x17, 0x1a) : look::pit);
    p.setBrush(fill);
    QColor rim = QColor(0x45, 0x4b, 0x54);
    if (disabled)
        rim = QColor(0x2a, 0x2d, 0x32);
    else if (checked || hover)
        rim = checked ? look::accent : look::accent_soft;
    p.setPen(QPen(rim, checked && !disabled ? 1.4 : 1));
    p.drawEllipse(c, r - 0.2, r - 0.2);
    if (checked) {
        const QColor dot = disabled ? QColor(0x3a, 0x6f, 0x80) : look::accent;
        QPainterPath centre;
        centre.addEllipse(c, r * 0.45, r * 0.45);
        if (!disabled)
            look::glow(p, centre, look::with_alpha(look::accent, 120), 2.5, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        p.drawPath(centre);
    }
}

// Number-field frame: used as a 9-patch with 5-pixel borders.
void field(QPainter& p, const QSize& size, recipe_args& args) {
    const bool disabled = args.choice(QStringLiteral("state"),
                                      {QStringLiteral("normal"), QStringLiteral("disabled")}) ==
                          QLatin1String("disabled");
    const QRectF rect(0.5, 0.5, size.width() - 1, size.height() - 1);
    look::well(p, rect, 3, disabled ? QColor(0x17, 0x19, 0x1c) : QColor(0x10, 0x12, 0x15),
               disabled ? QColor(0x24, 0x27, 0x2c) : QColor(0x34, 0x39, 0x40));
    if (!disabled) {
        // A hairline of accent along the bottom edge marks the field as editable.
        QLinearGradient line(rect.topLeft(), rect.topRight());
        line.setColorAt(0, look::with_alpha(look::accent, 0));
        line.setColorAt(0.5, look::with_alpha(look::accent, 70));
        line.setColorAt(1, look::with_alpha(look::accent, 0));
        p.setPen(QPen(QBrush(line), 1));
        p.drawLine(QPointF(5, rect.bottom() - 1), QPointF(size.width() - 5, rect.bottom() - 1));
    }
}

void slider_handle(QPainter& p, const QSize& size, recipe_args&) {
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const qreal r = qMin(size.width(), size.height()) / 2.0 - 2.5;
    QPainterPath knob;
    knob.addEllipse(c, r, r);
    look::outer_glow(p, knob, look::with_alpha(look::accent, 110), 2.5, 4);
    QRadialGradient fill(c + QPointF(-r * 0.3, -r * 0.5), r * 1.7);
    fill.setColorAt(0, QColor(0x3d, 0x43, 0x4c));
    fill.setColorAt(1, QColor(0x16, 0x18, 0x1b));
    p.setBrush(fill);
    p.setPen(QPen(look::accent, 1.6));
    p.drawEllipse(c, r - 0.3, r - 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(look::accent);
    p.drawEllipse(c, 2.2, 2.2);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(c + QPointF(-0.6, -0.6), 0.9, 0.9);
}

// The active-step frame, painted as one long rounded frame and cut into its
// three pieces, so that caps and middle join without a seam.
void paint_dpi_frame(QPainter& p, const QSize& size, qreal offset, qreal virtual_width,
                     bool notch) {
    p.save();
    p.translate(-offset, 0);
    const QRectF frame(1, 1.5, virtual_width - 2, size.height() - 3);
    look::glow(p, look::rounded(frame, 7), look::with_alpha(look::accent, 70), 1.5, 3);
    p.setBrush(look::with_alpha(look::accent, 16));
    p.setPen(QPen(look::with_alpha(look::accent, 235), 1.2));
    p.drawRoundedRect(frame, 7, 7);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(look::with_alpha(look::accent, 50), 1));
    p.drawRoundedRect(frame.adjusted(1.5, 1.5, -1.5, -1.5), 5.5, 5.5);
    if (notch) {
        const QRectF bar(frame.left() + 3.5, frame.center().y() - 10, 3, 20);
        look::glow(p, look::rounded(bar, 1.5), look::with_alpha(look::accent, 160), 2.5, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(look::accent);
        p.drawRoundedRect(bar, 1.5, 1.5);
    }
    p.restore();
}

void dpi_cap(QPainter& p, const QSize& size, recipe_args& args) {
    const bool left =
        args.choice(QStringLiteral("side"), {QStringLiteral("left"), QStringLiteral("right")}) ==
        QLatin1String("left");
    const qreal virtual_width = 64;
    paint_dpi_frame(p, size, left ? 0 : virtual_width - size.width(), virtual_width, left);
}

void dpi_middle(QPainter& p, const QSize& size, recipe_args&) {
    paint_dpi_frame(p, size, 28, 64, false);
}

void dpi_glow(QPainter& p, const QSize& size, recipe_args&) {
    const qreal w = size.width();
    const qreal h = size.height();
    // Light bleeding inwards from the frame lines: stronger at top and bottom.
    QLinearGradient vertical(0, 0, 0, h);
    vertical.setColorAt(0, look::with_alpha(look::accent, 60));
    vertical.setColorAt(0.22, look::with_alpha(look::accent, 14));
    vertical.setColorAt(0.5, look::with_alpha(look::accent, 8));
    vertical.setColorAt(0.78, look::with_alpha(look::accent, 14));
    vertical.setColorAt(1, look::with_alpha(look::accent, 60));
    p.fillRect(QRectF(0, 0, w, h), vertical);
    // Fade out at both ends.
    QLinearGradient ends(0, 0, w, 0);
    ends.setColorAt(0, QColor(0, 0, 0, 60));
    ends.setColorAt(0.12, QColor(0, 0, 0, 255));
    ends.setColorAt(0.88, QColor(0, 0, 0, 255));
    ends.setColorAt(1, QColor(0, 0, 0, 60));
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.fillRect(QRectF(0, 0, w, h), ends);
}

// JPEG divider on the box surface: a dark groove over a light line, fading at both ends.
void divider(QPainter& p, const QSize& size, recipe_args&) {
    const int w = size.width();
    p.fillRect(QRect(QPoint(0, 0), size), look::surface);
    for (int x = 0; x < w; ++x) {
        const qreal edge = qMin(x, w - 1 - x) / 60.0;
        const qreal t = qMin(1.0, edge);
        p.fillRect(QRect(x, 0, 1, 1), look::mix(look::surface, QColor(0x0c, 0x0d, 0x10), t));
        for (int y = 1; y < size.height(); ++y)
            p.fillRect(QRect(x, y, 1, 1), look::mix(look::surface, QColor(0x33, 0x38, 0x40), t));
    }
}

// Rounded control-box frame, a 9-patch with 8-pixel borders.
void box_frame(QPainter& p, const QSize& size, recipe_args&) {
    const QRectF rect(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QPen(QColor(0x2f, 0x33, 0x3a), 1));
    p.setBrush(look::surface);
    p.drawRoundedRect(rect, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 16), 1));
    p.drawLine(QPointF(6, 1.5), QPointF(size.width() - 6, 1.5));
}

// Pop-up bubbles (the help guide and the delete confirmation) are built from
// pieces of one master bubble: 12-pixel corners and edges, a centre, and a
// bottom row that may be taller to make room for a pointing arrow.
constexpr qreal bubble_shadow = 3.5;

void paint_master_bubble(QPainter& p, const QSizeF& master, qreal body_bottom, bool arrow) {
    const QRectF body(bubble_shadow, bubble_shadow, master.width() - 2 * bubble_shadow,
                      body_bottom - bubble_shadow);
    QPainterPath shape = look::rounded(body, 8);
    if (arrow) {
        QPainterPath tip;
        const qreal cx = master.width() / 2.0;
        tip.moveTo(cx - 9, body.bottom() - 1);
        tip.lineTo(cx, master.height() - 2);
        tip.lineTo(cx + 9, body.bottom() - 1);
        tip.closeSubpath();
        shape = shape.united(tip);
    }
    // Shadow first, then the plate with a faint accent rim.
    look::outer_glow(p, shape, QColor(0, 0, 0, 200), bubble_shadow, 4);
    p.setPen(QPen(look::with_alpha(look::accent, 120), 1));
    p.setBrush(QColor(0x22, 0x25, 0x2b));
    p.drawPath(shape);
}

void bubble_piece(QPainter& p, const QSize& size, recipe_args& args) {
    const QStringList parts{
        QStringLiteral("top_left"),    QStringLiteral("top"),    QStringLiteral("top_right"),
        QStringLiteral("left"),        QStringLiteral("center"), QStringLiteral("right"),
        QStringLiteral("bottom_left"), QStringLiteral("bottom"), QStringLiteral("bottom_right")};
    const int index = parts.indexOf(args.choice(QStringLiteral("part"), parts));
    const int column = index % 3;
    const int row = index / 3;
    const qreal cell = 12;
    // The bottom edge sits 12 - shadow pixels into the bottom row, whatever its height.
    const QSizeF master(3 * cell, 2 * cell + size.height());
    p.save();
    p.translate(-column * cell, -row * cell);
    paint_master_bubble(p, master, 2 * cell + cell - bubble_shadow, false);
    p.restore();
}

void bubble_arrow(QPainter& p, const QSize& size, recipe_args&) {
    const qreal cell = 12;
    const QSizeF master(size.width() + 2 * cell, 2 * cell + size.height());
    p.save();
    p.translate(-cell, -2 * cell);
    paint_master_bubble(p, master, 2 * cell + cell - bubble_shadow, true);
    p.restore();
}

void favorite_mark(QPainter& p, const QSize& size, recipe_args& args) {
    const QString state =
        args.choice(QStringLiteral("state"),
                    {QStringLiteral("off"), QStringLiteral("hover"), QStringLiteral("on")});
    const QPainterPath shape =
        look::star(QPointF(size.width() / 2.0, size.height() / 2.0 + 0.4), 8.2, 3.6);
    if (state == QLatin1String("off")) {
        p.setPen(look::line_pen(look::ink_dim, 1.3));
        p.setBrush(Qt::NoBrush);
    } else if (state == QLatin1String("hover")) {
        p.setPen(look::line_pen(look::accent_soft, 1.3));
        p.setBrush(look::with_alpha(look::accent, 36));
    } else {
        look::glow(p, shape, look::with_alpha(look::accent, 140), 2.5, 3);
        p.setPen(look::line_pen(look::ink_bright, 0.9));
        p.setBrush(look::accent);
    }
    p.drawPath(shape);
}

// Horizontal scroll bar of the preset strip: 9-patch with 4-pixel rounded ends.
void scroll_groove(QPainter& p, const QSize& size, recipe_args&) {
    const QRectF rect(0.5, 0.5, size.width() - 1, size.height() - 1);
    const qreal r = rect.height() / 2;
    p.setPen(QPen(QColor(0x26, 0x2a, 0x30), 1));
    p.setBrush(QColor(0x11, 0x13, 0x16));
    p.drawRoundedRect(rect, r, r);
}

void scroll_handle(QPainter& p, const QSize& size, recipe_args&) {
    const QRectF rect(1, 1, size.width() - 2, size.height() - 2);
    const qreal r = rect.height() / 2;
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, look::with_alpha(look::accent, 220));
    fill.setColorAt(1, look::mix(look::accent, look::accent_deep, 0.6));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(rect, r, r);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawLine(QPointF(rect.left() + r, rect.top() + 0.5),
               QPointF(rect.right() - r, rect.top() + 0.5));
}

// Fades at the visible ends of the preset strip: box surface to transparent.
void fade(QPainter& p, const QSize& size, recipe_args& args) {
    const bool left =
        args.choice(QStringLiteral("side"), {QStringLiteral("left"), QStringLiteral("right")}) ==
        QLatin1String("left");
    QLinearGradient g(0, 0, size.width(), 0);
    g.setColorAt(left ? 0 : 1, look::surface);
    g.setColorAt(left ? 1 : 0, look::with_alpha(look::surface, 0));
    p.fillRect(QRect(QPoint(0, 0), size), g);
}

void slash(QPainter& p, const QSize& size, recipe_args&) {
    p.setPen(look::line_pen(look::with_alpha(look::accent, 150), 1.5));
    p.drawLine(QPointF(size.width() - 3, 3), QPointF(3, size.height() - 3));
}

void dropdown_arrow(QPainter& p, const QSize& size, recipe_args& args) {
    const QString state =
        args.choice(QStringLiteral("state"),
                    {QStringLiteral("normal"), QStringLiteral("over"), QStringLiteral("disabled")});
    QPainterPath chevron;
    const qreal w = size.width();
    const qreal h = size.height();
    chevron.moveTo(2, 2);
    chevron.lineTo(w / 2, h - 2);
    chevron.lineTo(w - 2, 2);
    QColor colour = look::ink;
    if (state == QLatin1String("over")) {
        colour = look::accent;
        look::glow(p, chevron, look::with_alpha(look::accent, 90), 2, 2);
    } else if (state == QLatin1String("disabled")) {
        colour = look::ink_disabled;
    }
    p.setPen(look::line_pen(colour, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chevron);
}

} // namespace

void add_control_recipes(recipe_table& table) {
    table.insert(QStringLiteral("tab"), tab);
    table.insert(QStringLiteral("favorite_tab"), favorite_tab);
    table.insert(QStringLiteral("check_box"), check_box);
    table.insert(QStringLiteral("radio"), radio);
    table.insert(QStringLiteral("field"), field);
    table.insert(QStringLiteral("slider_handle"), slider_handle);
    table.insert(QStringLiteral("dpi_cap"), dpi_cap);
    table.insert(QStringLiteral("dpi_middle"), dpi_middle);
    table.insert(QStringLiteral("dpi_glow"), dpi_glow);
    table.insert(QStringLiteral("divider"), divider);
    table.insert(QStringLiteral("box_frame"), box_frame);
    table.insert(QStringLiteral("bubble_piece"), bubble_piece);
    table.insert(QStringLiteral("bubble_arrow"), bubble_arrow);
    table.insert(QStringLiteral("favorite_mark"), favorite_mark);
    table.insert(QStringLiteral("scroll_groove"), scroll_groove);
    table.insert(QStringLiteral("scroll_handle"), scroll_handle);
    table.insert(QStringLiteral("fade"), fade);
    table.insert(QStringLiteral("slash"), slash);
    table.insert(QStringLiteral("dropdown_arrow"), dropdown_arrow);
}
