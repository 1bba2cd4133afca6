#include "lighting/painted_fields.h"

#include "buttons/box_widgets.h"

#include <QPainter>

namespace {

constexpr int effect_radius = 4;
constexpr int effect_padding_left = 10;
constexpr int effect_padding_right = 30;
// The arrow sits 12 pixels in from the right edge, centred in height.
const QSize effect_arrow_size(12, 8);
constexpr int effect_arrow_right = 12;

const QString arrow_normal =
    QStringLiteral(":/graphics/button_assignment/Dropdown/arrow_normal.png");
const QString arrow_disabled =
    QStringLiteral(":/graphics/button_assignment/Dropdown/arrow_disabled.png");

struct effect_colours_t {
    QColor text;
    QColor fill;
    QColor border;
};

const effect_colours_t& effect_colours(effect_button_c::state s) {
    static const effect_colours_t table[] = {
        {QColor(208, 208, 208), QColor(16, 18, 21), QColor(44, 48, 55)},
        {QColor(240, 240, 240), QColor(16, 18, 21), QColor(58, 167, 201)},
        {QColor(240, 240, 240), QColor(24, 27, 31), QColor(58, 167, 201)},
        {QColor(75, 76, 76), QColor(16, 18, 21), QColor(36, 39, 45)},
    };
    return table[int(s)];
}

} // namespace

// ------------------------------------------------------------------ colour_field_c

colour_field_c::colour_field_c(QWidget* parent)
    : QWidget(parent) {}

void colour_field_c::set_colour(const QColor& colour) {
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void colour_field_c::paintEvent(QPaintEvent*) {
    if (m_colour.alpha() == 0)
        return;
    QPainter p(this);
    p.fillRect(rect(), m_colour);
}

// ------------------------------------------------------------------ enabled_picture_c

enabled_picture_c::enabled_picture_c(QWidget* parent)
    : QWidget(parent) {}

void enabled_picture_c::set_pictures(const QString& enabled, const QString& disabled) {
    m_enabled = enabled;
    m_disabled = disabled;
    update();
}

const QString& enabled_picture_c::shown_picture() const {
    return isEnabled() || m_disabled.isEmpty() ? m_enabled : m_disabled;
}

void enabled_picture_c::paintEvent(QPaintEvent*) {
    const QString& path = shown_picture();
    if (path.isEmpty())
        return;
    QPainter p(this);
    p.drawPixmap(rect(), box_look::picture(path, size(), devicePixelRatioF()));
}

// ------------------------------------------------------------------ effect_button_c

effect_button_c::effect_button_c(QWidget* parent)
    : elide_push_button_c(parent) {
    setAttribute(Qt::WA_Hover);
    m_shown.set_mode(Qt::ElideRight);
}

effect_button_c::state effect_button_c::current_state() const {
    if (!isEnabled())
        return state::disabled;
    if (isDown())
        return state::pressed;
    return underMouse() || hasFocus() ? state::lit : state::normal;
}

QColor effect_button_c::text_colour() const {
    return effect_colours(current_state()).text;
}

QColor effect_button_c::border_colour() const {
    return effect_colours(current_state()).border;
}

QColor effect_button_c::fill_colour() const {
    return effect_colours(current_state()).fill;
}

const QString& effect_button_c::arrow_picture() const {
    return isEnabled() ? arrow_normal : arrow_disabled;
}

QRect effect_button_c::text_rect() const {
    return rect().adjusted(1 + effect_padding_left, 1, -1 - effect_padding_right, -1);
}

QRect effect_button_c::arrow_rect() const {
    return QRect(QPoint(width() - effect_arrow_right - effect_arrow_size.width(),
                        (height() - effect_arrow_size.height()) / 2),
                 effect_arrow_size);
}

QString effect_button_c::shown_text() {
    const QRect room = text_rect();
    m_shown.set_mode(elideMode() == Qt::ElideNone ? Qt::ElideRight : elideMode());
    m_shown.update(room, text(), font(), room.width(), Qt::TextShowMnemonic, false);
    return m_shown.text();
}

void effect_button_c::paintEvent(QPaintEvent*) {
    const effect_colours_t& colours = effect_colours(current_state());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colours.border, 1));
    p.setBrush(colours.fill);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), effect_radius, effect_radius);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawPixmap(arrow_rect(),
                 box_look::picture(arrow_picture(), effect_arrow_size, devicePixelRatioF()));
    p.setPen(colours.text);
    p.drawText(text_rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, shown_text());
}
