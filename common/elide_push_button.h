// A push button that shortens its text with an ellipsis when it does not fit.
#pragma once

#include <QPushButton>

class QStyleOptionButton;

class elide_push_button_c : public QPushButton {
    Q_OBJECT

public:
    explicit elide_push_button_c(QWidget* parent = nullptr);
    explicit elide_push_button_c(const QString& text, QWidget* parent = nullptr);

    // Qt::ElideNone (the default) draws and sizes exactly like QPushButton.
    void setElideMode(Qt::TextElideMode mode);
    Qt::TextElideMode elideMode() const { return m_mode; }
    // The text as last drawn (or computed for a new mode).
    QString elidedText() const { return m_elided_text; }

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void elide(const QStyleOptionButton& option, bool always);

    Qt::TextElideMode m_mode = Qt::ElideNone;
    QRect m_rect;
    QString m_full_text;
    QString m_elided_text;
};
