#include "common/elide_label.h"

#include <QPainter>
#include <QStyle>

elide_label_c::elide_label_c(QWidget* parent, Qt::WindowFlags flags)
    : QLabel(parent, flags) {}

elide_label_c::elide_label_c(const QString& text, QWidget* parent, Qt::WindowFlags flags)
    : QLabel(text, parent, flags) {}

void elide_label_c::setElideMode(Qt::TextElideMode mode) {
    if (!m_text.set_mode(mode))
        return;
    const QRect rect = m_text.rect();
    m_text.update(rect, text(), font(), rect.right() - rect.left() + 1, 0, true);
    update();
}

QSize elide_label_c::minimumSizeHint() const {
    return m_text.minimum_size(QLabel::minimumSizeHint(), fontMetrics());
}

void elide_label_c::paintEvent(QPaintEvent* event) {
    const QString full = text();
    if (!m_text.eliding() || full.isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect rect = contentsRect().translated(margin(), margin());
    m_text.update(rect, full, font(), rect.right() - rect.left() + 1, 0, false);
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, rect, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), m_text.text(), foregroundRole());
}
