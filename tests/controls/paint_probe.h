// What a self-painting widget put on screen, read back as pixels: the widget drawn on a
// transparent image (no window background), and the reference a picture file gives at a
// size, decoded here on its own so a stale cache in the widget cannot agree with it.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>

namespace paint_probe {

inline QImage render(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The picture at `path` stretched to `size` over `background`.
inline QImage picture(const QString& path, const QSize& size,
                      const QColor& background = Qt::transparent) {
    QImage source(path);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    if (!source.isNull()) {
        QPainter p(&image);
        p.drawImage(QRect(QPoint(), size),
                    source.size() == size
                        ? source
                        : source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The distinct colours of the fully opaque pixels inside `area`.
inline QList<QRgb> opaque_colours(const QImage& image, const QRect& area) {
    QList<QRgb> colours;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 255 && !colours.contains(pixel))
                colours << pixel;
        }
    }
    return colours;
}

} // namespace paint_probe
