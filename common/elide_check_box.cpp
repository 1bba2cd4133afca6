#include "common/elide_check_box.h"

#include <QStyleOptionButton>
#include <QStylePainter>

elide_check_box_c::elide_check_box_c(QWidget* parent)
    : QCheckBox(parent) {}

elide_check_box_c::elide_check_box_c(const QString& text, QWidget* parent)
    : QCheckBox(text, parent) {}

void elide_check_box_c::setElideMode(Qt::TextElideMode mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    QStyleOptionButton option;
    initStyleOption(&option);
    elide(option, true);
    update();
}

QSize elide_check_box_c::minimumSizeHint() const {
    if (m_mode == Qt::ElideNone)
        return QCheckBox::minimumSizeHint();
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(QStringLiteral("...")), metrics.height()};
}

void elide_check_box_c::elide(const QStyleOptionButton& option, bool always) {
    const QRect rect = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    if (!always && rect == m_rect && option.text == m_full_text)
        return;
    m_rect = rect;
    m_full_text = option.text;
    // The style keeps this gap between the indicator and the text inside the contents.
    const int offset = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    m_elided_text = option.fontMetrics.elidedText(option.text, m_mode, rect.width() - offset,
                                                  Qt::TextShowMnemonic);
}

void elide_check_box_c::paintEvent(QPaintEvent* event) {
    if (m_mode == Qt::ElideNone) {
        QCheckBox::paintEvent(event);
        return;
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    elide(option, false);
    option.text = m_elided_text;
    QStylePainter painter(this);
    painter.drawControl(QStyle::CE_CheckBox, option);
}
