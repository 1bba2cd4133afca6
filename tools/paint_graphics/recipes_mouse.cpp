// Pictures of the mouse itself: top views, the lighting picture with its LED
// masks, the underside and the calibration animation.
#include "mouse_shape.h"
#include "recipes.h"
#include "style.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

namespace {

mouse::edition edition_of(recipe_args& args) {
    return args.choice(QStringLiteral("edition"),
                       {QStringLiteral("black"), QStringLiteral("white")}) == QLatin1String("white")
               ? mouse::edition::white
               : mouse::edition::black;
}

// The top view of the top-button box, its zones softly lit.
void mouse_top(QPainter& p, const QSize& size, recipe_args& args) {
    mouse::paint_top(p, mouse::fit(size, 14), edition_of(args), mouse::lit::soft);
}

// The lighting picture: zones unlit, because the tinted masks light them.
constexpr qreal back_margin = 10;

void mouse_back(QPainter& p, const QSize& size, recipe_args& args) {
    mouse::paint_top(p, mouse::fit(size, back_margin), edition_of(args), mouse::lit::none);
}

// White shapes with a soft halo; tinting keeps the alpha, so the halo becomes glow.
void led_mask(QPainter& p, const QSize& size, recipe_args& args) {
    const bool logo =
        args.choice(QStringLiteral("zone"), {QStringLiteral("logo"), QStringLiteral("pipe")}) ==
        QLatin1String("logo");
    const QTransform t = mouse::fit(size, back_margin);
    const QPainterPath shape = t.map(logo ? mouse::logo() : mouse::light_pipe(3.6));
    look::outer_glow(p, shape, QColor(255, 255, 255, 200), 4, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(shape);
}

// The calibration dialog's mouse from below. Its sensor lands on a whole
// pixel, so an animation frame can be centred on it exactly.
const QPointF sensor_units(50, 92);

QTransform underside(const QSize& size) {
    QTransform t = QTransform(-1, 0, 0, 1, mouse::width_units, 0) * mouse::fit(size, 10);
    const QPointF at = t.map(sensor_units);
    return t * QTransform::fromTranslate(qRound(at.x()) - at.x(), qRound(at.y()) - at.y());
}

void surf_mouse_bg(QPainter& p, const QSize& size, recipe_args&) {
    const QTransform t = underside(size);
    const qreal px = 1.0 / t.m22();
    const QPainterPath body = mouse::outline();
    look::outer_glow(p, t.map(body), QColor(0, 0, 0, 200), 6, 6);
    p.save();
    p.setTransform(t, true);
    QRadialGradient shell(QPointF(50, 92), 90);
    shell.setColorAt(0, QColor(0x1c, 0x1f, 0x23));
    shell.setColorAt(1, QColor(0x0b, 0x0c, 0x0e));
    p.setPen(QPen(QColor(0x30, 0x34, 0x3b), 1.2 * px));
    p.setBrush(shell);
    p.drawPath(body);

    // Glide pads: pale, slightly glossy.
    auto pad = [&](const QRectF& r) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(0x8d, 0x93, 0x9b));
        g.setColorAt(1, QColor(0x5d, 0x63, 0x6b));
        p.setPen(QPen(QColor(0x2a, 0x2d, 0x32), px));
        p.setBrush(g);
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    };
    pad(QRectF(30, 8, 40, 6));
    pad(QRectF(28, 146, 44, 6));
    pad(QRectF(8.5, 78, 5, 26));
    pad(QRectF(87.5, 78, 5, 26));

    // Sensor window.
    const QPointF sensor = sensor_units;
    QRadialGradient glass(sensor - QPointF(2, 2), 9);
    glass.setColorAt(0, QColor(0x2a, 0x3a, 0x44));
    glass.setColorAt(1, QColor(0x05, 0x07, 0x09));
    p.setPen(QPen(QColor(0x3c, 0x41, 0x48), 1.5 * px));
    p.setBrush(glass);
    p.drawEllipse(sensor, 8, 8);
    p.setPen(QPen(look::with_alpha(look::accent, 150), px));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(sensor, 5.5, 5.5);
    // Profile switch and two screws.
    p.setPen(QPen(QColor(0x34, 0x38, 0x3f), px));
    p.setBrush(QColor(0x10, 0x11, 0x13));
    p.drawRoundedRect(QRectF(44, 116, 12, 7), 2, 2);
    p.setBrush(QColor(0x4a, 0x4f, 0x57));
    p.drawRoundedRect(QRectF(45.5, 117.5, 4, 4), 1, 1);
    for (const QPointF& screw : {QPointF(30, 40), QPointF(70, 40)}) {
        p.setBrush(QColor(0x18, 0x1a, 0x1d));
        p.drawEllipse(screw, 2.2, 2.2);
    }
    p.restore();
}

// One frame of the calibration animation: a sensor sweeping the surface under
// it, rings pulsing out. 100 frames make four turns and four pulses, so the
// loop joins without a jump.
void sensor_frame(QPainter& p, const QSize& size, recipe_args& args) {
    const int frames = args.number(QStringLiteral("frames"), 1, 1000);
    const int frame = args.number(QStringLiteral("frame"), 0, frames - 1);
    const qreal phase = qreal(frame) / frames; // 0..1 over the loop
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const qreal reach = qMin(size.width(), size.height()) / 2.0 - 4;
    const qreal lead = -360.0 * 4 * phase; // clockwise sweep, degrees

    // Surface grain: dots that light up as the beam passes.
    const qreal pitch = 11;
    for (qreal y = c.y() - reach; y <= c.y() + reach; y += pitch) {
        for (qreal x = c.x() - reach; x <= c.x() + reach; x += pitch) {
            const QPointF d(x - c.x(), y - c.y());
            const qreal r = qSqrt(d.x() * d.x() + d.y() * d.y());
            if (r > reach - 6 || r < 18)
                continue;
            const qreal angle = qRadiansToDegrees(qAtan2(-d.y(), d.x()));
            // How far behind the leading edge the dot lies, 0..360.
            const qreal behind = std::fmod(std::fmod(angle - lead, 360.0) + 720.0, 360.0);
            const qreal lit = behind < 90 ? 1.0 - behind / 90 : 0.0;
            const qreal fade_out = 1.0 - r / reach;
            p.setPen(Qt::NoPen);
            p.setBrush(look::with_alpha(look::mix(look::ink_dim, look::accent, lit),
                                        int(60 + 190 * lit * fade_out + 40 * fade_out)));
            p.drawEllipse(QPointF(x, y), 1.1 + 0.6 * lit, 1.1 + 0.6 * lit);
        }
    }

    // The sweep: a bright leading edge with a fading trail.
    QConicalGradient trail(c, lead);
    trail.setColorAt(0, look::with_alpha(look::accent, 120));
    trail.setColorAt(0.22, look::with_alpha(look::accent, 0));
    trail.setColorAt(1, look::with_alpha(look::accent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(trail);
    p.drawEllipse(c, reach - 4, reach - 4);
    const qreal a = qDegreesToRadians(lead);
    const QPointF edge(c.x() + (reach - 4) * qCos(a), c.y() - (reach - 4) * qSin(a));
    QLinearGradient beam(c, edge);
    beam.setColorAt(0, look::with_alpha(look::ink_bright, 220));
    beam.setColorAt(1, look::with_alpha(look::accent, 40));
    p.setPen(QPen(QBrush(beam), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, edge);

    // Pulses leaving the sensor, one every quarter of the loop.
    for (int k = 0; k < 2; ++k) {
        const qreal t = std::fmod(phase * 4 + 0.5 * k, 1.0);
        const qreal r = 16 + t * (reach - 16);
        p.setPen(QPen(look::with_alpha(look::accent, int(200 * (1 - t) * (1 - t))), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r, r);
    }

    // Outer scale: fine ticks, brighter where the beam is.
    for (int i = 0; i < 72; ++i) {
        const qreal angle = 5.0 * i;
        const qreal behind = std::fmod(std::fmod(angle - lead, 360.0) + 720.0, 360.0);
        const qreal lit = behind < 60 ? 1.0 - behind / 60 : 0.0;
        const qreal rad = qDegreesToRadians(angle);
        const qreal inner = reach - (i % 6 == 0 ? 5 : 2.5);
        p.setPen(QPen(look::with_alpha(look::mix(look::ink_disabled, look::accent, lit),
                                       int(120 + 135 * lit)),
                      1));
        p.drawLine(QPointF(c.x() + inner * qCos(rad), c.y() - inner * qSin(rad)),
                   QPointF(c.x() + reach * qCos(rad), c.y() - reach * qSin(rad)));
    }

    // The sensor lens, steady in the middle, breathing once per pulse.
    const qreal breath = 0.5 + 0.5 * qCos(2 * M_PI * phase * 4);
    QPainterPath lens;
    lens.addEllipse(c, 11, 11);
    look::glow(p, lens, look::with_alpha(look::accent, int(80 + 100 * breath)), 4, 4);
    QRadialGradient glass(c - QPointF(3, 3), 13);
    glass.setColorAt(0, QColor(0x2e, 0x44, 0x50));
    glass.setColorAt(1, QColor(0x06, 0x08, 0x0a));
    p.setPen(QPen(look::accent, 1.4));
    p.setBrush(glass);
    p.drawPath(lens);
    p.setPen(Qt::NoPen);
    p.setBrush(look::with_alpha(look::accent, int(150 + 100 * breath)));
    p.drawEllipse(c, 3.2, 3.2);
    p.setBrush(QColor(255, 255, 255, 140));
    p.drawEllipse(c + QPointF(-4, -4), 1.6, 1.6);
}

// Background of the calibration dialog: dark, a perspective grid fading into
// the distance and a cool glow where the animation runs.
void graphical_bg(QPainter& p, const QSize& size, recipe_args&) {
    const qreal w = size.width();
    const qreal h = size.height();
    QLinearGradient base(0, 0, 0, h);
    base.setColorAt(0, QColor(0x17, 0x19, 0x1d));
    base.setColorAt(1, QColor(0x10, 0x11, 0x14));
    p.fillRect(QRectF(0, 0, w, h), base);

    const QPointF vanish(w / 2, h * 0.38);
    p.save();
    p.setClipRect(QRectF(0, vanish.y(), w, h - vanish.y()));
    for (int i = -12; i <= 12; ++i) {
        const QPointF foot(w / 2 + i * w / 10, h + 10);
        QLinearGradient fadeline(vanish, foot);
        fadeline.setColorAt(0, look::with_alpha(look::accent, 0));
        fadeline.setColorAt(1, look::with_alpha(look::accent, 34));
        p.setPen(QPen(QBrush(fadeline), 1));
        p.drawLine(vanish, foot);
    }
    for (int k = 1; k <= 9; ++k) {
        const qreal t = qPow(k / 9.0, 2.2);
        const qreal y = vanish.y() + t * (h - vanish.y());
        p.setPen(QPen(look::with_alpha(look::accent, int(6 + 28 * t)), 1));
        p.drawLine(QPointF(0, y), QPointF(w, y));
    }
    p.restore();

    QRadialGradient halo(QPointF(w / 2, h * 0.55), h * 0.6);
    halo.setColorAt(0, look::with_alpha(look::accent, 40));
    halo.setColorAt(1, look::with_alpha(look::accent, 0));
    p.fillRect(QRectF(0, 0, w, h), halo);

    QRadialGradient vignette(QPointF(w / 2, h / 2), w * 0.62);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 150));
    p.fillRect(QRectF(0, 0, w, h), vignette);

    p.setPen(QPen(QColor(255, 255, 255, 14), 1));
    p.drawLine(QPointF(0, 0.5), QPointF(w, 0.5));
}

// Marker of a top button on the mouse picture; the form writes its number over it.
void marker(QPainter& p, const QSize& size, recipe_args& args) {
    const bool over =
        args.choice(QStringLiteral("state"), {QStringLiteral("normal"), QStringLiteral("over")}) ==
        QLatin1String("over");
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const qreal r = qMin(size.width(), size.height()) / 2.0 - 3.5;
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    if (over) {
        look::outer_glow(p, disc, look::with_alpha(look::accent, 200), 3.5, 5);
        QRadialGradient fill(c - QPointF(0, r / 2), r * 1.5);
        fill.setColorAt(0, QColor(0x1a, 0x6e, 0x8a));
        fill.setColorAt(1, QColor(0x0a, 0x33, 0x42));
        p.setBrush(fill);
        p.setPen(QPen(look::accent, 2));
    } else {
        look::outer_glow(p, disc, QColor(0, 0, 0, 160), 2.5, 3);
        p.setBrush(look::with_alpha(look::base, 225));
        p.setPen(QPen(look::with_alpha(look::accent, 170), 1.4));
    }
    p.drawPath(disc);
}

} // namespace

void add_mouse_recipes(recipe_table& table) {
    table.insert(QStringLiteral("mouse_top"), mouse_top);
    table.insert(QStringLiteral("mouse_back"), mouse_back);
    table.insert(QStringLiteral("led_mask"), led_mask);
    table.insert(QStringLiteral("surf_mouse_bg"), surf_mouse_bg);
    table.insert(QStringLiteral("sensor_frame"), sensor_frame);
    table.insert(QStringLiteral("graphical_bg"), graphical_bg);
    table.insert(QStringLiteral("marker"), marker);
}
