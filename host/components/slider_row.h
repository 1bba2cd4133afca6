// koral's row for a value a person sets by dragging (an optional name on the left, the
// slider, and the value it holds read out on the right), and the painted label and
// button the boxes' forms are made of. A form built from these needs no style sheet:
// a sheet makes every widget of the form go through style-sheet polishing on each page
// opening, and a window's sheet that colours all labels leaves these alone.
#pragma once

#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QString>

class QHBoxLayout;
class QWidget;
class slider_widget_c;

// A label that paints its text in its own colours and font.
class painted_label_c final : public QLabel {
public:
    painted_label_c(const QColor& colour, const QColor& disabled, int pixel_size, bool bold,
                    QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
    QColor m_disabled;
};

// A push button that paints its background, its one-pixel border and its text itself.
class painted_button_c final : public QPushButton {
public:
    struct colours_t {
        QColor background;
        QColor text;
        QColor border;
    };
    struct look_t {
        colours_t normal;
        // Under the pointer or with the keyboard focus.
        colours_t lit;
        // Checked (checkable buttons).
        colours_t checked;
        // Whether the keyboard focus lights it as the pointer does.
        bool lit_by_focus = true;
        int radius = 0;
        // Left and right, between the border and the text.
        int padding = 0;
        // The height inside the border.
        int content_height = 0;
        int pixel_size = 12;
    };
    painted_button_c(const look_t& look, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    look_t m_look;
};

struct slider_row_t {
    QHBoxLayout* layout = nullptr;
    slider_widget_c* slider = nullptr;
    // The read-out ("lb_value"): 18 px bold in the read-out colour.
    QLabel* value = nullptr;
};

// A slider named `slider_name` from `min` to `max` in steps of 1 and its read-out, in
// a row with `spacing` between its parts, all children of `parent`; `name`, when
// given, leads the row. The caller adds the row's layout to its own.
slider_row_t make_slider_row(QWidget* parent, const QString& slider_name, int min, int max,
                             int spacing, QWidget* name = nullptr);
