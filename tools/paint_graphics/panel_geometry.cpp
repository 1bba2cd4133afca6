#include "panel_geometry.h"

#include <QtMath>

namespace panel {

QRectF hit_rect(int slot) {
    static const QRectF rects[12] = {
        {217, 50, 36, 31},  {253, 46, 39, 33},  {292, 44, 38, 33},  {330, 44, 31, 31},
        {218, 86, 37, 31},  {255, 84, 39, 31},  {294, 81, 39, 31},  {333, 80, 35, 31},
        {220, 120, 41, 31}, {261, 118, 40, 31}, {301, 116, 37, 31}, {338, 115, 34, 31},
    };
    return rects[qBound(1, slot, 12) - 1];
}

namespace {

// A cap spanning slots first..last of one row.
cap_place span(int first, int last) {
    const QRectF a = hit_rect(first);
    const QRectF b = hit_rect(last);
    cap_place place;
    place.centre = (a.center() + b.center()) / 2;
    const QPointF d = b.center() - a.center();
    place.length = qSqrt(d.x() * d.x() + d.y() * d.y()) + (a.width() + b.width()) / 2;
    place.height = (a.height() + b.height()) / 2;
    return place;
}

qreal row_angle(int row) {
    const QPointF d = hit_rect(4 * row).center() - hit_rect(4 * row - 3).center();
    return qRadiansToDegrees(qAtan2(d.y(), d.x()));
}

} // namespace

cap_place single_place(int slot) {
    slot = qBound(1, slot, 12);
    const QRectF r = hit_rect(slot);
    cap_place place;
    place.centre = r.center();
    place.length = r.width();
    place.height = r.height();
    place.angle = row_angle((slot + 3) / 4);
    return place;
}

cap_place double_place(int pair) {
    pair = qBound(1, pair, 6);
    cap_place place = span(2 * pair - 1, 2 * pair);
    place.angle = row_angle((2 * pair + 2) / 4);
    return place;
}

cap_place quad_place(int row) {
    row = qBound(1, row, 3);
    cap_place place = span(4 * row - 3, 4 * row);
    place.angle = row_angle(row);
    return place;
}

} // namespace panel
