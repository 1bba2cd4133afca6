#include "button_sets/preset_strip_widgets.h"

#include "common/log.h"

#include <QPainter>
#include <QPixmapCache>
#include <QStyle>

QPixmap preset_strip::picture(const QString& path) {
    QPixmap pixmap;
    if (path.isEmpty() || QPixmapCache::find(path, &pixmap))
        return pixmap;
    if (!pixmap.load(path)) {
        write_log(QStringLiteral("Button-set presets: the picture %1 is missing").arg(path));
        return pixmap;
    }
    QPixmapCache::insert(path, pixmap);
    return pixmap;
}

strip_picture_c::strip_picture_c(QWidget* parent)
    : QWidget(parent) {}

void strip_picture_c::set_picture(const QString& path) {
    m_path = path;
    update();
}

void strip_picture_c::paintEvent(QPaintEvent*) {
    const QPixmap pixmap = preset_strip::picture(m_path);
    if (pixmap.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(rect(), pixmap);
}

strip_picture_button_c::strip_picture_button_c(QWidget* parent)
    : QPushButton(parent) {}

void strip_picture_button_c::set_pictures(const QString& normal, const QString& over) {
    m_normal = normal;
    m_over = over;
    update();
}

void strip_picture_button_c::paintEvent(QPaintEvent*) {
    const QPixmap pixmap = preset_strip::picture(m_lit ? m_over : m_normal);
    if (pixmap.isNull())
        return;
    // In the middle, made smaller (never larger) to fit.
    QSize size = pixmap.size() / pixmap.devicePixelRatio();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    const QRect place = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, rect());
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(place, pixmap);
}

void strip_picture_button_c::enterEvent(QEvent* event) {
    m_lit = true;
    QPushButton::enterEvent(event);
    update();
}

void strip_picture_button_c::leaveEvent(QEvent* event) {
    m_lit = false;
    QPushButton::leaveEvent(event);
    update();
}

strip_label_c::strip_label_c(QWidget* parent)
    : QLabel(parent) {}

void strip_label_c::set_colour(const QColor& colour) {
    m_colour = colour;
    update();
}

void strip_label_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(m_colour);
    p.drawText(contentsRect(),
               int(QStyle::visualAlignment(layoutDirection(), alignment())) |
                   (wordWrap() ? int(Qt::TextWordWrap) : 0),
               text());
}
