// Eliding for buttons that draw through one style control: the style lays the
// button out as usual and draws the shortened text in place of the full one,
// so indicator, icon and focus frame stay as the style draws them.
#pragma once

#include "common/elided_text.h"

#include <QStyleOptionButton>
#include <QStylePainter>

template <class Button, QStyle::SubElement Contents, QStyle::ControlElement Control>
class elide_button_t : public Button {
public:
    using Button::Button;

    // Qt::ElideNone (the default) draws and sizes exactly like the Qt button.
    void setElideMode(Qt::TextElideMode mode) {
        if (!m_text.set_mode(mode))
            return;
        QStyleOptionButton option;
        this->initStyleOption(&option);
        elide(option, true);
        this->update();
    }
    Qt::TextElideMode elideMode() const { return m_text.mode(); }
    // The text as last drawn (or computed for a new mode).
    QString elidedText() const { return m_text.text(); }

    QSize minimumSizeHint() const override {
        return m_text.minimum_size(Button::minimumSizeHint(), this->fontMetrics());
    }

protected:
    // Where the text starts inside the contents rectangle.
    virtual int text_offset(const QStyleOptionButton& option) const = 0;

    void paintEvent(QPaintEvent* event) override {
        if (!m_text.eliding()) {
            Button::paintEvent(event);
            return;
        }
        QStyleOptionButton option;
        this->initStyleOption(&option);
        elide(option, false);
        option.text = m_text.text();
        QStylePainter painter(this);
        painter.drawControl(Control, option);
    }

private:
    void elide(const QStyleOptionButton& option, bool force) {
        const QRect rect = this->style()->subElementRect(Contents, &option, this);
        m_text.update(rect, option.text, this->font(), rect.width() - text_offset(option),
                      Qt::TextShowMnemonic, force);
    }

    elided_text_c m_text;
};
