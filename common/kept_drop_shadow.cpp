#include "common/kept_drop_shadow.h"

#include "common/log.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <cstring>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Qt's own blur, the one its drop-shadow effect uses (exported by QtWidgets).
Q_WIDGETS_EXPORT void qt_blurImage(QPainter* p, QImage& blurImage, qreal radius, bool quality,
                                   bool alphaOnly, int transposed = 0);

namespace {

// Shadows kept by the alpha they were made from. A handful of panel shapes exist; a
// page that keeps changing its shape must not grow the cache without bound.
constexpr int kept_shadows = 16;
// A region of more rectangles than this is clipped to no faster than it is drawn whole.
constexpr int max_visible_rects = 1024;

using shadow_ptr = std::shared_ptr<const kept_drop_shadow_c::shadow_t>;

QHash<QByteArray, shadow_ptr>& shadow_cache() {
    static QHash<QByteArray, shadow_ptr> kept;
    static const bool dropped_with_the_application = [] {
        qAddPostRoutine([] { shadow_cache().clear(); });
        return true;
    }();
    Q_UNUSED(dropped_with_the_application);
    return kept;
}

// A 128-bit print of the alpha plane (premultiplied ARGB32): two independent mixes
// over the alpha bytes, sixteen pixels' alphas packed into two words at a time, one
// word into each mix (row ends and stray pixels into both). Two shapes that differ
// anywhere share a print as rarely as two random 64-bit numbers are equal.
class alpha_print_c {
public:
    void mix(quint64 v) {
        m_a = rotate(m_a ^ v, 31) * 0xff51afd7ed558ccdull;
        m_b = rotate(m_b + v, 27) * 0xc4ceb9fe1a85ec53ull;
    }
    void mix_pair(quint64 first, quint64 second) {
        m_a = rotate(m_a ^ first, 31) * 0xff51afd7ed558ccdull;
        m_b = rotate(m_b + second, 27) * 0xc4ceb9fe1a85ec53ull;
    }
    QByteArray text() const {
        return QByteArray::number(m_a, 16) + ':' + QByteArray::number(m_b, 16);
    }

private:
    static quint64 rotate(quint64 v, int by) { return (v << by) | (v >> (64 - by)); }
    quint64 m_a = 0x9e3779b97f4a7c15ull;
    quint64 m_b = 0xc2b2ae3d27d4eb4full;
};

QByteArray alpha_print(const QImage& image) {
    alpha_print_c print;
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        int x = 0;
#if defined(__SSE2__)
        for (; x + 16 <= width; x += 16) {
            const auto* at = reinterpret_cast<const __m128i*>(line + 4 * x);
            const __m128i p0 = _mm_srli_epi32(_mm_loadu_si128(at), 24);
            const __m128i p1 = _mm_srli_epi32(_mm_loadu_si128(at + 1), 24);
            const __m128i p2 = _mm_srli_epi32(_mm_loadu_si128(at + 2), 24);
            const __m128i p3 = _mm_srli_epi32(_mm_loadu_si128(at + 3), 24);
            const __m128i alphas =
                _mm_packus_epi16(_mm_packs_epi32(p0, p1), _mm_packs_epi32(p2, p3));
            alignas(16) quint64 words[2];
            _mm_store_si128(reinterpret_cast<__m128i*>(words), alphas);
            print.mix_pair(words[0], words[1]);
        }
#endif
        for (; x + 8 <= width; x += 8) {
            quint64 word = 0;
            for (int k = 0; k < 8; ++k)
                word |= quint64(line[4 * (x + k) + 3]) << (8 * k);
            print.mix(word);
        }
        for (; x < width; ++x)
            print.mix(qAlpha(reinterpret_cast<const QRgb*>(line)[x]));
        // Rows of different widths never read alike.
        print.mix(0xffffffff00000000ull | quint64(y));
    }
    return print.text();
}

// Whether the alphas of `piece` equal those of `image` at `at` (the piece lies inside).
bool same_alpha(const QImage& piece, const QImage& image, QPoint at) {
    const int bytes = 4 * piece.width();
    for (int y = 0; y < piece.height(); ++y) {
        const uchar* a = piece.constScanLine(y);
        const uchar* b = image.constScanLine(at.y() + y) + 4 * at.x();
        for (int k = 3; k < bytes; k += 4) {
            if (a[k] != b[k])
                return false;
        }
    }
    return true;
}

// The pixels that the source does not cover fully, as bands of equal rows: only there
// can a shadow drawn under the source be seen.
QRegion uncovered(const QImage& source) {
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> band, row;
    int band_top = 0;
    const int width = source.width();
    const auto close_band = [&](int bottom) {
        for (const auto& span : band)
            rects.emplace_back(span.first, band_top, span.second - span.first, bottom - band_top);
    };
    for (int y = 0; y < source.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        row.clear();
        for (int x = 0; x < width;) {
            // Four covered pixels a step through the panel's inside.
            if (x + 4 <= width &&
                qAlpha(line[x] & line[x + 1] & line[x + 2] & line[x + 3]) == 255) {
                x += 4;
                continue;
            }
            if (qAlpha(line[x]) == 255) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && qAlpha(line[x]) != 255)
                ++x;
            row.emplace_back(start, x);
        }
        if (y > 0 && row == band)
            continue;
        close_band(y);
        band.swap(row);
        band_top = y;
    }
    close_band(source.height());
    if (int(rects.size()) > max_visible_rects)
        return QRegion(source.rect());
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

} // namespace

kept_drop_shadow_c::kept_drop_shadow_c(QWidget* widget)
    : QGraphicsDropShadowEffect(widget)
    , m_widget(widget) {}

void kept_drop_shadow_c::draw(QPainter* painter) {
    if (m_drawing || (blurRadius() <= 0 && offset().isNull())) {
        drawSource(painter);
        return;
    }
    m_drawing = true;
    if (!draw_part(painter))
        draw_full(painter);
    m_drawing = false;
}

// A repaint of part of the widget, when the last full render can serve for the rest:
// the same size, device pixels, a plain move on the device, and the repainted part
// keeps its alpha (a new colour, a hover, a new text on an opaque background). False
// when it cannot.
bool kept_drop_shadow_c::draw_part(QPainter* painter) {
    QPaintEngine* engine = painter->paintEngine();
    QPaintDevice* device = painter->device();
    if (!m_shadow || m_source.isNull() || !m_widget || !engine || !device ||
        device->devicePixelRatioF() != 1.0 || m_source.devicePixelRatioF() != 1.0)
        return false;
    const QTransform& transform = painter->worldTransform();
    if (transform.type() > QTransform::TxTranslate || transform.dx() != qRound(transform.dx()) ||
        transform.dy() != qRound(transform.dy()))
        return false;
    // The system clip is what this paint must cover, on the device.
    const QRegion dirty = engine->systemClip();
    if (dirty.isEmpty())
        return false;
    const QRect widget_rect = transform.mapRect(QRectF(m_widget->rect())).toAlignedRect();
    const QRect effect_rect = boundingRectFor(QRectF(widget_rect)).toAlignedRect();
    if (effect_rect.size() != m_source.size())
        return false;
    m_source_at = effect_rect.topLeft();
    const QRegion part = dirty & widget_rect;
    if (part.isEmpty()) {
        // Only the margin the shadow falls on: the widget is as it was.
        draw_kept(painter, QPixmap(), QPoint());
        return true;
    }
    const QRect box = part.boundingRect();
    // Most of the widget: one render of the whole costs the same and needs no copy.
    if (qint64(box.width()) * box.height() * 2 > qint64(widget_rect.width()) * widget_rect.height())
        return false;
    // Into a pixmap, as the full render goes: text is drawn into a pixmap and an image
    // with other blending.
    QPixmap rendered(box.size());
    rendered.fill(Qt::transparent);
    m_widget->render(&rendered, QPoint(), QRegion(box.translated(-widget_rect.topLeft())),
                     QWidget::DrawChildren);
    const QImage piece = rendered.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QPoint in_source = box.topLeft() - m_source_at;
    // Another shape: render the whole widget again. A shadow made from pieces could
    // differ from one made in one go (Qt draws text a little differently clipped).
    if (!same_alpha(piece, m_source, in_source))
        return false;
    ++m_counts.part_renders;
    for (int y = 0; y < piece.height(); ++y)
        std::memcpy(m_source.scanLine(in_source.y() + y) + 4 * in_source.x(),
                    piece.constScanLine(y), size_t(4 * piece.width()));
    draw_kept(painter, rendered, box.topLeft());
    return true;
}

void kept_drop_shadow_c::draw_full(QPainter* painter) {
    QPoint at;
    const QPixmap source = sourcePixmap(Qt::DeviceCoordinates, &at, PadToEffectiveBoundingRect);
    ++m_counts.full_renders;
    if (source.isNull()) {
        m_source = QImage();
        m_shadow.reset();
        return;
    }
    m_source = source.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_source_at = at;
    m_shadow = shadow_of(m_source);
    const QTransform restore = painter->worldTransform();
    painter->setWorldTransform(QTransform());
    if (m_source.devicePixelRatioF() == 1.0) {
        draw_kept(painter, QPixmap(), QPoint());
    } else {
        painter->drawImage(at, m_shadow->image);
    }
    painter->drawPixmap(at, source);
    painter->setWorldTransform(restore);
}

// The kept shadow where it can be seen, then the piece of the widget at `piece_at`
// (device coordinates).
void kept_drop_shadow_c::draw_kept(QPainter* painter, const QPixmap& piece, QPoint piece_at) const {
    painter->save();
    painter->setWorldTransform(QTransform());
    if (!m_shadow->visible.isEmpty()) {
        painter->setClipRegion(m_shadow->visible.translated(m_source_at), Qt::IntersectClip);
        painter->drawImage(m_source_at, m_shadow->image);
    }
    painter->restore();
    if (!piece.isNull()) {
        const QTransform restore = painter->worldTransform();
        painter->setWorldTransform(QTransform());
        painter->drawPixmap(piece_at, piece);
        painter->setWorldTransform(restore);
    }
}

std::shared_ptr<const kept_drop_shadow_c::shadow_t>
kept_drop_shadow_c::shadow_of(const QImage& source) {
    // The key: the effect's parameters, the size and the print of the alpha plane.
    const QByteArray key =
        QByteArray::number(source.width()) + 'x' + QByteArray::number(source.height()) + '@' +
        QByteArray::number(source.devicePixelRatioF()) + '/' + QByteArray::number(offset().x()) +
        ',' + QByteArray::number(offset().y()) + '/' + QByteArray::number(blurRadius()) + '/' +
        QByteArray::number(color().rgba()) + ':' + alpha_print(source);
    QHash<QByteArray, shadow_ptr>& shadows = shadow_cache();
    auto it = shadows.constFind(key);
    if (it != shadows.constEnd())
        return *it;
    if (shadows.size() >= kept_shadows)
        shadows.clear();
    ++m_counts.shadows_made;
    auto made = std::make_shared<shadow_t>();
    made->image = make_shadow(source);
    made->visible = uncovered(source);
    if (made->image.isNull())
        write_log(QStringLiteral("A drop shadow of %1 x %2 pixels could not be made.")
                      .arg(source.width())
                      .arg(source.height()));
    return *shadows.insert(key, std::move(made));
}

// As Qt's drop-shadow filter makes it: the source moved by the offset, its alpha
// blurred, then filled with the colour.
QImage kept_drop_shadow_c::make_shadow(const QImage& source) const {
    QImage shadow(source.size(), QImage::Format_ARGB32_Premultiplied);
    shadow.setDevicePixelRatio(source.devicePixelRatioF());
    shadow.fill(0);
    QPainter moved(&shadow);
    moved.setCompositionMode(QPainter::CompositionMode_Source);
    moved.drawImage(offset(), source);
    moved.end();
    QImage blurred(shadow.size(), QImage::Format_ARGB32_Premultiplied);
    blurred.setDevicePixelRatio(source.devicePixelRatioF());
    blurred.fill(0);
    QPainter blur(&blurred);
    qt_blurImage(&blur, shadow, blurRadius(), false, true);
    blur.end();
    QPainter tint(&blurred);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(blurred.rect(), color());
    tint.end();
    return blurred;
}
