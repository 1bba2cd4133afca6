// koral's row for a value a person sets by dragging: an optional name on the left, the
// slider, and the value it holds read out on the right. The value boxes and the
// advanced boxes share it, so both look alike.
#pragma once

#include <QString>

class QHBoxLayout;
class QLabel;
class QWidget;
class slider_widget_c;

struct slider_row_t {
    QHBoxLayout* layout = nullptr;
    slider_widget_c* slider = nullptr;
    // The read-out ("lb_value", styled by the value forms' style sheet).
    QLabel* value = nullptr;
};

// A slider named `slider_name` from `min` to `max` in steps of 1 and its read-out, in
// a row with `spacing` between its parts, all children of `parent`; `name`, when
// given, leads the row. The caller adds the row's layout to its own.
slider_row_t make_slider_row(QWidget* parent, const QString& slider_name, int min, int max,
                             int spacing, QWidget* name = nullptr);
