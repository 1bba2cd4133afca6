#include "lighting/led_masks.h"

#include "common/log.h"
#include "common/utilities.h"

#include <QCache>
#include <QCoreApplication>
#include <QHash>

namespace {

// Tinted pictures kept: both zones in their stored colours and a few animation frames.
constexpr int kept_tints = 12;

const char* mask_path(led_zone zone) {
    return zone == led_zone::logo ? "://graphics/controls/Quil-Logo_Mask.png"
                                  : "://graphics/controls/Light-Pipe_Mask.png";
}

QImage load_mask(led_zone zone) {
    const QString path = QString::fromLatin1(mask_path(zone));
    QImage mask(path);
    if (mask.isNull())
        write_log(QStringLiteral("Lighting: the light-zone mask %1 cannot be read; the zone "
                                 "shows no light")
                      .arg(path));
    return mask.convertToFormat(QImage::Format_ARGB32);
}

QPoint search_lit_pixel(const QImage& mask, const QPoint& from) {
    QPoint best = from;
    qint64 best_distance = -1;
    for (int y = 0; y < mask.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            if (qAlpha(line[x]) < 200)
                continue;
            const qint64 dx = x - from.x();
            const qint64 dy = y - from.y();
            const qint64 distance = dx * dx + dy * dy;
            if (best_distance < 0 || distance < best_distance) {
                best_distance = distance;
                best = QPoint(x, y);
            }
        }
    }
    return best;
}

} // namespace

const QImage& led_mask(led_zone zone) {
    static const QImage logo = load_mask(led_zone::logo);
    static const QImage pipe = load_mask(led_zone::pipe);
    return zone == led_zone::logo ? logo : pipe;
}

QPixmap tinted_led_mask(led_zone zone, const QColor& colour) {
    // A few pictures of 200 x 280 are kept here rather than in Qt's pixmap cache, which an
    // animation would fill with its frames and so push out the pictures the styles reuse.
    static QCache<quint64, QPixmap> kept(kept_tints);
    static const bool dropped_with_the_application = [] {
        qAddPostRoutine([] { kept.clear(); });
        return true;
    }();
    Q_UNUSED(dropped_with_the_application);
    const quint64 key = (quint64(zone) << 32) | colour.rgba();
    if (const QPixmap* found = kept.object(key))
        return *found;
    const QPixmap pixmap = QPixmap::fromImage(tinted(led_mask(zone), colour));
    kept.insert(key, new QPixmap(pixmap));
    return pixmap;
}

QPoint nearest_lit_pixel(led_zone zone, const QPoint& from) {
    static QHash<QPair<int, QPair<int, int>>, QPoint> found;
    const auto key = qMakePair(int(zone), qMakePair(from.x(), from.y()));
    const auto it = found.constFind(key);
    if (it != found.constEnd())
        return *it;
    const QPoint lit = search_lit_pixel(led_mask(zone), from);
    found.insert(key, lit);
    return lit;
}
