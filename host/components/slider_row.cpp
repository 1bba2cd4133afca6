#include "host/components/slider_row.h"

#include "host/components/slider.h"

#include <QHBoxLayout>
#include <QLabel>

slider_row_t make_slider_row(QWidget* parent, const QString& slider_name, int min, int max,
                             int spacing, QWidget* name) {
    slider_row_t row;
    row.slider = new slider_widget_c(parent);
    row.slider->setObjectName(slider_name);
    row.slider->set_geometry_parts(6, 18, 16, 12);
    row.slider->set_margins(4, 0);
    row.slider->set_range(max, min, 1);
    row.value = new QLabel(parent);
    row.value->setObjectName(QStringLiteral("lb_value"));
    row.value->setAlignment(Qt::AlignCenter);
    row.value->setFixedSize(46, 26);
    row.layout = new QHBoxLayout;
    row.layout->setSpacing(spacing);
    // Top-aligned: the slider's marks hang below its groove, level with nothing else.
    if (name)
        row.layout->addWidget(name, 0, Qt::AlignTop);
    row.layout->addWidget(row.slider, 1, Qt::AlignTop);
    row.layout->addWidget(row.value, 0, Qt::AlignTop);
    return row;
}
