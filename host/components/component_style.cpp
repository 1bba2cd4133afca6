#include "host/components/component_style.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <utility>

namespace component_style {

namespace {

constexpr int k_icon_size = 16;

qreal pixel_ratio() {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    // Painted at least twice the size, so scaled screens and grabs stay crisp.
    return qMax<qreal>(2.0, ratio);
}

QPixmap canvas(int size) {
    const qreal ratio = pixel_ratio();
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPainterPath star_path(QPointF centre, qreal outer) {
    const qreal inner = outer * 0.45;
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = (i % 2 == 0) ? outer : inner;
        const qreal angle = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF point(centre.x() + radius * qCos(angle), centre.y() + radius * qSin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

QPixmap star(const QColor& colour, bool filled) {
    QPixmap pixmap = canvas(k_icon_size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = star_path(QPointF(8, 8.6), 6.8);
    p.setPen(QPen(colour, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(filled ? QBrush(colour) : Qt::NoBrush);
    p.drawPath(path);
    return pixmap;
}

QPixmap reset(const QColor& colour) {
    QPixmap pixmap = canvas(k_icon_size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QRectF circle(2.5, 2.5, 11, 11);
    QPainterPath arc;
    arc.arcMoveTo(circle, 60);
    arc.arcTo(circle, 60, 290);
    p.drawPath(arc);
    // Arrow head at the arc's open end, pointing along the turn.
    QPainterPath head;
    const QPointF tip = arc.pointAtPercent(0.0);
    head.moveTo(tip + QPointF(-3.6, -0.6));
    head.lineTo(tip);
    head.lineTo(tip + QPointF(0.4, 3.6));
    p.drawPath(head);
    return pixmap;
}

QPixmap help(const QColor& colour) {
    QPixmap pixmap = canvas(k_icon_size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 1.3));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QPainterPath mark;
    mark.moveTo(5.9, 6.2);
    mark.cubicTo(5.9, 4.6, 7.0, 4.0, 8.0, 4.0);
    mark.cubicTo(9.2, 4.0, 10.2, 4.8, 10.2, 6.0);
    mark.cubicTo(10.2, 7.6, 8.0, 7.7, 8.0, 9.4);
    p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(8.0, 11.7), 0.95, 0.95);
    return pixmap;
}

QIcon state_icon(QPixmap (*paint)(const QColor&)) {
    QIcon icon;
    icon.addPixmap(paint(text_dim), QIcon::Normal, QIcon::Off);
    icon.addPixmap(paint(text_bright), QIcon::Active, QIcon::Off);
    icon.addPixmap(paint(text_disabled), QIcon::Disabled, QIcon::Off);
    return icon;
}

void arrow_head(QPainter& p, QPointF tip, qreal dx, qreal dy) {
    // A small open chevron whose point is `tip`, opening against (dx, dy).
    QPainterPath path;
    path.moveTo(tip.x() - dx * 3 - dy * 3, tip.y() - dy * 3 - dx * 3);
    path.lineTo(tip);
    path.lineTo(tip.x() - dx * 3 + dy * 3, tip.y() - dy * 3 + dx * 3);
    p.drawPath(path);
}

// Every box and value control of every page opening asks for the same icons and
// glyphs; painting them took most of a page's opening. They are painted once per
// pixel ratio and dropped with the application (pixmaps must not outlive it).
// Keyed by what was painted (an icon's number, or a glyph's kind and size) and the
// pixel ratio: a key put together as text cost more than the lookup it served.
using cache_key_t = std::pair<quint32, qreal>;
enum : quint32 { help_key = 1, reset_key, favourite_key, glyph_key = 0x10000 };
QHash<cache_key_t, QIcon>& icon_cache() {
    static QHash<cache_key_t, QIcon> icons;
    return icons;
}
QHash<cache_key_t, QPixmap>& pixmap_cache() {
    static QHash<cache_key_t, QPixmap> pixmaps;
    return pixmaps;
}
void drop_caches() {
    icon_cache().clear();
    pixmap_cache().clear();
}
cache_key_t cache_key(quint32 what) {
    static const bool registered = [] {
        qAddPostRoutine(&drop_caches);
        return true;
    }();
    Q_UNUSED(registered);
    return {what, pixel_ratio()};
}
template <class Make>
QIcon cached_icon(quint32 what, Make make) {
    const cache_key_t key = cache_key(what);
    auto it = icon_cache().constFind(key);
    if (it == icon_cache().constEnd())
        it = icon_cache().insert(key, make());
    return *it;
}

QPixmap paint_glyph(glyph_t kind, int size);

} // namespace

QPixmap glyph(glyph_t kind, int size) {
    const cache_key_t key =
        cache_key(glyph_key * (quint32(kind) + 1) + quint32(qBound(0, size, 0xffff)));
    auto it = pixmap_cache().constFind(key);
    if (it == pixmap_cache().constEnd())
        it = pixmap_cache().insert(key, paint_glyph(kind, size));
    return *it;
}

namespace {

QPixmap paint_glyph(glyph_t kind, int size) {
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    const QPen line(text_normal, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen lit(accent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(line);
    switch (kind) {
    case glyph_t::sensitivity:
        // A sight: rings and cross hairs with a lit centre.
        p.drawEllipse(QPointF(12, 12), 7.5, 7.5);
        p.drawLine(QPointF(12, 1.5), QPointF(12, 6.5));
        p.drawLine(QPointF(12, 17.5), QPointF(12, 22.5));
        p.drawLine(QPointF(1.5, 12), QPointF(6.5, 12));
        p.drawLine(QPointF(17.5, 12), QPointF(22.5, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawEllipse(QPointF(12, 12), 2.4, 2.4);
        break;
    case glyph_t::pointer: {
        QPainterPath arrow;
        arrow.moveTo(6, 3);
        arrow.lineTo(6, 19);
        arrow.lineTo(10, 15.2);
        arrow.lineTo(13, 21.5);
        arrow.lineTo(15.6, 20.3);
        arrow.lineTo(12.7, 14.2);
        arrow.lineTo(18, 14);
        arrow.closeSubpath();
        p.setBrush(QColor(0x2a, 0x2e, 0x35));
        p.drawPath(arrow);
        p.setPen(lit);
        p.drawLine(QPointF(18.5, 4.5), QPointF(21.5, 4.5));
        p.drawLine(QPointF(17.5, 8.5), QPointF(21.5, 8.5));
        break;
    }
    case glyph_t::v_scroll:
        p.drawRoundedRect(QRectF(7, 3, 10, 18), 5, 5);
        p.setPen(lit);
        p.drawLine(QPointF(12, 7.5), QPointF(12, 11));
        p.setPen(line);
        arrow_head(p, QPointF(21.5, 4), 0, -1);
        p.drawLine(QPointF(21.5, 4), QPointF(21.5, 20));
        arrow_head(p, QPointF(21.5, 20), 0, 1);
        break;
    case glyph_t::h_scroll:
        p.drawRoundedRect(QRectF(7, 2, 10, 16), 5, 5);
        p.setPen(lit);
        p.drawLine(QPointF(12, 6), QPointF(12, 9.5));
        p.setPen(line);
        p.drawLine(QPointF(3, 21.5), QPointF(21, 21.5));
        arrow_head(p, QPointF(3, 21.5), -1, 0);
        arrow_head(p, QPointF(21, 21.5), 1, 0);
        break;
    case glyph_t::double_click:
        p.drawRoundedRect(QRectF(3, 7, 12, 15), 6, 6);
        p.drawLine(QPointF(9, 7), QPointF(9, 13));
        // Two click waves beside the left button.
        p.setPen(lit);
        p.drawArc(QRectF(12.5, 1.5, 7, 7), 0, 90 * 16);
        p.drawArc(QRectF(10, -1, 12, 12), 5 * 16, 80 * 16);
        break;
    case glyph_t::generic:
        p.setPen(lit);
        p.drawRoundedRect(QRectF(4, 4, 16, 16), 3, 3);
        p.drawLine(QPointF(8, 12), QPointF(16, 12));
        break;
    }
    return pixmap;
}

} // namespace

QIcon help_icon() {
    return cached_icon(help_key, [] { return state_icon(&help); });
}

QIcon reset_icon() {
    return cached_icon(reset_key, [] { return state_icon(&reset); });
}

QIcon favourite_icon() {
    return cached_icon(favourite_key, [] {
        QIcon icon;
        icon.addPixmap(star(text_dim, false), QIcon::Normal, QIcon::Off);
        icon.addPixmap(star(text_bright, false), QIcon::Active, QIcon::Off);
        icon.addPixmap(star(text_disabled, false), QIcon::Disabled, QIcon::Off);
        icon.addPixmap(star(favourite, true), QIcon::Normal, QIcon::On);
        icon.addPixmap(star(favourite.lighter(115), true), QIcon::Active, QIcon::On);
        icon.addPixmap(star(text_disabled, true), QIcon::Disabled, QIcon::On);
        return icon;
    });
}

QString popover_style_sheet() {
    return QStringLiteral(R"(
QFrame#wg_help_card {
    background: #202328;
    border: 1px solid #383d45;
    border-radius: 6px;
}
QLabel#lb_help_title {
    background: transparent;
    color: #eceef1;
    font-size: 11px;
    font-weight: 700;
    letter-spacing: 2px;
}
QLabel#lb_help_text {
    background: transparent;
    color: #b4b9c0;
    font-size: 12px;
}
)");
}

} // namespace component_style
