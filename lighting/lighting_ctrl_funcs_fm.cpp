#include "lighting/lighting_ctrl_funcs_fm.h"

#include "common/log.h"
#include "common/utilities.h"
#include "kernel/zarek_data.h"
#include "lighting/led_effect_tool.h"
#include "lighting/led_masks.h"
#include "lighting/lighting_colors.h"
#include "lighting/lighting_ctrl_funcs.h"
#include "lighting/palette_fm.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>

namespace {

// Host texts.
constexpr int32_t title_text = 3;
constexpr int32_t help_text = 389;
constexpr int32_t enable_text = 521;
constexpr int32_t effect_title_text = 522;
constexpr int32_t flow_title_text = 523;
constexpr int32_t speed_title_text = 460;
// Radio buttons in the order fully lighted, blinking, breathing, heartbeat.
constexpr int32_t effect_texts[] = {63, 239, 64, 65};
// Colour-flow items 0..3.
constexpr int32_t flow_texts[color_flow_count] = {520, 614, 615, 616};

constexpr int box_height = 328;

const char* const icon_path = ":/graphics/controls/functions/Lighting-Control-Icon.png";

const QColor no_color(60, 62, 66);
const QColor title_colour(188, 188, 188);
const QColor title_colour_disabled(80, 80, 80);

const char* const device_black = ":/graphics/controls/Quil-back_black.png";
const char* const device_white = ":/graphics/controls/Quil-back_white.png";

QString font_family() {
    return QStringLiteral("EurostileHea");
}

// The host's text, or what the form shows already when the host has none.
void set_host_text(QAbstractButton* button, int32_t id) {
    const QString text = zarek_page_base_c::host_text(id);
    if (!text.isEmpty())
        button->setText(text);
}

void set_host_text(QLabel* label, int32_t id) {
    const QString text = zarek_page_base_c::host_text(id);
    if (!text.isEmpty())
        label->setText(text);
}

QPoint left_middle(const QWidget* button) {
    return QPoint(button->geometry().left(), button->geometry().center().y());
}

bool valid_flow(int32_t flow) {
    return flow >= 0 && flow < color_flow_count;
}

} // namespace

lighting_ctrl_funcs_fm_c::lighting_ctrl_funcs_fm_c(lighting_ctrl_funcs_c* control, QWidget* parent)
    : QWidget(parent)
    , m_control(control)
    , m_tool(std::make_unique<led_effect_tool_c>())
    , m_top_color(no_color)
    , m_bottom_color(no_color) {
    m_ui.setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    m_ui.btn_effect->setElideMode(Qt::ElideRight);
    toggle_look_t enable_look = toggle_look_t::check_box();
    // The switch keeps its pictures when disabled; its text is spaced from the indicator.
    enable_look.off_disabled.clear();
    enable_look.on_disabled.clear();
    enable_look.spacing = 9;
    m_ui.cb_enable->set_look(enable_look);
    for (colour_label_c* title : {m_ui.lb_func_name_2, m_ui.lb_func_name_3, m_ui.lb_func_name_4})
        title->set_colours(title_colour, title_colour_disabled);
    m_ui.lb_effect_arrow->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QWidget* pointer :
         {static_cast<QWidget*>(m_ui.btn_t_color), static_cast<QWidget*>(m_ui.btn_b_color),
          static_cast<QWidget*>(m_ui.btn_effect)})
        pointer->setCursor(Qt::PointingHandCursor);

    for (QWidget* title :
         {static_cast<QWidget*>(m_ui.lb_func_name_2), static_cast<QWidget*>(m_ui.lb_func_name_3),
          static_cast<QWidget*>(m_ui.lb_func_name_4)})
        set_widget_font(title, font_family(), 15, 1, true);
    set_widget_font(m_ui.cb_enable, font_family(), 12, 1, true);
    for (int32_t effect = light_effect::fully_lighted; effect <= light_effect::heartbeat; ++effect)
        set_widget_font(effect_button(effect), font_family(), 12, 0, false);
    set_widget_font(m_ui.btn_effect, font_family(), 14, 0, false);

    if (module_host_i* host = module_host())
        m_box = static_cast<ctrl_box_i*>(host->create_instance(class_id::ctrl_box, iid_ctrl_box_i));
    if (m_box) {
        m_box->set_client(static_cast<ctrl_funcs_i*>(control));
        m_box->set_icon(QString::fromLatin1(icon_path));
        m_box->set_height(box_height);
        set_box_texts();
    }
    set_up_flow_list();
    // The palette is built when it first opens: every widget in the form is restyled
    // each time the host moves the form into its box, so a form without it opens faster.
    set_up_slider();

    // The edition's own picture under the light zones.
    const bool white =
        control && control->kernel() && control->kernel()->product_type() == product_type::white;
    m_ui.wg_dev->setProperty("edition", white ? "white" : "black");
    m_ui.wg_dev->set_pictures(QString::fromLatin1(white ? device_white : device_black), QString(),
                              picture_widget_c::placement::centre);

    m_ui.btn_t_color->installEventFilter(this);
    m_ui.btn_b_color->installEventFilter(this);
    // Thin lines tie each colour button to its zone on the picture.
    m_top_anchor = nearest_lit_pixel(led_zone::logo, left_middle(m_ui.btn_t_color));
    m_bottom_anchor = nearest_lit_pixel(led_zone::pipe, left_middle(m_ui.btn_b_color));
    m_ui.wg_overlay->installEventFilter(this);

    connect(m_ui.cb_enable, &QCheckBox::clicked, this, [this](bool on) {
        if (m_control)
            m_control->change_lighting_on(on);
        restart_preview();
        set_groups_enabled(on);
    });
    for (int32_t effect = light_effect::fully_lighted; effect <= light_effect::heartbeat;
         ++effect) {
        connect(effect_button(effect), &QRadioButton::clicked, this, [this, effect] {
            if (m_control)
                m_control->change_effect(effect);
            restart_preview();
        });
    }
    connect(m_ui.btn_t_color, &QPushButton::clicked, this, [this] { open_palette(true); });
    connect(m_ui.btn_b_color, &QPushButton::clicked, this, [this] { open_palette(false); });

    bind(module_ctrl_center());
}

lighting_ctrl_funcs_fm_c::~lighting_ctrl_funcs_fm_c() {
    // The host's components live in our widgets: hand them back while those exist.
    m_tool.reset();
    if (m_slider)
        m_slider->release();
    m_slider = nullptr;
    if (m_flow_list)
        m_flow_list->release();
    m_flow_list = nullptr;
    if (m_box)
        m_box->release();
    m_box = nullptr;
}

interface_i* lighting_ctrl_funcs_fm_c::query_interface(const GUID& iid) {
    if (iid == iid_slider_client_i)
        return static_cast<slider_client_i*>(this);
    if (iid == iid_led_effect_tool_client_i)
        return static_cast<led_effect_tool_client_i*>(this);
    return form_base_c::query_interface(iid);
}

void lighting_ctrl_funcs_fm_c::release() {
    form_base_c::release();
}

QRadioButton* lighting_ctrl_funcs_fm_c::effect_button(int32_t effect) const {
    switch (effect) {
    case light_effect::fully_lighted:
        return m_ui.rb_fully_lighted;
    case light_effect::blinking:
        return m_ui.rb_blinking;
    case light_effect::breathing:
        return m_ui.rb_breathing;
    case light_effect::heartbeat:
        return m_ui.rb_heartbeat;
    default:
        return nullptr;
    }
}

QString lighting_ctrl_funcs_fm_c::flow_text(int32_t flow) {
    return valid_flow(flow) ? zarek_page_base_c::host_text(flow_texts[flow]) : QString();
}

void lighting_ctrl_funcs_fm_c::set_up_slider() {
    module_host_i* host = module_host();
    if (host)
        m_slider = static_cast<slider_i*>(host->create_instance(class_id::slider, iid_slider_i));
    if (!m_slider)
        return;
    m_slider->set_client(this);
    m_slider->set_handle_image(QStringLiteral("://graphics/controls/slider/Slider.png"));
    m_slider->set_geometry_parts(5, 11, 15, 11);
    m_slider->set_parent(m_ui.wg_speed);
    m_slider->set_margins(0, 0);
    m_slider->set_style_variant(1);
    m_slider->clear_marks();
    for (int32_t speed = effect_speed_min; speed <= effect_speed_max; ++speed)
        m_slider->add_mark(speed, QString());
    m_slider->apply_marks();
    m_slider->set_range(effect_speed_max, effect_speed_min, 1);
}

void lighting_ctrl_funcs_fm_c::set_up_flow_list() {
    module_host_i* host = module_host();
    if (host)
        m_flow_list = static_cast<colour_flow_list_i*>(
            host->create_instance(class_id::colour_flow_list, iid_colour_flow_list_i));
    if (!m_flow_list)
        return;
    m_flow_list->attach(m_ui.btn_effect, this);
    for (int32_t flow = 0; flow < color_flow_count; ++flow)
        m_flow_list->set_text(flow, flow_text(flow));
}

void lighting_ctrl_funcs_fm_c::set_box_texts() {
    if (!m_box)
        return;
    m_box->set_title(zarek_page_base_c::host_text(title_text));
    m_box->set_help(zarek_page_base_c::host_text(title_text),
                    zarek_page_base_c::host_text(help_text));
}

void lighting_ctrl_funcs_fm_c::update() {
    set_box_texts();
    set_host_text(m_ui.cb_enable, enable_text);
    set_host_text(m_ui.lb_func_name_3, effect_title_text);
    set_host_text(m_ui.lb_func_name_2, flow_title_text);
    set_host_text(m_ui.lb_func_name_4, speed_title_text);
    for (int32_t effect = light_effect::fully_lighted; effect <= light_effect::heartbeat; ++effect)
        set_host_text(effect_button(effect), effect_texts[effect - 1]);
    if (m_flow_list) {
        for (int32_t flow = 0; flow < color_flow_count; ++flow)
            m_flow_list->set_text(flow, flow_text(flow));
    }
    if (valid_flow(m_shown_flow))
        show_color_flow(m_shown_flow);
}

void lighting_ctrl_funcs_fm_c::set_groups_enabled(bool on) {
    m_ui.widget_5->setEnabled(on);
    m_ui.widget_6->setEnabled(on);
    m_ui.widget_7->setEnabled(on);
}

void lighting_ctrl_funcs_fm_c::show_lighting_on(bool on) {
    m_ui.cb_enable->setChecked(on);
    set_groups_enabled(on);
}

void lighting_ctrl_funcs_fm_c::show_effect(int32_t effect) {
    if (QRadioButton* button = effect_button(effect)) {
        button->setChecked(true);
        return;
    }
    write_log(QStringLiteral("Lighting: the stored light effect %1 is not one of 1..4; no effect "
                             "is marked")
                  .arg(effect));
    // Radio buttons of one parent keep one of them checked unless told otherwise.
    for (int32_t e = light_effect::fully_lighted; e <= light_effect::heartbeat; ++e) {
        QRadioButton* button = effect_button(e);
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void lighting_ctrl_funcs_fm_c::show_effect_speed(int32_t speed) {
    if (speed < effect_speed_min || speed > effect_speed_max)
        write_log(QStringLiteral("Lighting: the stored effect speed %1 is not one of 1..3; the "
                                 "slider shows the nearest speed")
                      .arg(speed));
    if (m_slider && m_slider->value() != speed)
        m_slider->set_value(speed);
}

void lighting_ctrl_funcs_fm_c::show_color_flow(int32_t flow) {
    if (!valid_flow(flow)) {
        const int32_t nearest = qBound(0, flow, color_flow_count - 1);
        write_log(QStringLiteral("Lighting: the stored colour flow %1 is not one of 0..3; it is "
                                 "shown as %2")
                      .arg(flow)
                      .arg(nearest));
        flow = nearest;
    }
    m_shown_flow = flow;
    QString text = m_flow_list ? m_flow_list->text(flow) : QString();
    if (text.isEmpty())
        text = flow_text(flow);
    if (!text.isEmpty()) {
        m_ui.btn_effect->setText(text);
        m_ui.btn_effect->setToolTip(text);
    }
    if (m_flow_list)
        m_flow_list->select(flow);
}

void lighting_ctrl_funcs_fm_c::item_chosen(colour_flow_list_i* list, int32_t index) {
    if (!valid_flow(index)) {
        write_log(QStringLiteral("Lighting: the colour-flow list reported item %1, which does "
                                 "not exist; ignored")
                      .arg(index));
        return;
    }
    m_shown_flow = index;
    const QString text = list ? list->text(index) : flow_text(index);
    m_ui.btn_effect->setText(text);
    m_ui.btn_effect->setToolTip(text);
    if (m_control)
        m_control->change_color_flow(index);
    restart_preview();
}

void lighting_ctrl_funcs_fm_c::slider_value_changed(slider_i* slider) {
    // Filling a hidden form is not a user's change.
    if (!slider || !isVisible())
        return;
    if (m_control)
        m_control->change_effect_speed(slider->value());
    restart_preview();
}

void lighting_ctrl_funcs_fm_c::slider_pressed(slider_i*) {}

void lighting_ctrl_funcs_fm_c::restart_preview() {
    product_kernel_i* kernel = m_control ? m_control->kernel() : nullptr;
    m_tool->set_context(kernel, zarek_page_base_c::current_profile_slot(), this);
    m_tool->restart();
}

void lighting_ctrl_funcs_fm_c::refresh_colors() {
    if (const profile_settings_rec* rec = m_control ? m_control->current_settings() : nullptr) {
        m_top_color = stored_zone_color(*rec, true);
        m_bottom_color = stored_zone_color(*rec, false);
    }
    m_ui.btn_t_color->update();
    m_ui.btn_b_color->update();
    show_led_colors(uint8_t(m_top_color.red()), uint8_t(m_top_color.green()),
                    uint8_t(m_top_color.blue()), 255, uint8_t(m_bottom_color.red()),
                    uint8_t(m_bottom_color.green()), uint8_t(m_bottom_color.blue()), 255);
    restart_preview();
}

void lighting_ctrl_funcs_fm_c::show_led_colors(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t a1,
                                               uint8_t r2, uint8_t g2, uint8_t b2, uint8_t a2) {
    m_ui.lb_logo_led->setPixmap(tinted_led_mask(led_zone::logo, QColor(r1, g1, b1, a1)));
    m_ui.lb_pipe_led->setPixmap(tinted_led_mask(led_zone::pipe, QColor(r2, g2, b2, a2)));
}

void lighting_ctrl_funcs_fm_c::open_palette(bool top) {
    const profile_settings_rec* rec = m_control ? m_control->current_settings() : nullptr;
    zarek_data_c* set = m_control ? m_control->profile_set() : nullptr;
    if (!rec || !set)
        return;
    if (!m_palette)
        m_palette = new palette_fm_c(this, this);
    m_palette->set_zone(top);
    const uint8_t flags = rec->b[lighting_byte::flags];
    if (flags & (top ? lighting_flag::top_rgb : lighting_flag::bottom_rgb)) {
        const uint8_t* rgb =
            rec->data() + (top ? lighting_byte::top_rgb : lighting_byte::bottom_rgb);
        m_palette->select(-1, rgb[0], rgb[1], rgb[2]);
    } else {
        // A stored index past the table preselects the colour the zone is shown in.
        const int index = nearest_standard_index(
            rec->b[top ? lighting_byte::top_index : lighting_byte::bottom_index]);
        const QColor c = standard_color(index);
        m_palette->select(index, c.red(), c.green(), c.blue());
    }
    const uint8_t* custom = set->block_48();
    for (int i = 0; i < custom_color_count; ++i) {
        const uint8_t* e = custom + 4 * i;
        m_palette->set_custom_color(first_custom_color + i, e[0], e[1], e[2], e[3]);
    }

    QAbstractButton* button = top ? static_cast<QAbstractButton*>(m_ui.btn_t_color)
                                  : static_cast<QAbstractButton*>(m_ui.btn_b_color);
    QPoint at = button->mapToGlobal(pos());
    at.ry() += button->height() - 1;
    // A pop-up that would leave the screen is moved back onto it.
    if (const QScreen* screen = button->screen()) {
        const QRect free = screen->availableGeometry();
        at.setX(qBound(free.left(), at.x(), qMax(free.left(), free.right() - m_palette->width())));
        at.setY(qBound(free.top(), at.y(), qMax(free.top(), free.bottom() - m_palette->height())));
    }
    m_palette->move(at);
    if (ctrl_center_i* center = module_ctrl_center())
        center->set_live_mode(false);
    m_palette->show();
    // Active, so that a click outside it (its deactivation) closes it.
    m_palette->activateWindow();
}

void lighting_ctrl_funcs_fm_c::palette_live_color(int r, int g, int b) {
    if (!m_palette)
        return;
    const QColor colour(r, g, b);
    if (m_palette->zone()) {
        m_top_color = colour;
        m_ui.btn_t_color->update();
        m_tool->set_top_override(true, colour);
    } else {
        m_bottom_color = colour;
        m_ui.btn_b_color->update();
        m_tool->set_bottom_override(true, colour);
    }
}

void lighting_ctrl_funcs_fm_c::palette_closed() {
    if (ctrl_center_i* center = module_ctrl_center())
        center->set_live_mode(true);
    if (m_palette && m_control && m_palette->accepted()) {
        for (int i = 0; i < custom_color_count; ++i) {
            const palette_fm_c::custom_entry e = m_palette->custom_color(first_custom_color + i);
            m_control->set_custom_color(i, uint8_t(e.red), uint8_t(e.green), uint8_t(e.blue),
                                        uint8_t(e.filled));
        }
        const bool top = m_palette->zone();
        if (m_palette->index_mode())
            m_control->set_zone_index(top, m_palette->index());
        else
            m_control->set_zone_rgb(top, uint8_t(m_palette->red()), uint8_t(m_palette->green()),
                                    uint8_t(m_palette->blue()));
    }
    // Accepted or not, the zones show what the profile holds now.
    m_tool->set_top_override(false, QColor());
    m_tool->set_bottom_override(false, QColor());
    refresh_colors();
}

void lighting_ctrl_funcs_fm_c::close_palette() {
    if (m_palette && m_palette->isVisible())
        m_palette->close();
}

void lighting_ctrl_funcs_fm_c::paint_color_button(QAbstractButton* button, const QColor& color) {
    QPainter p(button);
    const bool lit = button->isEnabled() && (button->underMouse() || button->hasFocus());
    p.fillRect(button->rect(), lit ? QColor(58, 167, 201) : QColor(10, 11, 13));
    QColor fill = color;
    if (!button->isEnabled())
        fill = QColor(fill.red() / 4 + 24, fill.green() / 4 + 24, fill.blue() / 4 + 24);
    p.fillRect(QRect(1, 1, 24, 24), fill);
}

void lighting_ctrl_funcs_fm_c::paint_leader_lines() {
    QPainter p(m_ui.wg_overlay);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor line =
        m_ui.wg_overlay->isEnabled() ? QColor(160, 166, 175, 120) : QColor(90, 94, 100, 90);
    const std::pair<QWidget*, QPoint> zones[] = {{m_ui.btn_t_color, m_top_anchor},
                                                 {m_ui.btn_b_color, m_bottom_anchor}};
    for (const auto& [button, anchor] : zones) {
        const QPointF from = QPointF(left_middle(button)) + QPointF(-1.5, 0.5);
        const QPointF to = QPointF(anchor) + QPointF(0.5, 0.5);
        p.setPen(QPen(line, 1));
        p.drawLine(from, to);
        p.setPen(Qt::NoPen);
        p.setBrush(line);
        p.drawEllipse(to, 2.2, 2.2);
    }
}

bool lighting_ctrl_funcs_fm_c::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        if (watched == m_ui.wg_overlay) {
            paint_leader_lines();
            return false;
        }
        if (watched == m_ui.btn_t_color) {
            paint_color_button(m_ui.btn_t_color, m_top_color);
            return true;
        }
        if (watched == m_ui.btn_b_color) {
            paint_color_button(m_ui.btn_b_color, m_bottom_color);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
