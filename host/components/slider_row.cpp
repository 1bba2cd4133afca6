#include "host/components/slider_row.h"

#include "host/components/component_style.h"
#include "host/components/slider.h"

#include <QHBoxLayout>
#include <QPainter>

namespace {

QFont sized(QFont font, int pixel_size, bool bold) {
    font.setPixelSize(pixel_size);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

} // namespace

painted_label_c::painted_label_c(const QColor& colour, const QColor& disabled, int pixel_size,
                                 bool bold, QWidget* parent)
    : QLabel(parent)
    , m_colour(colour)
    , m_disabled(disabled) {
    setFont(sized(font(), pixel_size, bold));
}

void painted_label_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(isEnabled() ? m_colour : m_disabled);
    const int flags = int(alignment()) | (wordWrap() ? int(Qt::TextWordWrap) : 0);
    p.drawText(contentsRect(), flags, text());
}

painted_button_c::painted_button_c(const look_t& look, QWidget* parent)
    : QPushButton(parent)
    , m_look(look) {
    setFont(sized(font(), look.pixel_size, true));
    setAttribute(Qt::WA_Hover);
}

QSize painted_button_c::sizeHint() const {
    return QSize(fontMetrics().size(Qt::TextShowMnemonic, text()).width() + 2 * m_look.padding + 2,
                 m_look.content_height + 2);
}

QSize painted_button_c::minimumSizeHint() const {
    return sizeHint();
}

void painted_button_c::paintEvent(QPaintEvent*) {
    const colours_t& c = isChecked()                                           ? m_look.checked
                         : underMouse() || (m_look.lit_by_focus && hasFocus()) ? m_look.lit
                                                                               : m_look.normal;
    QPainter p(this);
    if (m_look.radius > 0) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(c.border, 1));
        p.setBrush(c.background);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_look.radius,
                          m_look.radius);
    } else {
        p.fillRect(rect(), c.background);
        p.setPen(c.border);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    p.setPen(c.text);
    p.drawText(rect().adjusted(1 + m_look.padding, 1, -1 - m_look.padding, -1), Qt::AlignCenter,
               text());
}

slider_row_t make_slider_row(QWidget* parent, const QString& slider_name, int min, int max,
                             int spacing, QWidget* name) {
    slider_row_t row;
    row.slider = new slider_widget_c(parent);
    row.slider->setObjectName(slider_name);
    row.slider->set_geometry_parts(6, 18, 16, 12);
    row.slider->set_margins(4, 0);
    row.slider->set_range(max, min, 1);
    row.value = new painted_label_c(component_style::readout, component_style::text_disabled, 18,
                                    true, parent);
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
