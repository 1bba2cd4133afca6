#include "style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>

namespace look {

QColor with_alpha(QColor colour, int alpha) {
    colour.setAlpha(qBound(0, alpha, 255));
    return colour;
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    auto lerp = [t](int x, int y) {
        return qRound(x + (y - x) * t);
    };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QPainterPath rounded(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void glow(QPainter& painter, const QPainterPath& path, const QColor& colour, qreal reach,
          int steps) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    // Widest and faintest first, so the core ends brightest.
    for (int i = steps; i >= 1; --i) {
        const qreal width = 2.0 * reach * i / steps;
        const int alpha = colour.alpha() * (steps - i + 1) / (steps * 2 + 2);
        QPen pen(with_alpha(colour, alpha), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.drawPath(path);
    }
    painter.restore();
}

void outer_glow(QPainter& painter, const QPainterPath& shape, const QColor& colour, qreal reach,
                int steps) {
    painter.save();
    QPainterPath outside;
    const qreal margin = reach + 2;
    outside.addRect(shape.boundingRect().adjusted(-margin, -margin, margin, margin));
    painter.setClipPath(outside.subtracted(shape), Qt::IntersectClip);
    glow(painter, shape, colour, reach, steps);
    painter.restore();
}

void plate(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top,
           const QColor& bottom, const QColor& rim, int highlight_alpha) {
    painter.save();
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setPen(QPen(rim, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, radius, radius);
    if (highlight_alpha > 0) {
        // The highlight hugs the inside of the top edge and fades along the sides.
        const QRectF inner = rect.adjusted(1, 1, -1, -1);
        QLinearGradient shine(inner.topLeft(), inner.bottomLeft());
        shine.setColorAt(0, QColor(255, 255, 255, highlight_alpha));
        shine.setColorAt(qMin(1.0, 6.0 / qMax(1.0, inner.height())), QColor(255, 255, 255, 0));
        painter.setPen(QPen(QBrush(shine), 1));
        painter.setBrush(Qt::NoBrush);
        const qreal r = qMax(0.0, radius - 1);
        painter.drawRoundedRect(inner, r, r);
    }
    painter.restore();
}

void well(QPainter& painter, const QRectF& rect, qreal radius, const QColor& fill,
          const QColor& rim) {
    painter.save();
    painter.setPen(QPen(rim, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, radius, radius);
    const QRectF inner = rect.adjusted(1, 1, -1, -1);
    QLinearGradient shade(inner.topLeft(), inner.bottomLeft());
    shade.setColorAt(0, QColor(0, 0, 0, 110));
    shade.setColorAt(qMin(1.0, 4.0 / qMax(1.0, inner.height())), QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setPen(QPen(QBrush(shade), 1));
    painter.setBrush(Qt::NoBrush);
    const qreal r = qMax(0.0, radius - 1);
    painter.drawRoundedRect(inner, r, r);
    painter.setPen(QPen(QColor(255, 255, 255, 14), 1));
    painter.drawLine(QPointF(rect.left() + radius, rect.bottom() + 0.5),
                     QPointF(rect.right() - radius, rect.bottom() + 0.5));
    painter.restore();
}

QPen line_pen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace look

#include <QtMath>

namespace look {

QPainterPath star(const QPointF& centre, qreal outer, qreal inner) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = (i % 2 == 0) ? outer : inner;
        const qreal angle = qDegreesToRadians(-90.0 + 36.0 * i);
        const QPointF point(centre.x() + radius * qCos(angle), centre.y() + radius * qSin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

} // namespace look
