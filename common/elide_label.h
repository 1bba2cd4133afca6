// A label that shortens its text with an ellipsis when it does not fit.
#pragma once

#include "common/elided_text.h"

#include <QLabel>

class elide_label_c : public QLabel {
    Q_OBJECT

public:
    explicit elide_label_c(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    explicit elide_label_c(const QString& text, QWidget* parent = nullptr,
                           Qt::WindowFlags flags = Qt::WindowFlags());

    // Qt::ElideNone (the default) draws and sizes exactly like QLabel.
    void setElideMode(Qt::TextElideMode mode);
    Qt::TextElideMode elideMode() const { return m_text.mode(); }
    // The text as last drawn (or computed for a new mode).
    QString elidedText() const { return m_text.text(); }

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    elided_text_c m_text;
};
