// The side-panel editor and everything around it: the panel picture, the key
// caps laid over it, the palette blocks, the trash can, the set-up guide, the
// preset strip and the hand cursors.
#include "panel_geometry.h"
#include "recipes.h"
#include "style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QtMath>

namespace {

enum class cap_look { normal, over, down, blank };

cap_look cap_look_of(const QString& word) {
    if (word == QLatin1String("over"))
        return cap_look::over;
    if (word == QLatin1String("down"))
        return cap_look::down;
    if (word == QLatin1String("blank"))
        return cap_look::blank;
    return cap_look::normal;
}

// One key cap, centred and tilted; inset keeps it clear of its neighbours.
void draw_cap(QPainter& p, const QPointF& centre, qreal length, qreal height, qreal angle,
              cap_look look_kind, qreal inset = 2) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    const QRectF body(-length / 2 + inset, -height / 2 + inset, length - 2 * inset,
                      height - 2 * inset);
    const qreal radius = qMin(5.0, body.height() / 4);
    const QPainterPath shape = look::rounded(body, radius);

    if (look_kind == cap_look::blank) {
        look::outer_glow(p, shape, QColor(0, 0, 0, 150), 1.5, 3);
        QLinearGradient fill(body.topLeft(), body.bottomLeft());
        fill.setColorAt(0, QColor(0x23, 0x26, 0x2b));
        fill.setColorAt(1, QColor(0x18, 0x1a, 0x1d));
        p.setPen(QPen(QColor(0x07, 0x08, 0x09), 1));
        p.setBrush(fill);
        p.drawPath(shape);
        p.setPen(QPen(QColor(255, 255, 255, 22), 1));
        p.drawLine(QPointF(body.left() + radius, body.top() + 1.5),
                   QPointF(body.right() - radius, body.top() + 1.5));
        // Fine grooves mark a blank cover.
        const qreal groove = qMin(body.width() - 10, 14.0 + 0.25 * body.width());
        for (int k = -1; k <= 1; ++k) {
            const qreal y = k * 3.5;
            p.setPen(QPen(QColor(0, 0, 0, 130), 1));
            p.drawLine(QPointF(-groove / 2, y), QPointF(groove / 2, y));
            p.setPen(QPen(QColor(255, 255, 255, 16), 1));
            p.drawLine(QPointF(-groove / 2, y + 1), QPointF(groove / 2, y + 1));
        }
        p.restore();
        return;
    }

    QColor top(0x44, 0x49, 0x51), bottom(0x23, 0x26, 0x2b), dish_top(0x26, 0x29, 0x2e),
        dish_bottom(0x3a, 0x3f, 0x46), rim(0x07, 0x08, 0x09);
    int shine = 55;
    if (look_kind == cap_look::over) {
        top = QColor(0x55, 0x5b, 0x64);
        bottom = QColor(0x2c, 0x30, 0x36);
        dish_top = QColor(0x30, 0x34, 0x3a);
        dish_bottom = QColor(0x4a, 0x50, 0x58);
        rim = look::with_alpha(look::accent, 235);
        shine = 75;
        look::outer_glow(p, shape, look::with_alpha(look::accent, 170), 2.5, 4);
    } else if (look_kind == cap_look::down) {
        top = QColor(0x22, 0x86, 0xa6);
        bottom = QColor(0x0f, 0x46, 0x59);
        dish_top = QColor(0x10, 0x4c, 0x60);
        dish_bottom = QColor(0x1f, 0x80, 0x9f);
        rim = look::accent;
        shine = 80;
        look::outer_glow(p, shape, look::with_alpha(look::accent, 220), 3, 4);
    } else {
        look::outer_glow(p, shape, QColor(0, 0, 0, 160), 1.8, 3);
    }

    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(rim, look_kind == cap_look::normal ? 1 : 1.3));
    p.setBrush(fill);
    p.drawPath(shape);
    // Highlight inside the top edge.
    p.setPen(QPen(QColor(255, 255, 255, shine), 1));
    p.drawLine(QPointF(body.left() + radius, body.top() + 1.6),
               QPointF(body.right() - radius, body.top() + 1.6));
    // The dish: a concave face, darker at the top where the rim shades it.
    const QRectF dish = body.adjusted(3.5, 3.5, -3.5, -3);
    if (dish.width() > 2 && dish.height() > 2) {
        QLinearGradient face(dish.topLeft(), dish.bottomLeft());
        face.setColorAt(0, dish_top);
        face.setColorAt(1, dish_bottom);
        p.setPen(Qt::NoPen);
        p.setBrush(face);
        const qreal r = qMax(1.0, radius - 2);
        p.drawRoundedRect(dish, r, r);
    }
    p.restore();
}

void draw_cap_at(QPainter& p, const panel::cap_place& place, cap_look look_kind) {
    draw_cap(p, place.centre, place.length, place.height, place.angle, look_kind,
             look_kind == cap_look::blank ? 2.5 : 2);
}

// A button overlay: one cap in canvas coordinates, shifted to the overlay origin.
void side_cap(QPainter& p, const QSize&, recipe_args& args) {
    const QString kind =
        args.choice(QStringLiteral("kind"),
                    {QStringLiteral("single"), QStringLiteral("double"), QStringLiteral("quad")});
    const QString look_word =
        args.choice(QStringLiteral("look"), {QStringLiteral("normal"), QStringLiteral("over"),
                                             QStringLiteral("down"), QStringLiteral("blank")});
    p.translate(-panel::overlay_origin);
    if (kind == QLatin1String("single")) {
        draw_cap_at(p, panel::single_place(args.number(QStringLiteral("index"), 1, 12)),
                    cap_look_of(look_word));
    } else if (kind == QLatin1String("double")) {
        draw_cap_at(p, panel::double_place(args.number(QStringLiteral("index"), 1, 6)),
                    cap_look_of(look_word));
    } else {
        draw_cap_at(p, panel::quad_place(args.number(QStringLiteral("index"), 1, 3)),
                    cap_look::blank);
    }
}

// The mouse's left flank, front to the left, with the recess of the modular
// panel whose twelve empty sockets the caps cover.
void side_panel(QPainter& p, const QSize& size, recipe_args& args) {
    const bool white =
        args.choice(QStringLiteral("edition"),
                    {QStringLiteral("black"), QStringLiteral("white")}) == QLatin1String("white");
    QPainterPath body;
    body.moveTo(60, 163);
    body.cubicTo(36, 163, 25, 141, 30, 120);
    body.cubicTo(36, 94, 90, 62, 160, 44);
    body.cubicTo(222, 28, 300, 13, 362, 15);
    body.cubicTo(422, 17, 472, 40, 484, 84);
    body.cubicTo(494, 122, 482, 159, 455, 163);
    body.closeSubpath();

    // Shadow on the desk.
    QRadialGradient floor(QPointF(size.width() / 2.0, 165), 240);
    floor.setColorAt(0, QColor(0, 0, 0, 150));
    floor.setColorAt(1, QColor(0, 0, 0, 0));
    p.save();
    p.scale(1, 0.06);
    p.setPen(Qt::NoPen);
    p.setBrush(floor);
    p.drawEllipse(QPointF(size.width() / 2.0, 165 / 0.06), 230, 240);
    p.restore();
    p.setBrush(floor);
    p.setPen(Qt::NoPen);
    look::outer_glow(p, body, QColor(0, 0, 0, 150), 4, 4);

    QLinearGradient shell(0, 14, 0, 163);
    if (white) {
        shell.setColorAt(0, QColor(0xff, 0xff, 0xff));
        shell.setColorAt(0.45, QColor(0xe9, 0xeb, 0xee));
        shell.setColorAt(1, QColor(0xb4, 0xba, 0xc2));
    } else {
        shell.setColorAt(0, QColor(0x30, 0x34, 0x3b));
        shell.setColorAt(0.45, QColor(0x1c, 0x1f, 0x23));
        shell.setColorAt(1, QColor(0x0c, 0x0d, 0x0f));
    }
    p.setBrush(shell);
    p.drawPath(body);

    p.save();
    p.setClipPath(body);
    // Fall-off towards the front and the rear.
    QLinearGradient ends(0, 0, size.width(), 0);
    ends.setColorAt(0, QColor(0, 0, 0, white ? 50 : 90));
    ends.setColorAt(0.3, QColor(0, 0, 0, 0));
    ends.setColorAt(0.75, QColor(0, 0, 0, 0));
    ends.setColorAt(1, QColor(0, 0, 0, white ? 60 : 100));
    p.fillRect(QRect(QPoint(0, 0), size), ends);

    // Base shell and the light pipe along the rear.
    QPainterPath base;
    base.moveTo(0, 150);
    base.cubicTo(150, 146, 380, 146, 507, 140);
    base.lineTo(507, 175);
    base.lineTo(0, 175);
    base.closeSubpath();
    p.setBrush(white ? QColor(0x9a, 0xa0, 0xa8) : QColor(0x09, 0x0a, 0x0b));
    p.drawPath(base);
    QPainterPath pipe;
    pipe.moveTo(392, 146.5);
    pipe.cubicTo(430, 145.5, 468, 141, 488, 124);
    p.setPen(QPen(look::with_alpha(look::accent, 70), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(pipe);
    p.setPen(QPen(look::with_alpha(look::mix(look::accent, Qt::white, 0.3), 190), 1.6,
                  Qt::SolidLine, Qt::RoundCap));
    p.drawPath(pipe);

    // Seam of the main button along the top front.
    QPainterPath seam;
    seam.moveTo(36, 112);
    seam.cubicTo(90, 80, 180, 50, 262, 36);
    seam.cubicTo(280, 33, 290, 28, 296, 16);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(white ? QColor(255, 255, 255, 220) : QColor(255, 255, 255, 26), 1));
    p.drawPath(QTransform::fromTranslate(0, 1).map(seam));
    p.setPen(QPen(white ? QColor(0x8e, 0x94, 0x9c) : QColor(0x05, 0x06, 0x07), 1.3));
    p.drawPath(seam);

    // Grip texture behind the panel.
    for (int row = 0; row < 9; ++row) {
        for (int k = 0; k < 7; ++k) {
            const QPointF dot(392 + 11 * k + (row % 2) * 5.5, 58 + 10 * row);
            const qreal fade = 1.0 - qAbs(k - 3) / 5.0;
            p.setPen(Qt::NoPen);
            p.setBrush(white ? QColor(0, 0, 0, int(30 * fade))
                             : QColor(255, 255, 255, int(16 * fade)));
            p.drawEllipse(dot, 1.6, 1.6);
        }
    }
    p.restore();

    // Rim light along the top.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(white ? QColor(255, 255, 255, 230) : QColor(255, 255, 255, 46), 1.2));
    p.save();
    p.setClipRect(QRectF(0, 0, size.width(), 110));
    p.drawPath(QTransform::fromTranslate(0, 1).map(body));
    p.restore();
    p.setPen(QPen(white ? QColor(0x7e, 0x84, 0x8c) : QColor(0, 0, 0, 220), 1));
    p.drawPath(body);

    // The panel recess: a tilted plate round all twelve sockets.
    QPolygonF hull;
    hull << panel::hit_rect(1).topLeft() << panel::hit_rect(4).topRight()
         << panel::hit_rect(12).bottomRight() << panel::hit_rect(9).bottomLeft();
    QPainterPath tight;
    tight.addPolygon(hull);
    tight.closeSubpath();
    QPainterPathStroker round;
    round.setWidth(12);
    round.setJoinStyle(Qt::RoundJoin);
    const QPainterPath recess = tight.united(round.createStroke(tight)).simplified();
    look::outer_glow(p, recess, white ? QColor(255, 255, 255, 200) : QColor(255, 255, 255, 30), 1.5,
                     2);
    QLinearGradient inset(0, 36, 0, 160);
    inset.setColorAt(0, white ? QColor(0x55, 0x5a, 0x61) : QColor(0x07, 0x08, 0x09));
    inset.setColorAt(1, white ? QColor(0x6e, 0x74, 0x7c) : QColor(0x12, 0x14, 0x17));
    p.setPen(QPen(white ? QColor(0x48, 0x4d, 0x54) : QColor(0, 0, 0), 1));
    p.setBrush(inset);
    p.drawPath(recess);

    // Empty sockets, visible where nothing is fitted or a cap is lifted out.
    for (int slot = 1; slot <= 12; ++slot) {
        const panel::cap_place place = panel::single_place(slot);
        p.save();
        p.translate(place.centre);
        p.rotate(place.angle);
        const QRectF socket(-place.length / 2 + 1.5, -place.height / 2 + 1.5, place.length - 3,
                            place.height - 3);
        p.setPen(QPen(white ? QColor(0x86, 0x8c, 0x94) : QColor(0x26, 0x29, 0x2e), 1));
        p.setBrush(white ? QColor(0x2c, 0x2f, 0x34) : QColor(0x03, 0x03, 0x04));
        p.drawRoundedRect(socket, 5, 5);
        p.setPen(QPen(look::with_alpha(look::accent, 40), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(0, 0), 2, 2);
        p.restore();
    }
}

// Palette blocks: a free-standing cap; the lifted look is the empty place it leaves.
void place_block(QPainter& p, const QSize& size, recipe_args& args) {
    args.choice(QStringLiteral("kind"), {QStringLiteral("single"), QStringLiteral("double")});
    const QString look_word =
        args.choice(QStringLiteral("look"),
                    {QStringLiteral("normal"), QStringLiteral("over"), QStringLiteral("lifted")});
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    if (look_word == QLatin1String("lifted")) {
        const QRectF r(4.5, 4.5, size.width() - 9, size.height() - 9);
        p.setBrush(look::with_alpha(look::accent, 18));
        QPen dashed(look::with_alpha(look::accent, 130), 1.2, Qt::DashLine, Qt::RoundCap);
        dashed.setDashPattern({3, 2.5});
        p.setPen(dashed);
        p.drawRoundedRect(r, 5, 5);
        return;
    }
    draw_cap(p, centre, size.width() - 2, size.height() - 2, 0, cap_look_of(look_word), 2.5);
}

QPainterPath trash_shape(qreal w, qreal h, qreal lid_lift, QPainterPath* lid_out) {
    const qreal body_top = h * 0.3;
    QPainterPath body;
    body.moveTo(w * 0.16, body_top);
    body.lineTo(w * 0.84, body_top);
    body.lineTo(w * 0.76, h - 3);
    body.quadTo(w * 0.75, h - 1.5, w * 0.72, h - 1.5);
    body.lineTo(w * 0.28, h - 1.5);
    body.quadTo(w * 0.25, h - 1.5, w * 0.24, h - 3);
    body.closeSubpath();
    QPainterPath lid;
    lid.addRoundedRect(QRectF(w * 0.08, body_top - 7 - lid_lift, w * 0.84, 5), 2, 2);
    lid.addRoundedRect(QRectF(w * 0.38, body_top - 11 - lid_lift, w * 0.24, 5), 2, 2);
    *lid_out = lid.simplified();
    return body;
}

void trash(QPainter& p, const QSize& size, recipe_args& args) {
    const bool over =
        args.choice(QStringLiteral("look"), {QStringLiteral("normal"), QStringLiteral("over")}) ==
        QLatin1String("over");
    const qreal w = size.width();
    const qreal h = size.height();
    QPainterPath lid;
    const QPainterPath body = trash_shape(w, h, over ? 3 : 0, &lid);
    const QColor line = over ? look::accent : look::ink;
    if (over) {
        QPainterPath both = body;
        both.addPath(lid);
        look::glow(p, both, look::with_alpha(look::accent, 120), 3, 4);
    }
    QLinearGradient fill(0, 0, w, 0);
    fill.setColorAt(0, over ? QColor(0x10, 0x3c, 0x4b) : QColor(0x26, 0x29, 0x2f));
    fill.setColorAt(1, over ? QColor(0x0a, 0x25, 0x2f) : QColor(0x17, 0x19, 0x1d));
    p.setPen(look::line_pen(line, 1.8));
    p.setBrush(fill);
    p.drawPath(body);
    p.save();
    if (over) {
        p.translate(w / 2, h * 0.3);
        p.rotate(-8);
        p.translate(-w / 2, -h * 0.3);
    }
    p.drawPath(lid);
    p.restore();
    const qreal top = h * 0.3 + 6;
    for (qreal x : {0.38, 0.5, 0.62}) {
        p.setPen(look::line_pen(look::with_alpha(line, 200), 1.5));
        p.drawLine(QPointF(w * x, top), QPointF(w * (0.5 + (x - 0.5) * 0.85), h - 7));
    }
}

void trash_glow(QPainter& p, const QSize& size, recipe_args&) {
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    QRadialGradient g(c, qMin(size.width(), size.height()) / 2.0);
    g.setColorAt(0, look::with_alpha(look::accent, 120));
    g.setColorAt(0.45, look::with_alpha(look::accent, 60));
    g.setColorAt(1, look::with_alpha(look::accent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, size.width() / 2.0, size.height() / 2.0);
}

// The hand cursors, in a 32-pixel box with the palm around the centre.
QPainterPath capsule(const QPointF& a, const QPointF& b, qreal width) {
    QPainterPath line;
    line.moveTo(a);
    line.lineTo(b);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(line);
}

void draw_hand(QPainter& p, bool open) {
    QPainterPath hand;
    QPainterPath creases;
    if (open) {
        hand.addRoundedRect(QRectF(9.5, 14, 14.5, 13.5), 5, 5);
        const qreal xs[4] = {11.4, 15.0, 18.6, 22.0};
        const qreal tops[4] = {7.5, 5.2, 6.2, 9.0};
        for (int i = 0; i < 4; ++i)
            hand = hand.united(capsule(QPointF(xs[i], tops[i]), QPointF(xs[i], 18), 3.4));
        hand = hand.united(capsule(QPointF(10.5, 20.5), QPointF(5.2, 14.5), 3.6));
        for (int i = 0; i < 3; ++i) {
            const qreal x = (xs[i] + xs[i + 1]) / 2;
            creases.moveTo(x, tops[i + 1] + 4.5);
            creases.lineTo(x, 15.5);
        }
    } else {
        hand.addRoundedRect(QRectF(9.5, 12.5, 14.5, 14), 5, 5);
        const qreal xs[4] = {11.6, 15.2, 18.7, 22.0};
        for (qreal x : xs)
            hand = hand.united(capsule(QPointF(x, 12.5), QPointF(x, 14.5), 3.5));
        hand = hand.united(capsule(QPointF(10, 19.5), QPointF(14.5, 17.5), 3.4));
        for (int i = 0; i < 3; ++i) {
            const qreal x = (xs[i] + xs[i + 1]) / 2;
            creases.moveTo(x, 11.5);
            creases.lineTo(x, 14.5);
        }
    }
    hand = hand.simplified();
    p.setPen(QPen(QColor(0x0b, 0x0c, 0x0e), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient fill(0, 4, 0, 28);
    fill.setColorAt(0, QColor(0xff, 0xff, 0xff));
    fill.setColorAt(1, QColor(0xdc, 0xe1, 0xe6));
    p.setBrush(fill);
    p.drawPath(hand);
    p.setPen(QPen(QColor(0x55, 0x5b, 0x63), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(creases);
}

void cursor(QPainter& p, const QSize& size, recipe_args& args) {
    const bool open =
        args.choice(QStringLiteral("hand"), {QStringLiteral("open"), QStringLiteral("closed")}) ==
        QLatin1String("open");
    p.scale(size.width() / 32.0, size.height() / 32.0);
    draw_hand(p, open);
}

// Seven-segment digits for the guide's step badge (no fonts at build time).
void draw_digit(QPainter& p, int digit, const QRectF& box) {
    static const int segments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const qreal l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
    const qreal m = (t + b) / 2;
    const QLineF lines[7] = {{l, t, r, t}, {r, t, r, m}, {r, m, r, b}, {l, b, r, b},
                             {l, m, l, b}, {l, t, l, m}, {l, m, r, m}};
    for (int s = 0; s < 7; ++s) {
        if (segments[digit % 10] & (1 << s))
            p.drawLine(lines[s]);
    }
}

// A straightened miniature of the panel for the guide: 3 rows of 4 sockets.
struct mini_panel {
    QPointF origin{34, 40};
    qreal cell_w = 24, cell_h = 20, gap = 3;
    QRectF cell(int row, int col, int span = 1) const {
        return QRectF(origin.x() + col * (cell_w + gap), origin.y() + row * (cell_h + gap),
                      span * cell_w + (span - 1) * gap, cell_h);
    }
    QRectF frame() const {
        return QRectF(origin, QSizeF(4 * cell_w + 3 * gap, 3 * cell_h + 2 * gap))
            .adjusted(-6, -6, 6, 6);
    }
};

void draw_mini_panel(QPainter& p, const mini_panel& m) {
    p.setPen(QPen(QColor(0x30, 0x34, 0x3b), 1));
    p.setBrush(QColor(0x0a, 0x0b, 0x0d));
    p.drawRoundedRect(m.frame(), 7, 7);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            p.setPen(QPen(QColor(0x24, 0x27, 0x2c), 1));
            p.setBrush(QColor(0x03, 0x03, 0x04));
            p.drawRoundedRect(m.cell(row, col).adjusted(1, 1, -1, -1), 4, 4);
        }
    }
}

void draw_mini_cap(QPainter& p, const QRectF& r, cap_look look_kind) {
    draw_cap(p, r.center(), r.width() + 2, r.height() + 2, 0, look_kind, 2);
}

void dashed_arrow(QPainter& p, const QPointF& from, const QPointF& via, const QPointF& to) {
    QPainterPath path;
    path.moveTo(from);
    path.quadTo(via, to);
    QPen dashed(look::with_alpha(look::accent, 220), 1.6, Qt::CustomDashLine, Qt::RoundCap);
    dashed.setDashPattern({2.5, 2.5});
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    QPointF dir = to - via;
    dir /= qSqrt(QPointF::dotProduct(dir, dir));
    const QPointF normal(-dir.y(), dir.x());
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to - dir * 7 + normal * 4);
    head.lineTo(to - dir * 7 - normal * 4);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(look::accent);
    p.drawPath(head);
}

// A cap on its way: half transparent, as the drag shows it.
void ghost_cap(QPainter& p, const QRectF& r) {
    p.save();
    p.setOpacity(0.65);
    draw_mini_cap(p, r, cap_look::over);
    p.restore();
}

void hand_at(QPainter& p, const QPointF& centre, bool open, qreal scale) {
    p.save();
    p.translate(centre);
    p.scale(scale, scale);
    p.translate(-16, -16);
    draw_hand(p, open);
    p.restore();
}

void help_step(QPainter& p, const QSize& size, recipe_args& args) {
    const int step = args.number(QStringLiteral("step"), 1, 5);
    const qreal w = size.width();
    const qreal h = size.height();

    // Card.
    QLinearGradient card(0, 0, 0, h);
    card.setColorAt(0, QColor(0x1a, 0x1d, 0x21));
    card.setColorAt(1, QColor(0x14, 0x16, 0x19));
    p.setPen(QPen(QColor(0x2c, 0x30, 0x37), 1));
    p.setBrush(card);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 8, 8);

    // Step badge.
    QPainterPath badge;
    badge.addEllipse(QPointF(17, 17), 10, 10);
    look::glow(p, badge, look::with_alpha(look::accent, 90), 2.5, 3);
    p.setPen(QPen(look::accent, 1.4));
    p.setBrush(QColor(0x0b, 0x2e, 0x3a));
    p.drawPath(badge);
    p.setPen(look::line_pen(look::ink_bright, 1.8));
    draw_digit(p, step, QRectF(13.8, 11.5, 6.4, 11));

    mini_panel m;
    draw_mini_panel(p, m);
    // The layout the guide starts from: some singles, the rest still open.
    const bool fitted[3][4] = {
        {true, true, false, false}, {true, false, false, true}, {false, false, true, true}};
    auto fill_singles = [&](bool all) {
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                if (all || fitted[row][col])
                    draw_mini_cap(p, m.cell(row, col), cap_look::normal);
    };

    switch (step) {
    case 1: {
        fill_singles(false);
        draw_mini_cap(p, QRectF(192, 34, 28, 24), cap_look::normal);
        const QRectF target = m.cell(1, 1);
        p.setPen(QPen(look::with_alpha(look::accent, 200), 1.2, Qt::DashLine));
        p.setBrush(look::with_alpha(look::accent, 30));
        p.drawRoundedRect(target.adjusted(1, 1, -1, -1), 4, 4);
        dashed_arrow(p, QPointF(196, 64), QPointF(170, 132), target.center() + QPointF(16, 6));
        ghost_cap(p, QRectF(150, 92, 28, 24));
        hand_at(p, QPointF(168, 106), false, 1.15);
        break;
    }
    case 2: {
        fill_singles(false);
        draw_mini_cap(p, QRectF(180, 34, 52, 24), cap_look::normal);
        const QRectF target = m.cell(0, 2, 2);
        p.setPen(QPen(look::with_alpha(look::accent, 200), 1.2, Qt::DashLine));
        p.setBrush(look::with_alpha(look::accent, 30));
        p.drawRoundedRect(target.adjusted(1, 1, -1, -1), 4, 4);
        dashed_arrow(p, QPointF(206, 64), QPointF(196, 128), target.center() + QPointF(4, 14));
        ghost_cap(p, QRectF(150, 96, 52, 24));
        hand_at(p, QPointF(182, 110), false, 1.15);
        break;
    }
    case 3: {
        fill_singles(true);
        const QRectF chosen = m.cell(1, 2);
        draw_mini_cap(p, chosen, cap_look::down);
        const QPointF click = chosen.center() + QPointF(4, 4);
        for (int k = 1; k <= 2; ++k) {
            p.setPen(QPen(look::with_alpha(look::accent, 170 - 60 * k), 1.3));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(click, 6.0 + 6 * k, 6.0 + 6 * k);
        }
        hand_at(p, click + QPointF(12, 14), true, 1.15);
        draw_mini_cap(p, QRectF(180, 36, 28, 24), cap_look::over);
        draw_mini_cap(p, QRectF(212, 36, 28, 24), cap_look::down);
        dashed_arrow(p, QPointF(194, 64), QPointF(194, 76), QPointF(224, 66));
        break;
    }
    case 4: {
        fill_singles(true);
        // Two caps already lifted out leave empty sockets behind.
        const QRectF gone_a = m.cell(2, 2);
        const QRectF gone_b = m.cell(2, 3);
        for (const QRectF& r : {gone_a, gone_b}) {
            p.setPen(QPen(QColor(0x24, 0x27, 0x2c), 1));
            p.setBrush(QColor(0x03, 0x03, 0x04));
            p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 4, 4);
        }
        const QRectF can(196, 62, 42, 48);
        QPainterPath glow_area;
        glow_area.addEllipse(can.center(), 34, 34);
        QRadialGradient g(can.center(), 34);
        g.setColorAt(0, look::with_alpha(look::accent, 90));
        g.setColorAt(1, look::with_alpha(look::accent, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(glow_area);
        p.save();
        p.translate(can.topLeft());
        QPainterPath lid;
        const QPainterPath body = trash_shape(can.width(), can.height(), 3, &lid);
        p.setPen(look::line_pen(look::accent, 1.6));
        p.setBrush(QColor(0x0c, 0x30, 0x3c));
        p.drawPath(body);
        p.drawPath(lid);
        p.restore();
        draw_mini_cap(p, QRectF(150, 86, 24, 20), cap_look::down);
        draw_mini_cap(p, QRectF(156, 94, 24, 20), cap_look::down);
        hand_at(p, QPointF(178, 114), false, 1.15);
        dashed_arrow(p, QPointF(136, 108), QPointF(150, 130), QPointF(192, 100));
        break;
    }
    default: {
        fill_singles(true);
        draw_mini_cap(p, m.cell(0, 0, 2), cap_look::normal);
        // A preset tile receives the finished layout.
        const QRectF tile(180, 30, 64, 58);
        p.setPen(QPen(look::with_alpha(look::accent, 200), 1.3));
        p.setBrush(QColor(0x1c, 0x1f, 0x23));
        p.drawRoundedRect(tile, 6, 6);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 4; ++col) {
                const QRectF cell(tile.left() + 10 + col * 11, tile.top() + 10 + row * 11, 9, 9);
                p.setPen(Qt::NoPen);
                p.setBrush(row == 0 && col < 2 ? look::accent : look::accent_soft);
                if (row == 0 && col == 0)
                    p.drawRoundedRect(cell.adjusted(0, 0, 11, 0), 2, 2);
                else if (!(row == 0 && col == 1))
                    p.drawRoundedRect(cell, 2, 2);
            }
        }
        QPainterPath tick;
        tick.moveTo(tile.left() + 22, tile.bottom() + 20);
        tick.lineTo(tile.left() + 29, tile.bottom() + 27);
        tick.lineTo(tile.left() + 43, tile.bottom() + 12);
        look::glow(p, tick, look::with_alpha(look::accent, 120), 2.5, 3);
        p.setPen(look::line_pen(look::accent, 2.6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        dashed_arrow(p, QPointF(142, 70), QPointF(160, 58), QPointF(176, 60));
        break;
    }
    }
}

// Miniature cells of a preset tile: 16 pixels a slot.
void preset_mini(QPainter& p, const QSize& size, recipe_args& args) {
    const QString kind =
        args.choice(QStringLiteral("kind"), {QStringLiteral("single"), QStringLiteral("double"),
                                             QStringLiteral("blank"), QStringLiteral("quad")});
    const bool over =
        args.choice(QStringLiteral("look"), {QStringLiteral("normal"), QStringLiteral("over")}) ==
        QLatin1String("over");
    const QRectF cell(1.5, 1.5, size.width() - 3, size.height() - 3);
    if (kind == QLatin1String("blank") || kind == QLatin1String("quad")) {
        p.setPen(QPen(over ? look::with_alpha(look::accent, 110) : QColor(0x34, 0x38, 0x3f), 1));
        p.setBrush(over ? QColor(0x15, 0x22, 0x28) : QColor(0x14, 0x16, 0x19));
        p.drawRoundedRect(cell, 3, 3);
        p.setPen(QPen(over ? look::with_alpha(look::accent, 70) : QColor(0x2a, 0x2e, 0x35), 1));
        const qreal y = cell.center().y();
        p.drawLine(QPointF(cell.left() + 4, y), QPointF(cell.right() - 4, y));
        return;
    }
    const QColor top = over ? look::mix(look::accent, Qt::white, 0.15) : QColor(0x76, 0x7d, 0x87);
    const QColor bottom =
        over ? look::mix(look::accent, look::accent_deep, 0.45) : QColor(0x4a, 0x50, 0x58);
    if (over)
        look::outer_glow(p, look::rounded(cell, 3), look::with_alpha(look::accent, 120), 1.5, 2);
    QLinearGradient fill(cell.topLeft(), cell.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(over ? look::accent : QColor(0x1a, 0x1c, 0x20), 1));
    p.setBrush(fill);
    p.drawRoundedRect(cell, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, over ? 120 : 60), 1));
    p.drawLine(QPointF(cell.left() + 3, cell.top() + 1.5),
               QPointF(cell.right() - 3, cell.top() + 1.5));
}

void preset_border(QPainter& p, const QSize& size, recipe_args&) {
    const QRectF r(2.5, 2.5, size.width() - 5, size.height() - 5);
    const QPainterPath frame = look::rounded(r, 7);
    look::glow(p, frame, look::with_alpha(look::accent, 110), 2.5, 4);
    p.setPen(QPen(look::accent, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(frame);
}

void preset_tile(QPainter& p, const QSize& size, recipe_args& args) {
    const bool selected = args.choice(QStringLiteral("look"),
                                      {QStringLiteral("normal"), QStringLiteral("selected")}) ==
                          QLatin1String("selected");
    const QRectF r(2.5, 2.5, size.width() - 5, size.height() - 5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, selected ? QColor(0x1d, 0x2a, 0x31) : QColor(0x20, 0x23, 0x28));
    fill.setColorAt(1, selected ? QColor(0x16, 0x1c, 0x21) : QColor(0x19, 0x1b, 0x1f));
    p.setPen(QPen(selected ? look::with_alpha(look::accent, 170) : QColor(0x2e, 0x32, 0x39), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 7, 7);
    p.setPen(QPen(QColor(255, 255, 255, 16), 1));
    p.drawLine(QPointF(r.left() + 7, r.top() + 1.5), QPointF(r.right() - 7, r.top() + 1.5));
    // Recess behind the miniature (rows at 21, 37, 53; columns from 29, 16 a slot).
    look::well(p, QRectF(24.5, 16.5, 74, 56), 5, QColor(0x10, 0x12, 0x15),
               QColor(0x26, 0x2a, 0x30));
}

} // namespace

void add_panel_recipes(recipe_table& table) {
    table.insert(QStringLiteral("side_panel"), side_panel);
    table.insert(QStringLiteral("side_cap"), side_cap);
    table.insert(QStringLiteral("place_block"), place_block);
    table.insert(QStringLiteral("trash"), trash);
    table.insert(QStringLiteral("trash_glow"), trash_glow);
    table.insert(QStringLiteral("cursor"), cursor);
    table.insert(QStringLiteral("help_step"), help_step);
    table.insert(QStringLiteral("preset_mini"), preset_mini);
    table.insert(QStringLiteral("preset_border"), preset_border);
    table.insert(QStringLiteral("preset_tile"), preset_tile);
}
