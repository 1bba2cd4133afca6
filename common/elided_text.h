// The shortened form of a widget's text, kept until the space, the text or the font changes.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>

class elided_text_c {
public:
    Qt::TextElideMode mode() const { return m_mode; }
    // False when `mode` is the current one: nothing needs computing again.
    bool set_mode(Qt::TextElideMode mode) {
        if (mode == m_mode)
            return false;
        m_mode = mode;
        return true;
    }
    bool eliding() const { return m_mode != Qt::ElideNone; }
    const QString& text() const { return m_elided; }

    // Shortens `full` to `width` in `font` when forced or when the rectangle, the text or
    // the font differs from the ones the current form was computed for (forms change the
    // font family with the language, often without changing the text's space).
    void update(const QRect& rect, const QString& full, const QFont& font, int width, int flags,
                bool force) {
        if (!force && rect == m_rect && full == m_full && font == m_font)
            return;
        m_rect = rect;
        m_full = full;
        m_font = font;
        m_elided = QFontMetrics(font).elidedText(full, m_mode, width, flags);
    }
    // The rectangle the current form was computed for (empty before the first paint).
    const QRect& rect() const { return m_rect; }

    // With eliding a layout may shrink the widget down to an ellipsis.
    QSize minimum_size(const QSize& base, const QFontMetrics& metrics) const {
        if (!eliding())
            return base;
        return {metrics.horizontalAdvance(QStringLiteral("...")), metrics.height()};
    }

private:
    Qt::TextElideMode m_mode = Qt::ElideNone;
    QRect m_rect;
    QString m_full;
    QFont m_font;
    QString m_elided;
};
