#include "host/components/advanced_ctrls.h"

#include "host/components/advanced_texts.h"
#include "host/components/button_texts.h"
#include "host/components/component_context.h"
#include "host/components/component_style.h"
#include "host/components/ctrl_box.h"
#include "host/components/slider.h"
#include "host/components/slider_row.h"
#include "host/components/value_ctrl.h"
#include "module/kernel_host_interfaces.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using namespace component_style;

// The style of the widgets inside the advanced boxes; every rule names its widget.
QString form_style_sheet() {
    return value_form_style_sheet() + QStringLiteral(R"(
QLabel#lb_axis_x, QLabel#lb_axis_y, QLabel#lb_volume_name {
    background: transparent; color: #aeb3ba; font-size: 12px; font-weight: 700;
}
QLabel#lb_axis_x:disabled, QLabel#lb_axis_y:disabled { color: #4a4e55; }
QLabel#lb_adv_sen_hint, QLabel#lb_polling_hint, QLabel#lb_reset_text {
    background: transparent; color: #7d828a; font-size: 11px;
}
QPushButton[rate="true"] {
    background: #1a1c20; color: #aeb3ba; border: 1px solid #2b2f36; padding: 0px 8px;
    font-size: 12px; font-weight: 700; min-height: 26px;
}
QPushButton[rate="true"]:hover { color: #eceef1; border-color: #5a6069; }
QPushButton[rate="true"]:checked { background: #1f7a99; color: #f5f8fa; border-color: #3aa7c9; }
QPushButton#btn_reset_device {
    background: #2a1d1f; color: #f0c8c4; border: 1px solid #8a3a36; border-radius: 4px;
    padding: 0px 16px; font-size: 12px; font-weight: 700; min-height: 28px;
}
QPushButton#btn_reset_device:hover, QPushButton#btn_reset_device:focus {
    background: #3a2326; color: #ffffff; border-color: #d0574f;
}
)");
}

// Title-bar glyphs of the four boxes, drawn like the host's others.
enum class advanced_glyph { axes, polling, reset, sound };

QPixmap paint_advanced_icon(advanced_glyph kind) {
    const int size = 24;
    const qreal ratio = 2.0;
    QPixmap pixmap(int(size * ratio), int(size * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen line(text_normal, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen lit(accent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(line);
    switch (kind) {
    case advanced_glyph::axes:
        p.drawLine(QPointF(4, 20), QPointF(4, 3));
        p.drawLine(QPointF(4, 20), QPointF(21, 20));
        p.setPen(lit);
        p.drawLine(QPointF(8, 16), QPointF(19, 6));
        break;
    case advanced_glyph::polling:
        for (int i = 0; i < 4; ++i) {
            p.setPen(i == 3 ? lit : line);
            const qreal h = 4 + i * 4;
            p.drawLine(QPointF(5 + i * 5, 20), QPointF(5 + i * 5, 20 - h));
        }
        break;
    case advanced_glyph::reset:
        p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 300 * 16);
        p.setPen(lit);
        p.drawLine(QPointF(16, 2.5), QPointF(16.5, 6.5));
        p.drawLine(QPointF(16.5, 6.5), QPointF(12.5, 7.5));
        break;
    case advanced_glyph::sound: {
        QPainterPath speaker;
        speaker.moveTo(3, 9);
        speaker.lineTo(7, 9);
        speaker.lineTo(12, 4.5);
        speaker.lineTo(12, 19.5);
        speaker.lineTo(7, 15);
        speaker.lineTo(3, 15);
        speaker.closeSubpath();
        p.drawPath(speaker);
        p.setPen(lit);
        p.drawArc(QRectF(11, 8, 6, 8), -60 * 16, 120 * 16);
        p.drawArc(QRectF(11, 4.5, 10, 15), -60 * 16, 120 * 16);
        break;
    }
    }
    return pixmap;
}

// Every box opening asks for its glyph again; they are painted once.
QPixmap advanced_icon(advanced_glyph kind) {
    const QString key = QStringLiteral("koral_advanced_glyph_%1").arg(int(kind));
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = paint_advanced_icon(kind);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QString signed_text(int value) {
    if (value == 0)
        return QStringLiteral("0");
    return value > 0 ? QStringLiteral("+%1").arg(value)
                     : QString(QChar(0x2212)) + QString::number(-value);
}

} // namespace

// ---------------------------------------------------------------------------
// host_ctrl_c

host_ctrl_c::host_ctrl_c(const kind_t& kind, component_context_c* context)
    : m_context(context)
    , m_kind(kind) {
    if (context)
        connect(context, &component_context_c::language_changed, this, &host_ctrl_c::retranslate);
}

host_ctrl_c::~host_ctrl_c() {
    close_box();
    const QVector<listener_i*> remaining = m_listeners;
    m_listeners.clear();
    for (listener_i* listener : remaining)
        listener->manager_closing(this);
}

interface_i* host_ctrl_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<ctrl_funcs_i>::value)
        return static_cast<ctrl_funcs_i*>(this);
    if (iid == iid_of<listener_mgr_i>::value)
        return static_cast<listener_mgr_i*>(this);
    if (iid == iid_of<ctrl_funcs_box_fm_client_i>::value)
        return static_cast<ctrl_funcs_box_fm_client_i*>(this);
    return own_interface(iid);
}

void host_ctrl_c::release() {
    m_journal.record(QStringLiteral("release"));
    if (m_reporting > 0) {
        // Released by a listener while it hears from this control.
        close_box();
        deleteLater();
        return;
    }
    delete this;
}

QString host_ctrl_c::text(int32_t id) const {
    return m_context && id ? m_context->text(id) : QString();
}

void host_ctrl_c::report_user_change(component_context_c* context) {
    if (context)
        context->report_user_change();
}

void host_ctrl_c::set_context(product_kernel_i* kernel, product_function_page_i* page) {
    m_journal.record(QStringLiteral("set_context"), {kernel != nullptr, page != nullptr});
    m_kernel = kernel;
    m_page = page;
}

void host_ctrl_c::create_box(QWidget* panel) {
    m_journal.record(QStringLiteral("create_box"),
                     {panel ? panel->objectName() : QStringLiteral("null")});
    if (!panel)
        return;
    if (m_box)
        close_box();
    m_box = new ctrl_box_c(m_context);
    m_box->set_client(static_cast<ctrl_funcs_i*>(this));
    m_box->set_icon_pixmap(icon());
    m_box->set_favorite_mark(m_favorite);
    m_box->set_height(m_kind.box_height);
    // Styled before its widgets exist, so that none of them is polished without the sheet.
    m_form = new QWidget(panel);
    m_form->setStyleSheet(form_style_sheet());
    build_form(m_form);
    retranslate();
    m_box->attach(panel, m_form);
}

void host_ctrl_c::close_box() {
    m_journal.record(QStringLiteral("close_box"));
    if (!m_box)
        return;
    m_box->detach();
    if (m_form) {
        if (m_reporting > 0)
            m_form->deleteLater();
        else
            delete m_form.data();
    }
    m_box->release();
    m_box = nullptr;
}

void host_ctrl_c::set_favorite(bool on) {
    m_journal.record(QStringLiteral("set_favorite"), {on});
    if (on == m_favorite)
        return;
    m_favorite = on;
    if (m_kernel) {
        if (on)
            m_kernel->add_favorite_ctrl(this);
        else
            m_kernel->remove_favorite_ctrl(this);
    }
    favorite_changed();
}

void host_ctrl_c::favorite_changed() {
    m_journal.record(QStringLiteral("favorite_changed"));
    if (m_box)
        m_box->set_favorite_mark(m_favorite);
}

void host_ctrl_c::add_listener(listener_i* listener) {
    m_journal.record(QStringLiteral("add_listener"));
    if (listener && !m_listeners.contains(listener))
        m_listeners.append(listener);
}

void host_ctrl_c::remove_listener(listener_i* listener) {
    m_journal.record(QStringLiteral("remove_listener"));
    m_listeners.removeOne(listener);
}

void host_ctrl_c::reset_requested() {
    m_journal.record(QStringLiteral("reset_requested"));
    if (m_page)
        m_page->reset_ctrl(this);
    report_user_change(m_context);
}

void host_ctrl_c::retranslate() {
    if (m_box) {
        m_box->set_title(text(m_kind.title));
        m_box->set_help(text(m_kind.title), text(m_kind.help));
    }
    if (m_form)
        retranslate_form();
}

// ---------------------------------------------------------------------------
// adv_sen_ctrl_c

adv_sen_ctrl_c::adv_sen_ctrl_c(component_context_c* context)
    : host_ctrl_c({ctrl_type::adv_sensitivity, advanced_text::adv_sen_title,
                   advanced_text::adv_sen_help, 158},
                  context) {}

interface_i* adv_sen_ctrl_c::own_interface(const GUID& iid) {
    return iid == iid_of<adv_sen_ctrl_i>::value ? static_cast<adv_sen_ctrl_i*>(this) : nullptr;
}

QPixmap adv_sen_ctrl_c::icon() const {
    return advanced_icon(advanced_glyph::axes);
}

void adv_sen_ctrl_c::adv_sen_reserved_2() {
    m_journal.record(QStringLiteral("adv_sen_reserved_2"));
}
void adv_sen_ctrl_c::adv_sen_reserved_3() {
    m_journal.record(QStringLiteral("adv_sen_reserved_3"));
}
void adv_sen_ctrl_c::adv_sen_reserved_4() {
    m_journal.record(QStringLiteral("adv_sen_reserved_4"));
}

void adv_sen_ctrl_c::set_x(int32_t value) {
    m_journal.record(QStringLiteral("set_x"), {value});
    m_x = qBound(min_value, value, max_value);
    show_values();
}

void adv_sen_ctrl_c::set_y(int32_t value) {
    m_journal.record(QStringLiteral("set_y"), {value});
    m_y = qBound(min_value, value, max_value);
    show_values();
}

void adv_sen_ctrl_c::set_separate(bool separate) {
    m_journal.record(QStringLiteral("set_separate"), {separate});
    m_separate = separate;
    show_values();
}

void adv_sen_ctrl_c::build_form(QWidget* form) {
    form->setObjectName(QStringLiteral("adv_sen_fm"));
    auto* column = new QVBoxLayout(form);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    // The switch and, while it is off, why the sliders rest: one row, so both axes fit.
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    m_switch = new option_toggle_c(form);
    m_switch->setObjectName(QStringLiteral("ckb_separate_axes"));
    connect(m_switch, &option_toggle_c::clicked, this, [this](bool on) { user_set_separate(on); });
    top->addWidget(m_switch);
    m_hint = new QLabel(form);
    m_hint->setObjectName(QStringLiteral("lb_adv_sen_hint"));
    m_hint->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addWidget(m_hint, 1);
    column->addLayout(top);
    const char* const slider_names[] = {"sld_x", "sld_y"};
    const char* const label_names[] = {"lb_axis_x", "lb_axis_y"};
    for (int axis = 0; axis < 2; ++axis) {
        m_names[size_t(axis)] = new QLabel(form);
        m_names[size_t(axis)]->setObjectName(QLatin1String(label_names[axis]));
        m_names[size_t(axis)]->setFixedWidth(18);
        const slider_row_t row = make_slider_row(form, QLatin1String(slider_names[axis]), min_value,
                                                 max_value, 10, m_names[size_t(axis)]);
        m_sliders[size_t(axis)] = row.slider;
        m_values[size_t(axis)] = row.value;
        connect(m_sliders[size_t(axis)], &slider_widget_c::value_edited, this,
                [this, axis](int value) { user_set_axis(axis, value); });
        column->addLayout(row.layout);
    }
    column->addStretch(1);
    show_values();
}

void adv_sen_ctrl_c::retranslate_form() {
    if (m_switch)
        m_switch->setText(text(advanced_text::adv_sen_separate));
    if (m_names[0])
        m_names[0]->setText(text(advanced_text::adv_sen_x));
    if (m_names[1])
        m_names[1]->setText(text(advanced_text::adv_sen_y));
    if (m_hint)
        m_hint->setText(text(advanced_text::adv_sen_hint));
    for (auto& slider : m_sliders) {
        if (!slider)
            continue;
        slider->set_marks({{min_value, signed_text(min_value)},
                           {0, QStringLiteral("0")},
                           {max_value, signed_text(max_value)}});
    }
}

void adv_sen_ctrl_c::show_values() {
    if (m_switch)
        m_switch->setChecked(m_separate);
    const int values[] = {m_x, m_y};
    for (int axis = 0; axis < 2; ++axis) {
        if (m_sliders[size_t(axis)]) {
            m_sliders[size_t(axis)]->set_value(values[axis]);
            m_sliders[size_t(axis)]->setEnabled(m_separate);
        }
        if (m_values[size_t(axis)]) {
            m_values[size_t(axis)]->setText(signed_text(values[axis]));
            m_values[size_t(axis)]->setEnabled(m_separate);
        }
        if (m_names[size_t(axis)])
            m_names[size_t(axis)]->setEnabled(m_separate);
    }
    if (m_hint)
        m_hint->setVisible(!m_separate);
}

void adv_sen_ctrl_c::user_set_separate(bool on) {
    m_separate = on;
    show_values();
    tell<adv_sen_ctrl_funcs_listener_i>(
        [on](adv_sen_ctrl_funcs_listener_i* l) { l->separate_changed(on ? 1 : 0); });
}

void adv_sen_ctrl_c::user_set_axis(int axis, int value) {
    value = qBound(min_value, value, max_value);
    (axis == 0 ? m_x : m_y) = value;
    show_values();
    tell<adv_sen_ctrl_funcs_listener_i>([axis, value](adv_sen_ctrl_funcs_listener_i* l) {
        if (axis == 0)
            l->x_changed(value);
        else
            l->y_changed(value);
    });
}

// ---------------------------------------------------------------------------
// polling_rate_ctrl_c

polling_rate_ctrl_c::polling_rate_ctrl_c(component_context_c* context)
    : host_ctrl_c(
          {ctrl_type::polling_rate, advanced_text::polling_title, advanced_text::polling_help, 100},
          context) {}

interface_i* polling_rate_ctrl_c::own_interface(const GUID& iid) {
    return iid == iid_of<value_ctrl_i>::value ? static_cast<value_ctrl_i*>(this) : nullptr;
}

QPixmap polling_rate_ctrl_c::icon() const {
    return advanced_icon(advanced_glyph::polling);
}

int polling_rate_ctrl_c::rate_of(int index) {
    static constexpr int rates[polling_rate_count] = {125, 250, 500, 1000};
    return rates[qBound(0, index, polling_rate_count - 1)];
}

void polling_rate_ctrl_c::setup(int32_t max, int32_t min, int32_t step, int32_t mode) {
    // The rates are the device's; a range from the module changes nothing.
    m_journal.record(QStringLiteral("setup"), {max, min, step, mode});
}

void polling_rate_ctrl_c::set_value(int32_t value) {
    m_journal.record(QStringLiteral("set_value"), {value});
    m_index = qBound(0, value, polling_rate_count - 1);
    if (QAbstractButton* button = rate_button(m_index))
        button->setChecked(true);
}

QAbstractButton* polling_rate_ctrl_c::rate_button(int index) const {
    return m_group ? m_group->button(index) : nullptr;
}

void polling_rate_ctrl_c::build_form(QWidget* form) {
    form->setObjectName(QStringLiteral("polling_rate_fm"));
    auto* column = new QVBoxLayout(form);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    m_group = new QButtonGroup(form);
    m_group->setExclusive(true);
    for (int index = 0; index < polling_rate_count; ++index) {
        auto* button = new QPushButton(form);
        button->setObjectName(QStringLiteral("btn_rate_%1").arg(rate_of(index)));
        button->setProperty("rate", true);
        button->setCheckable(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_group->addButton(button, index);
        row->addWidget(button);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &polling_rate_ctrl_c::user_choose);
    column->addLayout(row);
    m_hint = new QLabel(form);
    m_hint->setObjectName(QStringLiteral("lb_polling_hint"));
    m_hint->setWordWrap(true);
    column->addWidget(m_hint);
    column->addStretch(1);
    if (QAbstractButton* button = rate_button(m_index))
        button->setChecked(true);
}

void polling_rate_ctrl_c::retranslate_form() {
    for (int index = 0; index < polling_rate_count; ++index) {
        if (QAbstractButton* button = rate_button(index))
            button->setText(QStringLiteral("%1 Hz").arg(rate_of(index)));
    }
    if (m_hint)
        m_hint->setText(text(advanced_text::polling_hint));
}

void polling_rate_ctrl_c::user_choose(int index) {
    if (index < 0 || index >= polling_rate_count)
        return;
    m_index = index;
    if (QAbstractButton* button = rate_button(index))
        button->setChecked(true);
    tell<value_ctrl_funcs_listener_i>([index](value_ctrl_funcs_listener_i* l) {
        l->value_changed(ctrl_type::polling_rate, index);
    });
}

// ---------------------------------------------------------------------------
// device_reset_ctrl_c

device_reset_ctrl_c::device_reset_ctrl_c(component_context_c* context)
    : host_ctrl_c(
          {ctrl_type::device_reset, advanced_text::reset_title, advanced_text::reset_help, 100},
          context) {}

interface_i* device_reset_ctrl_c::own_interface(const GUID&) {
    return nullptr;
}

QPixmap device_reset_ctrl_c::icon() const {
    return advanced_icon(advanced_glyph::reset);
}

QAbstractButton* device_reset_ctrl_c::reset_button() const {
    return m_button;
}

void device_reset_ctrl_c::build_form(QWidget* form) {
    form->setObjectName(QStringLiteral("device_reset_fm"));
    auto* row = new QHBoxLayout(form);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(16);
    m_text = new QLabel(form);
    m_text->setObjectName(QStringLiteral("lb_reset_text"));
    m_text->setWordWrap(true);
    auto* button = new QPushButton(form);
    button->setObjectName(QStringLiteral("btn_reset_device"));
    button->setCursor(Qt::PointingHandCursor);
    m_button = button;
    connect(button, &QPushButton::clicked, this, &device_reset_ctrl_c::user_reset);
    row->addWidget(m_text, 1);
    row->addWidget(button, 0, Qt::AlignVCenter);
}

void device_reset_ctrl_c::retranslate_form() {
    if (m_text)
        m_text->setText(text(advanced_text::reset_text));
    if (m_button)
        m_button->setText(text(advanced_text::reset_button));
}

void device_reset_ctrl_c::user_reset() {
    if (m_confirmation)
        return;
    auto* dialog = new dialog_frame_c(m_context, QStringLiteral("device_reset_confirm"),
                                      advanced_text::reset_confirm_title);
    auto* message = new QLabel(dialog);
    message->setObjectName(QStringLiteral("lb_reset_confirm_text"));
    message->setWordWrap(true);
    message->setMinimumWidth(360);
    dialog->body()->addWidget(message);
    const auto texts = [this, dialog, message] {
        message->setText(text(advanced_text::reset_confirm_text));
        dialog->ok_button()->setText(text(advanced_text::reset_confirm_ok));
    };
    connect(dialog, &dialog_frame_c::retranslate_requested, message, texts);
    texts();
    m_confirmation = dialog;
    const QPointer<device_reset_ctrl_c> self(this);
    const int32_t answer = dialog->run();
    delete dialog;
    if (!self || answer != 1)
        return;
    tell<reset_ctrl_funcs_listener_i>([](reset_ctrl_funcs_listener_i* l) { l->reset_device(); });
}

// ---------------------------------------------------------------------------
// sound_feedback_ctrl_c

sound_feedback_ctrl_c::sound_feedback_ctrl_c(component_context_c* context)
    : host_ctrl_c(
          {ctrl_type::sound_feedback, advanced_text::sound_title, advanced_text::sound_help, 176},
          context) {}

interface_i* sound_feedback_ctrl_c::own_interface(const GUID& iid) {
    return iid == iid_of<sound_feedback_ctrl_i>::value ? static_cast<sound_feedback_ctrl_i*>(this)
                                                       : nullptr;
}

QPixmap sound_feedback_ctrl_c::icon() const {
    return advanced_icon(advanced_glyph::sound);
}

void sound_feedback_ctrl_c::set_switch(int index, bool on) {
    m_journal.record(QStringLiteral("set_switch_%1").arg(index), {on});
    m_switches[size_t(index)] = on;
    if (m_toggles[size_t(index)])
        m_toggles[size_t(index)]->setChecked(on);
}

void sound_feedback_ctrl_c::set_volume(int32_t volume) {
    m_journal.record(QStringLiteral("set_volume"), {volume});
    m_volume = qBound(0, volume, sound_volume_max);
    if (m_slider)
        m_slider->set_value(m_volume);
    if (m_volume_value)
        m_volume_value->setText(QString::number(m_volume));
}

void sound_feedback_ctrl_c::build_form(QWidget* form) {
    form->setObjectName(QStringLiteral("sound_feedback_fm"));
    auto* column = new QVBoxLayout(form);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(4);
    for (int index = 0; index < sound_switch_count; ++index) {
        auto* toggle = new option_toggle_c(form);
        toggle->setObjectName(QStringLiteral("ckb_sound_%1").arg(index));
        toggle->setChecked(m_switches[size_t(index)]);
        connect(toggle, &option_toggle_c::clicked, this,
                [this, index](bool on) { user_set_switch(index, on); });
        m_toggles[size_t(index)] = toggle;
        grid->addWidget(toggle, index / 2, index % 2);
    }
    column->addLayout(grid);
    m_volume_name = new QLabel(form);
    m_volume_name->setObjectName(QStringLiteral("lb_volume_name"));
    const slider_row_t row =
        make_slider_row(form, QStringLiteral("sld_volume"), 0, sound_volume_max, 10, m_volume_name);
    m_slider = row.slider;
    m_slider->set_marks({{0, QStringLiteral("0")},
                         {50, QStringLiteral("50")},
                         {sound_volume_max, QString::number(sound_volume_max)}});
    m_slider->set_value(m_volume);
    m_volume_value = row.value;
    m_volume_value->setText(QString::number(m_volume));
    connect(m_slider, &slider_widget_c::value_edited, this,
            &sound_feedback_ctrl_c::user_set_volume);
    column->addLayout(row.layout);
    column->addStretch(1);
}

void sound_feedback_ctrl_c::retranslate_form() {
    for (int index = 0; index < sound_switch_count; ++index) {
        if (m_toggles[size_t(index)])
            m_toggles[size_t(index)]->setText(text(advanced_text::sound_switch_0 + index));
    }
    if (m_volume_name)
        m_volume_name->setText(text(advanced_text::sound_volume));
}

void sound_feedback_ctrl_c::user_set_switch(int index, bool on) {
    if (index < 0 || index >= sound_switch_count)
        return;
    m_switches[size_t(index)] = on;
    if (m_toggles[size_t(index)])
        m_toggles[size_t(index)]->setChecked(on);
    tell<sound_feedback_ctrl_funcs_listener_i>(
        [index, on](sound_feedback_ctrl_funcs_listener_i* l) {
            switch (index) {
            case 0:
                l->switch_0_changed(on);
                break;
            case 1:
                l->switch_1_changed(on);
                break;
            case 2:
                l->switch_2_changed(on);
                break;
            case 3:
                l->switch_3_changed(on);
                break;
            default:
                l->switch_4_changed(on);
                break;
            }
        });
}

void sound_feedback_ctrl_c::user_set_volume(int volume) {
    m_volume = qBound(0, volume, sound_volume_max);
    if (m_volume_value)
        m_volume_value->setText(QString::number(m_volume));
    const int value = m_volume;
    tell<sound_feedback_ctrl_funcs_listener_i>(
        [value](sound_feedback_ctrl_funcs_listener_i* l) { l->volume_changed(value); });
}

// ---------------------------------------------------------------------------
// message_box_c

message_box_c::message_box_c(component_context_c* context)
    : dialog_component_c(context) {}

interface_i* message_box_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<message_box_i>::value)
        return static_cast<message_box_i*>(this);
    return nullptr;
}

int32_t message_box_c::run(const QString& title, const QString& text, const QString& question,
                           const QString& confirm, const QString& cancel, int32_t flags) {
    m_journal.record(QStringLiteral("run"), {title, text, question, confirm, cancel, flags});
    auto* dialog = new dialog_frame_c(m_context, QStringLiteral("message_box"), 0);
    dialog->set_title(title);
    for (const QString& line : {text, question}) {
        if (line.isEmpty())
            continue;
        auto* label = new QLabel(line, dialog);
        label->setObjectName(line == text ? QStringLiteral("lb_message_text")
                                          : QStringLiteral("lb_message_question"));
        label->setWordWrap(true);
        label->setMinimumWidth(360);
        dialog->body()->addWidget(label);
    }
    // The caller's captions stay through a language switch: they are its own texts.
    const auto captions = [dialog, confirm, cancel] {
        if (!confirm.isEmpty())
            dialog->ok_button()->setText(confirm);
        if (!cancel.isEmpty())
            dialog->cancel_button()->setText(cancel);
    };
    connect(dialog, &dialog_frame_c::retranslate_requested, dialog, captions);
    captions();
    return run_dialog(dialog, nullptr);
}

void message_box_c::close_box() {
    m_journal.record(QStringLiteral("close_box"));
    if (dialog_frame_c* dialog = open_dialog())
        dialog->reject();
}
