#include "common/elide_label.h"

#include <QPainter>
#include <QStyle>

elide_label_c::elide_label_c(QWidget* parent, Qt::WindowFlags flags)
    : QLabel(parent, flags) {}

elide_label_c::elide_label_c(const QString& text, QWidget* parent, Qt::WindowFlags flags)
    : QLabel(text, parent, flags) {}

void elide_label_c::setElideMode(Qt::TextElideMode mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    m_full_text = text();
    m_elided_text =
        fontMetrics().elidedText(m_full_text, m_mode, m_rect.right() - m_rect.left() + 1);
    update();
}

QSize elide_label_c::minimumSizeHint() const {
    if (m_mode == Qt::ElideNone)
        return QLabel::minimumSizeHint();
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(QStringLiteral("...")), metrics.height()};
}

void elide_label_c::paintEvent(QPaintEvent* event) {
    const QString full = text();
    if (m_mode == Qt::ElideNone || full.isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect rect = contentsRect().translated(margin(), margin());
    if (rect != m_rect || full != m_full_text) {
        m_rect = rect;
        m_full_text = full;
        m_elided_text = fontMetrics().elidedText(full, m_mode, rect.right() - rect.left() + 1);
    }
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, rect, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), m_elided_text, foregroundRole());
}
