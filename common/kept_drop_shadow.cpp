#include "common/kept_drop_shadow.h"

#include "common/log.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
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

// The alpha plane of a premultiplied ARGB32 image, one byte a pixel.
QImage alpha_plane(const QImage& image) {
    QImage alpha(image.size(), QImage::Format_Alpha8);
    alpha.setDevicePixelRatio(image.devicePixelRatioF());
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        uchar* out = alpha.scanLine(y);
        int x = 0;
#if defined(__SSE2__)
        for (; x + 16 <= width; x += 16) {
            const auto* at = reinterpret_cast<const __m128i*>(line + 4 * x);
            const __m128i p0 = _mm_srli_epi32(_mm_loadu_si128(at), 24);
            const __m128i p1 = _mm_srli_epi32(_mm_loadu_si128(at + 1), 24);
            const __m128i p2 = _mm_srli_epi32(_mm_loadu_si128(at + 2), 24);
            const __m128i p3 = _mm_srli_epi32(_mm_loadu_si128(at + 3), 24);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                             _mm_packus_epi16(_mm_packs_epi32(p0, p1), _mm_packs_epi32(p2, p3)));
        }
#endif
        for (; x < width; ++x)
            out[x] = line[4 * x + 3];
    }
    return alpha;
}

// A 128-bit print of an alpha plane: eight alphas a word, pairs of words into the
// two mixes (a stray word and the row's end into both).
QByteArray alpha_print(const QImage& alpha) {
    alpha_print_c print;
    const int width = alpha.width();
    for (int y = 0; y < alpha.height(); ++y) {
        const uchar* line = alpha.constScanLine(y);
        int x = 0;
        for (; x + 16 <= width; x += 16) {
            quint64 words[2];
            std::memcpy(words, line + x, sizeof(words));
            print.mix_pair(words[0], words[1]);
        }
        for (; x + 8 <= width; x += 8) {
            quint64 word;
            std::memcpy(&word, line + x, sizeof(word));
            print.mix(word);
        }
        for (; x < width; ++x)
            print.mix(line[x]);
        // Rows of different widths never read alike.
        print.mix(0xffffffff00000000ull | quint64(y));
    }
    return print.text();
}

// Whether the alphas of `piece` (premultiplied ARGB32) equal those of the alpha plane
// at `at` (the piece lies inside).
bool same_alpha(const QImage& piece, const QImage& alpha, QPoint at) {
    for (int y = 0; y < piece.height(); ++y) {
        const uchar* a = piece.constScanLine(y);
        const uchar* b = alpha.constScanLine(at.y() + y) + at.x();
        for (int x = 0; x < piece.width(); ++x) {
            if (a[4 * x + 3] != b[x])
                return false;
        }
    }
    return true;
}

// The pixels that the alpha plane does not cover fully, as bands of equal rows: only
// there can a shadow drawn under the source be seen.
QRegion uncovered(const QImage& alpha) {
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> band, row;
    int band_top = 0;
    const int width = alpha.width();
    const auto close_band = [&](int bottom) {
        for (const auto& span : band)
            rects.emplace_back(span.first, band_top, span.second - span.first, bottom - band_top);
    };
    for (int y = 0; y < alpha.height(); ++y) {
        const uchar* line = alpha.constScanLine(y);
        row.clear();
        for (int x = 0; x < width;) {
            // Eight covered pixels a step through the panel's inside.
            if (x + 8 <= width) {
                quint64 word;
                std::memcpy(&word, line + x, sizeof(word));
                if (word == ~quint64(0)) {
                    x += 8;
                    continue;
                }
            }
            if (line[x] == 255) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && line[x] != 255)
                ++x;
            row.emplace_back(start, x);
        }
        if (y > 0 && row == band)
            continue;
        close_band(y);
        band.swap(row);
        band_top = y;
    }
    close_band(alpha.height());
    if (int(rects.size()) > max_visible_rects)
        return QRegion(alpha.rect());
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
    if (!m_shadow || m_alpha.isNull() || !m_widget || !engine || !device ||
        device->devicePixelRatioF() != 1.0 || m_alpha.devicePixelRatioF() != 1.0)
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
    if (effect_rect.size() != m_alpha.size())
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
    if (!same_alpha(piece, m_alpha, in_source))
        return false;
    ++m_counts.part_renders;
    draw_kept(painter, rendered, box.topLeft());
    return true;
}

void kept_drop_shadow_c::draw_full(QPainter* painter) {
    QPoint at;
    const QPixmap source = sourcePixmap(Qt::DeviceCoordinates, &at, PadToEffectiveBoundingRect);
    ++m_counts.full_renders;
    if (source.isNull()) {
        m_alpha = QImage();
        m_shadow.reset();
        return;
    }
    const QImage rendered = source.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_alpha = alpha_plane(rendered);
    m_source_at = at;
    m_shadow = shadow_of(rendered);
    draw_kept(painter, source, at);
}

// The kept shadow where it can be seen, then the piece of the widget at `piece_at`
// (device coordinates).
void kept_drop_shadow_c::draw_kept(QPainter* painter, const QPixmap& piece, QPoint piece_at) const {
    const QTransform restore = painter->worldTransform();
    painter->setWorldTransform(QTransform());
    for (const shadow_piece_t& kept : m_shadow->pieces)
        painter->drawImage(m_source_at + kept.at, kept.image);
    if (!piece.isNull())
        painter->drawPixmap(piece_at, piece);
    painter->setWorldTransform(restore);
}

std::shared_ptr<const kept_drop_shadow_c::shadow_t>
kept_drop_shadow_c::shadow_of(const QImage& source) {
    // The key: the effect's parameters, the size and the print of the alpha plane.
    const QByteArray key =
        QByteArray::number(source.width()) + 'x' + QByteArray::number(source.height()) + '@' +
        QByteArray::number(source.devicePixelRatioF()) + '/' + QByteArray::number(offset().x()) +
        ',' + QByteArray::number(offset().y()) + '/' + QByteArray::number(blurRadius()) + '/' +
        QByteArray::number(color().rgba()) + ':' + alpha_print(m_alpha);
    QHash<QByteArray, shadow_ptr>& shadows = shadow_cache();
    auto it = shadows.constFind(key);
    if (it != shadows.constEnd())
        return *it;
    if (shadows.size() >= kept_shadows)
        shadows.clear();
    ++m_counts.shadows_made;
    auto made = std::make_shared<shadow_t>();
    const QImage whole = make_shadow(source);
    if (whole.isNull()) {
        write_log(QStringLiteral("A drop shadow of %1 x %2 pixels could not be made.")
                      .arg(source.width())
                      .arg(source.height()));
    } else if (source.devicePixelRatioF() != 1.0) {
        // Device pixels and the painter's logical ones differ: drawn whole.
        made->pieces.push_back({QPoint(), whole});
    } else {
        const QRegion visible = uncovered(m_alpha);
        made->pieces.reserve(size_t(visible.rectCount()));
        for (const QRect& rect : visible) {
            made->pieces.push_back(
                {rect.topLeft(), rect == whole.rect() ? whole : whole.copy(rect)});
        }
    }
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
