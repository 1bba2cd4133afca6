#include "button_sets/preset_strip_widgets.h"

#include "common/log.h"

#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QTextDocument>
#include <QtMath>

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

QSize strip_label_c::sizeHint() const {
    // No text, word wrap, rich text, pictures and indents take the label's own measuring.
    if (text().isEmpty() || wordWrap() || !pixmap(Qt::ReturnByValue).isNull() || indent() > 0 ||
        margin() != 0 || Qt::mightBeRichText(text()))
        return QLabel::sizeHint();
    if (m_size.isEmpty() || m_sized_text != text() || m_sized_font != font()) {
        // As a text layout measures a line: the advance, plus the part of the last letter
        // that reaches past it, rounded up.
        const QFontMetricsF fm(font());
        const QString shown = text();
        const qreal overhang = qMax(qreal(0), -fm.rightBearing(shown.back()));
        const QMargins m = contentsMargins();
        m_size = QSize(qCeil(fm.horizontalAdvance(shown) + overhang) + m.left() + m.right(),
                       fontMetrics().height() + m.top() + m.bottom())
                     .expandedTo(minimumSize());
        m_sized_text = text();
        m_sized_font = font();
    }
    return m_size;
}

QSize strip_label_c::minimumSizeHint() const {
    return sizeHint();
}

void strip_label_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(m_colour);
    p.drawText(contentsRect(),
               int(QStyle::visualAlignment(layoutDirection(), alignment())) |
                   (wordWrap() ? int(Qt::TextWordWrap) : 0),
               text());
}
