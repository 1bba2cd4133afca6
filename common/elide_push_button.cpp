#include "common/elide_push_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

elide_push_button_c::elide_push_button_c(QWidget* parent)
    : QPushButton(parent) {}

elide_push_button_c::elide_push_button_c(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {}

void elide_push_button_c::setElideMode(Qt::TextElideMode mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    QStyleOptionButton option;
    initStyleOption(&option);
    elide(option, true);
    update();
}

QSize elide_push_button_c::minimumSizeHint() const {
    if (m_mode == Qt::ElideNone)
        return QPushButton::minimumSizeHint();
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(QStringLiteral("...")), metrics.height()};
}

void elide_push_button_c::elide(const QStyleOptionButton& option, bool always) {
    const QRect rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (!always && rect == m_rect && option.text == m_full_text)
        return;
    m_rect = rect;
    m_full_text = option.text;
    // The style keeps a margin before the text, and the icon (with its gap) stands before it.
    int offset = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
    if (!option.icon.isNull())
        offset += option.iconSize.width() + 4;
    m_elided_text = option.fontMetrics.elidedText(option.text, m_mode, rect.width() - offset,
                                                  Qt::TextShowMnemonic);
}

void elide_push_button_c::paintEvent(QPaintEvent* event) {
    if (m_mode == Qt::ElideNone) {
        QPushButton::paintEvent(event);
        return;
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    elide(option, false);
    option.text = m_elided_text;
    QStylePainter painter(this);
    painter.drawControl(QStyle::CE_PushButton, option);
}
