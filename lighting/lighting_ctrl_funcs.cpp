#include "lighting/lighting_ctrl_funcs.h"

#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "lighting/lighting_ctrl_funcs_fm.h"
#include "module/component_interfaces.h"
#include "pages/zarek_page_base.h"

#include <memory>

lighting_ctrl_funcs_c::lighting_ctrl_funcs_c(product_function_page_i* page) {
    set_context(nullptr, page);
}

lighting_ctrl_funcs_c::~lighting_ctrl_funcs_c() {
    close_box();
}

interface_i* lighting_ctrl_funcs_c::query_interface(const GUID& iid) {
    if (iid == iid_lighting_ctrl_funcs_i)
        return static_cast<lighting_ctrl_funcs_i*>(this);
    return ctrl_funcs_c::query_interface(iid);
}

void lighting_ctrl_funcs_c::release() {
    ctrl_funcs_c::release();
}

lighting_ctrl_funcs_fm_c* lighting_ctrl_funcs_c::form() const {
    return m_form;
}

zarek_data_c* lighting_ctrl_funcs_c::profile_set() const {
    return profile_set_of(kernel());
}

profile_settings_rec* lighting_ctrl_funcs_c::current_settings() const {
    zarek_data_c* set = profile_set();
    return set ? &set->settings(zarek_page_base_c::current_profile_slot()) : nullptr;
}

void lighting_ctrl_funcs_c::write_reset_bytes(profile_settings_rec& settings, int slot) {
    if (slot < 0 || slot >= max_profile_slots)
        return;
    // Slot 0 breathes through the colours; the others stay fully lit in a colour each.
    struct defaults_t {
        uint8_t flow, effect, speed, color;
    };
    static constexpr defaults_t per_slot[max_profile_slots] = {
        {1, 3, 2, 1}, {0, 1, 2, 20}, {0, 1, 2, 1}, {0, 1, 2, 10}, {0, 1, 2, 21}};
    const defaults_t& d = per_slot[slot];
    uint8_t* b = settings.data();
    b[lighting_byte::flags] = lighting_flag::lit;
    b[lighting_byte::color_flow] = d.flow;
    b[lighting_byte::effect] = d.effect;
    b[lighting_byte::speed] = d.speed;
    for (const int zone : {lighting_byte::top_index, lighting_byte::bottom_index}) {
        b[zone] = d.color;
        b[zone + 1] = 0;
        b[zone + 2] = 100;
        b[zone + 3] = 250;
    }
}

void lighting_ctrl_funcs_c::show_bytes(lighting_ctrl_funcs_i* ctrl,
                                       const profile_settings_rec& settings) {
    if (!ctrl)
        return;
    const uint8_t* b = settings.data();
    ctrl->set_effect(b[lighting_byte::effect]);
    ctrl->set_effect_speed(b[lighting_byte::speed]);
    ctrl->set_color_flow(b[lighting_byte::color_flow]);
    ctrl->set_lighting_on((b[lighting_byte::flags] & lighting_flag::lit) != 0);
    ctrl->refresh_colors();
}

void lighting_ctrl_funcs_c::create_box(QWidget* panel) {
    if (!panel)
        return;
    if (!m_form)
        m_form = new lighting_ctrl_funcs_fm_c(this, panel);
    else if (m_form->parentWidget() != panel)
        m_form->setParent(panel);
    m_form->show_effect(m_effect);
    m_form->show_effect_speed(m_speed);
    m_form->show_color_flow(m_color_flow);
    m_form->show_lighting_on(m_lighting_on);
    m_form->refresh_colors();
    if (ctrl_box_i* box = m_form->box()) {
        box->set_favorite_mark(is_favorite());
        box->attach(panel, m_form);
    } else {
        // Without a host box the form fills the panel itself.
        m_form->setGeometry(panel->rect());
        m_form->show();
    }
}

void lighting_ctrl_funcs_c::close_box() {
    if (!m_form)
        return;
    // A palette that is still open closes as a click outside it would.
    m_form->close_palette();
    if (ctrl_box_i* box = m_form->box())
        box->detach();
    // Destroyed where it is: moving a styled widget tree anywhere first restyles all of it.
    std::unique_ptr<lighting_ctrl_funcs_fm_c> form(m_form.data());
    m_form = nullptr;
    form->hide();
}

void lighting_ctrl_funcs_c::favorite_changed() {
    if (m_form && m_form->box())
        m_form->box()->set_favorite_mark(is_favorite());
}

void lighting_ctrl_funcs_c::set_lighting_on(bool on) {
    m_lighting_on = on;
    if (m_form)
        m_form->show_lighting_on(on);
}

void lighting_ctrl_funcs_c::set_effect(int32_t effect) {
    m_effect = effect;
    if (m_form)
        m_form->show_effect(effect);
}

void lighting_ctrl_funcs_c::set_effect_speed(int32_t speed) {
    m_speed = speed;
    if (m_form)
        m_form->show_effect_speed(speed);
}

void lighting_ctrl_funcs_c::set_color_flow(int32_t flow) {
    m_color_flow = flow;
    if (m_form)
        m_form->show_color_flow(flow);
}

void lighting_ctrl_funcs_c::refresh_colors() {
    if (m_form)
        m_form->refresh_colors();
}

void lighting_ctrl_funcs_c::change_lighting_on(bool on) {
    if (on == m_lighting_on)
        return;
    m_lighting_on = on;
    if (profile_settings_rec* rec = current_settings()) {
        uint8_t& flags = rec->b[lighting_byte::flags];
        // Only the lit bits: whether a zone uses its own RGB is kept for the lights' return.
        flags = on ? uint8_t(flags | lighting_flag::lit) : uint8_t(flags & ~lighting_flag::lit);
    }
    tell([](lighting_ctrl_funcs_listener_i* l) { l->lighting_on_changed(); });
}

void lighting_ctrl_funcs_c::change_effect(int32_t effect) {
    if (effect == m_effect)
        return;
    const int32_t previous = m_effect;
    m_effect = effect;
    if (profile_settings_rec* rec = current_settings())
        rec->b[lighting_byte::effect] = uint8_t(effect);
    tell([previous](lighting_ctrl_funcs_listener_i* l) { l->effect_changed(previous); });
}

void lighting_ctrl_funcs_c::change_effect_speed(int32_t speed) {
    if (speed == m_speed)
        return;
    const int32_t previous = m_speed;
    m_speed = speed;
    if (profile_settings_rec* rec = current_settings())
        rec->b[lighting_byte::speed] = uint8_t(speed);
    tell([previous](lighting_ctrl_funcs_listener_i* l) { l->speed_changed(previous); });
}

void lighting_ctrl_funcs_c::change_color_flow(int32_t flow) {
    if (flow == m_color_flow)
        return;
    const int32_t previous = m_color_flow;
    m_color_flow = flow;
    if (profile_settings_rec* rec = current_settings())
        rec->b[lighting_byte::color_flow] = uint8_t(flow);
    tell([previous](lighting_ctrl_funcs_listener_i* l) { l->color_flow_changed(previous); });
}

void lighting_ctrl_funcs_c::set_zone_index(bool top, int32_t index) {
    if (profile_settings_rec* rec = current_settings()) {
        uint8_t& flags = rec->b[lighting_byte::flags];
        flags = uint8_t(flags & ~(top ? lighting_flag::top_rgb : lighting_flag::bottom_rgb));
        // The zone's RGB bytes stay: they are what the zone shows again once it is RGB again.
        rec->b[top ? lighting_byte::top_index : lighting_byte::bottom_index] = uint8_t(index);
    }
    tell([](lighting_ctrl_funcs_listener_i* l) { l->colors_changed(); });
}

void lighting_ctrl_funcs_c::set_zone_rgb(bool top, uint8_t r, uint8_t g, uint8_t b) {
    if (profile_settings_rec* rec = current_settings()) {
        uint8_t& flags = rec->b[lighting_byte::flags];
        flags = uint8_t(flags | (top ? lighting_flag::top_rgb : lighting_flag::bottom_rgb));
        uint8_t* rgb = rec->data() + (top ? lighting_byte::top_rgb : lighting_byte::bottom_rgb);
        rgb[0] = r;
        rgb[1] = g;
        rgb[2] = b;
    }
    tell([](lighting_ctrl_funcs_listener_i* l) { l->colors_changed(); });
}

void lighting_ctrl_funcs_c::set_custom_color(int32_t i, uint8_t r, uint8_t g, uint8_t b,
                                             uint8_t extra) {
    zarek_data_c* set = profile_set();
    if (!set || i < 0 || i >= custom_color_count)
        return;
    uint8_t* entry = set->block_48() + 4 * i;
    entry[0] = r;
    entry[1] = g;
    entry[2] = b;
    entry[3] = extra;
}
