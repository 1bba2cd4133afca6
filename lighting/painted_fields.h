// The lighting forms' widgets that paint themselves from cached pictures and colours set
// once, so the forms carry no style sheet (a sheet polishes every widget under it on each
// page opening and draws each through its rules).
#pragma once

#include "common/elide_push_button.h"
#include "common/elided_text.h"

#include <QColor>
#include <QString>
#include <QWidget>

// A field of one colour (with alpha); the LED preview's zones.
class colour_field_c : public QWidget {
    Q_OBJECT

public:
    explicit colour_field_c(QWidget* parent = nullptr);

    void set_colour(const QColor& colour);
    const QColor& colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour = Qt::transparent;
};

// A picture stretched over the widget: one while enabled, another while disabled.
class enabled_picture_c : public QWidget {
    Q_OBJECT

public:
    explicit enabled_picture_c(QWidget* parent = nullptr);

    void set_pictures(const QString& enabled, const QString& disabled);
    const QString& shown_picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_enabled;
    QString m_disabled;
};

// The colour-flow button: a dark rounded field with its text on the left, shortened with an
// ellipsis, and the drop-down arrow on the right. The border and text light up under the
// pointer and with keyboard focus.
class effect_button_c : public elide_push_button_c {
    Q_OBJECT

public:
    enum class state { normal, lit, pressed, disabled };

    explicit effect_button_c(QWidget* parent = nullptr);

    state current_state() const;
    QColor text_colour() const;
    QColor border_colour() const;
    QColor fill_colour() const;
    const QString& arrow_picture() const;
    QRect text_rect() const;
    QRect arrow_rect() const;
    // The text as it is drawn now.
    QString shown_text();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    elided_text_c m_shown;
};
