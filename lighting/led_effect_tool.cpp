#include "lighting/led_effect_tool.h"

#include "common/log.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "lighting/lighting_colors.h"

namespace {

// Periods in ms by effect (rows 1..4) and speed (columns 1..3).
constexpr int periods[4][3] = {
    {900, 600, 400},  // fully lighted
    {1000, 700, 400}, // blinking
    {110, 80, 50},    // breathing
    {180, 150, 120},  // heartbeat
};

constexpr int breath_step = 10;

enum complaint { bad_effect = 0, bad_speed = 1, bad_index = 2 };

} // namespace

led_effect_tool_c::led_effect_tool_c(QObject* parent)
    : QObject(parent) {
    connect(&m_fully_lighted, &QTimer::timeout, this, &led_effect_tool_c::refresh_fully_light);
    connect(&m_blinking, &QTimer::timeout, this, &led_effect_tool_c::refresh_blinking);
    connect(&m_breathing, &QTimer::timeout, this, &led_effect_tool_c::refresh_breathing);
    connect(&m_heartbeat, &QTimer::timeout, this, &led_effect_tool_c::refresh_heartbeat);
    flow_table();
}

const QVector<QColor>& led_effect_tool_c::flow_table() {
    static const QVector<QColor> table = [] {
        QVector<QColor> colours;
        colours.reserve(standard_color_count);
        for (const rgb_triple& c : standard_colors)
            colours.append(QColor(c.r, c.g, c.b));
        return colours;
    }();
    return table;
}

int led_effect_tool_c::period(int effect, int speed) {
    if (effect < light_effect::fully_lighted || effect > light_effect::heartbeat ||
        speed < effect_speed_min || speed > effect_speed_max)
        return 0;
    return periods[effect - 1][speed - 1];
}

void led_effect_tool_c::set_context(product_kernel_i* source, uint8_t profile_slot,
                                    led_effect_tool_client_i* client) {
    m_source = source;
    m_slot = profile_slot;
    m_client = client;
}

void led_effect_tool_c::set_top_override(bool use, const QColor& colour) {
    m_use_top_override = use;
    m_top_override = colour;
    show_last_frame();
}

void led_effect_tool_c::set_bottom_override(bool use, const QColor& colour) {
    m_use_bottom_override = use;
    m_bottom_override = colour;
    show_last_frame();
}

const QTimer* led_effect_tool_c::timer(int effect) const {
    switch (effect) {
    case light_effect::fully_lighted:
        return &m_fully_lighted;
    case light_effect::blinking:
        return &m_blinking;
    case light_effect::breathing:
        return &m_breathing;
    case light_effect::heartbeat:
        return &m_heartbeat;
    default:
        return nullptr;
    }
}

int led_effect_tool_c::running_effect() const {
    for (int effect = light_effect::fully_lighted; effect <= light_effect::heartbeat; ++effect) {
        if (timer(effect)->isActive())
            return effect;
    }
    return 0;
}

const uint8_t* led_effect_tool_c::lighting_record() const {
    zarek_data_c* set = profile_set_of(m_source);
    if (!set || m_source->profile_count() <= m_slot)
        return nullptr;
    return set->settings(m_slot).data();
}

void led_effect_tool_c::complain(int kind, int value, const QString& message) {
    // A preview restarts on every change; one line per stored value is enough.
    if (m_complained[std::size_t(kind)] == value)
        return;
    m_complained[std::size_t(kind)] = value;
    write_log(QStringLiteral("Lighting preview of profile slot %1: ").arg(m_slot) + message);
}

void led_effect_tool_c::restart() {
    m_fully_lighted.stop();
    m_blinking.stop();
    m_breathing.stop();
    m_heartbeat.stop();
    const uint8_t* rec = lighting_record();
    if (!rec)
        return;

    // The positions index the flow table on every tick: a stored index past the table
    // starts from the nearest standard colour.
    for (const int at : {lighting_byte::top_index, lighting_byte::bottom_index}) {
        if (!is_standard_index(rec[at]))
            complain(bad_index, rec[at],
                     QStringLiteral("palette index %1 is not a standard colour; the preview "
                                    "starts from colour %2")
                         .arg(rec[at])
                         .arg(nearest_standard_index(rec[at])));
    }
    m_top_position = uint8_t(nearest_standard_index(rec[lighting_byte::top_index]));
    m_bottom_position = uint8_t(nearest_standard_index(rec[lighting_byte::bottom_index]));

    if (!(rec[lighting_byte::flags] & lighting_flag::lit)) {
        m_last_top_level = m_last_bottom_level = 0;
        m_sent_any = false;
        if (m_client)
            m_client->show_led_colors(0, 0, 0, 0, 0, 0, 0, 0);
        return;
    }
    const int size = flow_table().size();
    if (rec[lighting_byte::color_flow] == 2)
        m_bottom_position = uint8_t((m_bottom_position + 1) % size);
    else if (rec[lighting_byte::color_flow] == 3)
        m_top_position = uint8_t((m_top_position + 1) % size);

    const int effect = rec[lighting_byte::effect];
    const int speed = rec[lighting_byte::speed];
    if (speed < effect_speed_min || speed > effect_speed_max)
        complain(bad_speed, speed,
                 QStringLiteral("effect speed %1 is not 1..3; the effect runs without pause")
                     .arg(speed));
    const int ms = period(effect, speed);
    switch (effect) {
    case light_effect::fully_lighted:
        m_fully_lighted.start(ms);
        break;
    case light_effect::blinking:
        m_blink_on = true;
        m_blinking.start(ms);
        break;
    case light_effect::breathing:
        m_breath_rising = true;
        m_breath_level = 0;
        m_breathing.start(ms);
        break;
    case light_effect::heartbeat:
        // The beat goes on from where it was.
        m_heartbeat.start(ms);
        break;
    default:
        complain(bad_effect, effect,
                 QStringLiteral("light effect %1 is not 1..4; nothing is animated").arg(effect));
        break;
    }
}

bool led_effect_tool_c::compute_frame(frame_t& frame) const {
    const uint8_t* rec = lighting_record();
    const QVector<QColor>& table = flow_table();
    if (!rec || m_top_position >= table.size() || m_bottom_position >= table.size())
        return false;
    frame.top = table.at(m_top_position);
    frame.bottom = table.at(m_bottom_position);
    const uint8_t flags = rec[lighting_byte::flags];
    frame.top.setAlpha((flags & lighting_flag::top_lit) ? 255 : 0);
    frame.bottom.setAlpha((flags & lighting_flag::bottom_lit) ? 255 : 0);
    if (rec[lighting_byte::color_flow] == 0) {
        if (flags & lighting_flag::top_rgb) {
            const uint8_t* c = rec + lighting_byte::top_rgb;
            frame.top.setRgb(c[0], c[1], c[2], frame.top.alpha());
        }
        if (flags & lighting_flag::bottom_rgb) {
            const uint8_t* c = rec + lighting_byte::bottom_rgb;
            frame.bottom.setRgb(c[0], c[1], c[2], frame.bottom.alpha());
        }
    }
    if (m_use_top_override && m_top_override.isValid())
        frame.top.setRgb(m_top_override.red(), m_top_override.green(), m_top_override.blue(),
                         frame.top.alpha());
    if (m_use_bottom_override && m_bottom_override.isValid())
        frame.bottom.setRgb(m_bottom_override.red(), m_bottom_override.green(),
                            m_bottom_override.blue(), frame.bottom.alpha());
    return true;
}

void led_effect_tool_c::send(const frame_t& frame, int top_level, int bottom_level) {
    m_last_top_level = top_level;
    m_last_bottom_level = bottom_level;
    m_sent_any = true;
    if (!m_client)
        return;
    // An unlit zone stays dark whatever the effect's level.
    const int a1 = frame.top.alpha() * top_level / 255;
    const int a2 = frame.bottom.alpha() * bottom_level / 255;
    m_client->show_led_colors(uint8_t(frame.top.red()), uint8_t(frame.top.green()),
                              uint8_t(frame.top.blue()), uint8_t(a1), uint8_t(frame.bottom.red()),
                              uint8_t(frame.bottom.green()), uint8_t(frame.bottom.blue()),
                              uint8_t(a2));
}

void led_effect_tool_c::show_last_frame() {
    frame_t frame;
    if (m_sent_any && running_effect() != 0 && compute_frame(frame))
        send(frame, m_last_top_level, m_last_bottom_level);
}

void led_effect_tool_c::advance_flow() {
    const uint8_t* rec = lighting_record();
    if (!rec || rec[lighting_byte::color_flow] == 0)
        return;
    const int size = flow_table().size();
    m_top_position = uint8_t(m_top_position + 1 >= size ? 0 : m_top_position + 1);
    m_bottom_position = uint8_t(m_bottom_position + 1 >= size ? 0 : m_bottom_position + 1);
}

void led_effect_tool_c::refresh_fully_light() {
    frame_t frame;
    if (!compute_frame(frame))
        return;
    send(frame, 255, 255);
    advance_flow();
}

void led_effect_tool_c::refresh_blinking() {
    frame_t frame;
    if (!compute_frame(frame))
        return;
    const int level = m_blink_on ? 255 : 0;
    send(frame, level, level);
    m_blink_on = !m_blink_on;
    if (!m_blink_on)
        advance_flow();
}

void led_effect_tool_c::refresh_breathing() {
    frame_t frame;
    if (!compute_frame(frame))
        return;
    int level = m_breath_level;
    if (m_breath_rising) {
        level += breath_step;
        if (level > 255) {
            level = 255;
            m_breath_rising = false;
        }
    } else {
        level -= breath_step;
        if (level < 1) {
            level = 0;
            m_breath_rising = true;
        }
    }
    m_breath_level = uint8_t(level);
    send(frame, level, level);
    // A new colour at the bottom of each breath.
    if (m_breath_rising && m_breath_level == 0)
        advance_flow();
}

void led_effect_tool_c::refresh_heartbeat() {
    frame_t frame;
    if (!compute_frame(frame))
        return;
    if (m_heart_level > 254)
        m_heart_level = 255;
    send(frame, m_heart_level, m_heart_level);
    if (!m_heart_phase) {
        if (m_heart_level > 209) {
            m_heart_phase = true;
            m_heart_level = 60;
        } else {
            m_heart_level += 40;
        }
    } else if (m_heart_level > 254) {
        m_heart_phase = false;
        m_heart_level = 80;
    } else if (m_heart_level > 230) {
        m_heart_level += 5;
    } else {
        m_heart_level += 40;
    }
    // A new colour with the second, stronger beat of each cycle.
    if (m_heart_phase && m_heart_level >= 255)
        advance_flow();
}
