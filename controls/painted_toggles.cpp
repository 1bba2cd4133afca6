#include "controls/painted_toggles.h"

#include "buttons/box_widgets.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmapCache>
#include <qdrawutil.h>

namespace {

const QString check_folder = QStringLiteral(":/graphics/controls/check_box/");
const QString radio_folder = QStringLiteral(":/graphics/controls/radio_button/");
const QString field_normal = QStringLiteral(":/graphics/controls/Typin_field.png");
const QString field_disabled = QStringLiteral(":/graphics/controls/Typin_field_disabled.png");
constexpr int field_border = 5;
const QColor field_text(208, 208, 208);
const QColor field_text_disabled(75, 76, 76);

// The typing field at `size`: its 5-pixel border kept, its middle stretched.
QPixmap field_picture(const QString& path, const QSize& size, qreal ratio) {
    if (size.isEmpty())
        return QPixmap();
    const QString key = box_look::cache_key(
        QLatin1String("quil_field/"), {size.width(), size.height(), qRound(ratio * 100)}, path);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const QPixmap source = box_look::source(path);
    if (source.isNull())
        return QPixmap();
    pixmap = QPixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QMargins border(field_border, field_border, field_border, field_border);
    qDrawBorderPixmap(&p, QRect(QPoint(), size), border, source, source.rect(), border);
    p.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QRect indicator_in(const QWidget* button, const QSize& indicator) {
    return QRect(QPoint(0, (button->height() - indicator.height()) / 2), indicator);
}

int text_left(const QSize& indicator, int spacing) {
    return indicator.width() + spacing;
}

QSize toggle_size(const QAbstractButton* button, const toggle_look_t& look) {
    int width = look.indicator.width();
    if (!button->text().isEmpty())
        width +=
            look.spacing + button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
    return QSize(width, qMax(look.indicator.height(), button->fontMetrics().height()));
}

// The indicator and its text take the click, as with any check box.
bool toggle_hit(const QAbstractButton* button, const toggle_look_t& look, const QPoint& pos) {
    int right = look.indicator.width();
    if (!button->text().isEmpty())
        right = text_left(look.indicator, look.spacing) +
                button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
    return pos.x() >= 0 && pos.x() < right && pos.y() >= 0 && pos.y() < button->height();
}

void paint_toggle(QAbstractButton* button, const toggle_look_t& look) {
    QPainter p(button);
    const QRect indicator = indicator_in(button, look.indicator);
    const QString& path = look.picture_for(button);
    if (!path.isEmpty())
        p.drawPixmap(indicator,
                     box_look::picture(path, indicator.size(), button->devicePixelRatioF()));
    if (button->text().isEmpty())
        return;
    p.setPen(look.text_for(button));
    const int left = text_left(look.indicator, look.spacing);
    p.drawText(QRect(left, 0, button->width() - left, button->height()),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, button->text());
}

} // namespace

// ------------------------------------------------------------------ toggle_look_t

toggle_look_t toggle_look_t::check_box() {
    toggle_look_t look;
    look.off = check_folder + QStringLiteral("checkbox_unchecked.png");
    look.off_hover = check_folder + QStringLiteral("checkbox_unchecked_hover.png");
    look.off_disabled = check_folder + QStringLiteral("checkbox_unchecked_disabled.png");
    look.on = check_folder + QStringLiteral("checkbox_checked.png");
    look.on_hover = check_folder + QStringLiteral("checkbox_checked_hover.png");
    look.on_disabled = check_folder + QStringLiteral("checkbox_checked_disabled.png");
    look.indicator = QSize(19, 18);
    look.text = look.text_checked = look.text_disabled = QColor(208, 208, 208);
    look.text_hover = QColor(240, 240, 240);
    return look;
}

toggle_look_t toggle_look_t::radio() {
    toggle_look_t look;
    look.off = radio_folder + QStringLiteral("radio_off.png");
    look.off_hover = radio_folder + QStringLiteral("radio_off_hover.png");
    look.off_disabled = radio_folder + QStringLiteral("radio_off_disabled.png");
    look.on = radio_folder + QStringLiteral("radio_on.png");
    look.on_hover = radio_folder + QStringLiteral("radio_on_hover.png");
    look.on_disabled = radio_folder + QStringLiteral("radio_on_disabled.png");
    look.indicator = QSize(16, 16);
    look.spacing = 7;
    look.text = QColor(138, 138, 138);
    look.text_hover = QColor(200, 200, 200);
    look.text_checked = QColor(230, 230, 230);
    look.text_disabled = QColor(75, 76, 76);
    return look;
}

const QString& toggle_look_t::picture_for(const QAbstractButton* button) const {
    const bool on = button->isChecked();
    if (!button->isEnabled()) {
        const QString& disabled = on ? on_disabled : off_disabled;
        if (!disabled.isEmpty())
            return disabled;
    } else if (button->underMouse()) {
        const QString& hover = on ? on_hover : off_hover;
        if (!hover.isEmpty())
            return hover;
    }
    return on ? this->on : off;
}

QColor toggle_look_t::text_for(const QAbstractButton* button) const {
    // Disabled wins over checked, checked over hover; keyboard focus shows as hover. A look
    // whose checked colour is its normal one lights up under the pointer when checked too.
    if (!button->isEnabled())
        return text_disabled;
    if (button->isChecked() && text_checked != text)
        return text_checked;
    if (button->underMouse() || button->hasFocus())
        return text_hover;
    return text;
}

// ------------------------------------------------------------------ picture_toggle_check_c

picture_toggle_check_c::picture_toggle_check_c(QWidget* parent)
    : QCheckBox(parent) {
    setAttribute(Qt::WA_Hover);
}

void picture_toggle_check_c::set_look(const toggle_look_t& look) {
    m_look = look;
    updateGeometry();
    update();
}

QRect picture_toggle_check_c::indicator_rect() const {
    return indicator_in(this, m_look.indicator);
}

QSize picture_toggle_check_c::sizeHint() const {
    return toggle_size(this, m_look);
}

QSize picture_toggle_check_c::minimumSizeHint() const {
    return sizeHint();
}

bool picture_toggle_check_c::hitButton(const QPoint& pos) const {
    return toggle_hit(this, m_look, pos);
}

void picture_toggle_check_c::paintEvent(QPaintEvent*) {
    paint_toggle(this, m_look);
}

// ------------------------------------------------------------------ picture_toggle_radio_c

picture_toggle_radio_c::picture_toggle_radio_c(QWidget* parent)
    : QRadioButton(parent) {
    setAttribute(Qt::WA_Hover);
}

void picture_toggle_radio_c::set_look(const toggle_look_t& look) {
    m_look = look;
    updateGeometry();
    update();
}

QRect picture_toggle_radio_c::indicator_rect() const {
    return indicator_in(this, m_look.indicator);
}

QSize picture_toggle_radio_c::sizeHint() const {
    return toggle_size(this, m_look);
}

QSize picture_toggle_radio_c::minimumSizeHint() const {
    return sizeHint();
}

bool picture_toggle_radio_c::hitButton(const QPoint& pos) const {
    return toggle_hit(this, m_look, pos);
}

void picture_toggle_radio_c::paintEvent(QPaintEvent*) {
    paint_toggle(this, m_look);
}

// ------------------------------------------------------------------ framed_spin_box_c

framed_spin_box_c::framed_spin_box_c(QWidget* parent)
    : QSpinBox(parent) {
    setFrame(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Active, QPalette::Text, field_text);
    colours.setColor(QPalette::Inactive, QPalette::Text, field_text);
    colours.setColor(QPalette::Disabled, QPalette::Text, field_text_disabled);
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Window, Qt::transparent);
    setPalette(colours);
    lineEdit()->setFrame(false);
    lineEdit()->setPalette(colours);
    lineEdit()->setAutoFillBackground(false);
}

const QString& framed_spin_box_c::shown_picture() const {
    return isEnabled() ? field_normal : field_disabled;
}

QColor framed_spin_box_c::shown_text_colour() const {
    return lineEdit()->palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::Text);
}

void framed_spin_box_c::changeEvent(QEvent* event) {
    QSpinBox::changeEvent(event);
    // A style change lays the edit field out the style's way again.
    if (event->type() == QEvent::StyleChange)
        place_edit_field();
}

void framed_spin_box_c::paintEvent(QPaintEvent*) {
    // The edit field draws the number on top; the box only draws its field.
    QPainter p(this);
    p.drawPixmap(0, 0, field_picture(shown_picture(), size(), devicePixelRatioF()));
}

void framed_spin_box_c::resizeEvent(QResizeEvent* event) {
    QSpinBox::resizeEvent(event);
    place_edit_field();
}

void framed_spin_box_c::place_edit_field() {
    lineEdit()->setGeometry(
        rect().adjusted(field_border, field_border, -field_border, -field_border));
}
