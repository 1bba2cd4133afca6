#include "pages/main_ctrl.h"

#include "common/utilities.h"
#include "controls/dpi_ctrl_funcs.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "module/component_interfaces.h"
#include "module/module.h"
#include "pages/main_ctrl_fm.h"

#include <QPushButton>

namespace {

// Sensitivities are stored as the shown value plus this.
constexpr int sensitivity_offset = 6;

constexpr uint8_t all_dpi_steps = 0x1F;
constexpr uint16_t default_dpi[dpi_ctrl_funcs_c::step_count] = {800, 1600, 3200, 6400, 12000};

bool valid_step(int32_t step) {
    return step >= 0 && step < dpi_ctrl_funcs_c::step_count;
}

hub_i* host_hub() {
    ctrl_center_i* center = module_ctrl_center();
    return center ? center->get_hub() : nullptr;
}

} // namespace

main_ctrl_c::main_ctrl_c(product_kernel_i* kernel)
    : zarek_page_base_c(kernel) {}

main_ctrl_c::~main_ctrl_c() {
    // The page listens to the sensitivity and the DPI switcher only.
    release_page_ctrls(m_ctrls, static_cast<listener_i*>(this),
                       {ctrl_type::sensitivity, ctrl_type::dpi_switcher});
    discard_form(m_form);
}

interface_i* main_ctrl_c::query_interface(const GUID& iid) {
    if (iid == iid_product_function_page_i)
        return static_cast<product_function_page_i*>(this);
    if (iid == iid_value_ctrl_funcs_listener_i)
        return static_cast<value_ctrl_funcs_listener_i*>(this);
    if (iid == iid_dpi_switcher_ctrl_funcs_listener_i)
        return static_cast<dpi_switcher_ctrl_funcs_listener_i*>(this);
    return zarek_page_base_c::query_interface(iid);
}

void main_ctrl_c::release() {
    zarek_page_base_c::release();
}

main_ctrl_fm_c* main_ctrl_c::form() const {
    return m_form;
}

void main_ctrl_c::init() {
    if (!module_host())
        return;
    create_host_ctrl(ctrl_type::sensitivity, class_id::sensitivity_ctrl, 5, -5, 1);
    create_host_ctrl(ctrl_type::pointer_speed, class_id::pointer_speed_ctrl, 5, -5, 1);
    create_host_ctrl(ctrl_type::v_scroll, class_id::v_scroll_ctrl, 10, 1, 1);
    create_host_ctrl(ctrl_type::h_scroll, class_id::h_scroll_ctrl, 10, 1, 1);
    create_host_ctrl(ctrl_type::double_click, class_id::double_click_ctrl, 10, 1, 1);

    auto* dpi = new dpi_ctrl_funcs_c;
    if (ctrl_funcs_i* earlier = m_ctrls.value(ctrl_type::dpi_switcher))
        earlier->release();
    m_ctrls.insert(ctrl_type::dpi_switcher, dpi);
    dpi->set_context(kernel(), this);
    connect_listener(static_cast<ctrl_funcs_i*>(dpi), static_cast<listener_i*>(this));
}

void main_ctrl_c::create_host_ctrl(int32_t type, int32_t class_id, int32_t max, int32_t min,
                                   int32_t step) {
    module_host_i* host = module_host();
    if (!host)
        return;
    auto* ctrl = static_cast<ctrl_funcs_i*>(host->create_instance(class_id, iid_ctrl_funcs_i));
    if (!ctrl)
        return;
    if (ctrl_funcs_i* earlier = m_ctrls.value(type))
        earlier->release();
    m_ctrls.insert(type, ctrl);
    ctrl->set_context(kernel(), this);
    if (auto* value = query<value_ctrl_i>(ctrl))
        value->setup(max, min, step, 1);
    // The page keeps the profile's values; the hub takes the values it keeps itself.
    connect_listener(ctrl, static_cast<listener_i*>(this));
    connect_listener(ctrl, host_hub());
}

ctrl_funcs_i* main_ctrl_c::ctrl_funcs(int32_t type) {
    return m_ctrls.value(type);
}

void main_ctrl_c::set_parent_widget(QWidget* parent) {
    if (parent)
        m_parent = parent;
}

void main_ctrl_c::reset_all() {
    for (int32_t p = 0; p < max_profile_slots; ++p)
        reset_profile(p, true);
    update();
}

void main_ctrl_c::reset_profile(int32_t profile_index, bool whole) {
    if (!kernel() || !zarek_data_c::valid_slot(profile_index))
        return;
    reset_ctrl_for(ctrl_type::sensitivity, profile_index);
    reset_ctrl_for(ctrl_type::dpi_switcher, profile_index);
    if (!whole)
        return;
    for (int32_t type : {ctrl_type::pointer_speed, ctrl_type::v_scroll, ctrl_type::h_scroll,
                         ctrl_type::double_click})
        reset_ctrl_for(type, profile_index);
}

void main_ctrl_c::reset_ctrl(ctrl_funcs_i* ctrl) {
    if (!ctrl)
        return;
    const int32_t type = ctrl->ctrl_type();
    reset_ctrl_for(type, current_profile_slot());
    refresh_ctrl(type);
}

void main_ctrl_c::reset_ctrl_for(int32_t type, int32_t slot) {
    if (!kernel() || !zarek_data_c::valid_slot(slot))
        return;
    switch (type) {
    case ctrl_type::sensitivity:
    case ctrl_type::dpi_switcher: {
        zarek_data_c* d = profile_set();
        if (!d)
            return;
        profile_settings_rec& settings = d->settings(slot);
        if (type == ctrl_type::sensitivity) {
            settings.sensitivity_x() = sensitivity_offset;
            settings.sensitivity_y() = sensitivity_offset;
            settings.adv_sensitivity_mode() = 0;
            d->aux(slot).single_sensitivity() = sensitivity_offset;
        } else {
            settings.dpi_mask() = all_dpi_steps;
            for (int step = 0; step < dpi_ctrl_funcs_c::step_count; ++step)
                settings.set_dpi(step, default_dpi[step]);
            settings.active_dpi_step() = 0;
        }
        break;
    }
    case ctrl_type::pointer_speed:
    case ctrl_type::v_scroll:
    case ctrl_type::h_scroll:
    case ctrl_type::double_click:
        // The host keeps these for the whole system, not per profile.
        if (hub_i* hub = host_hub())
            hub->reset_hub_setting(type);
        break;
    default:
        break;
    }
}

QPushButton* main_ctrl_c::create_tab_button() {
    return create_text_tab_button(title_text);
}

void main_ctrl_c::open_page() {
    // A page is shown inside the host's window only.
    if (!m_parent || m_form)
        return;
    // A box that opens hands its control's steps back to the page, which stores
    // them in the current profile: they must be that profile's, even when the
    // host moved its slot without a notification since the last refresh.
    update();
    m_form = new main_ctrl_fm_c(this, m_parent);
}

void main_ctrl_c::close_page() {
    close_form(m_form);
}

void main_ctrl_c::update() {
    for (int32_t type : {ctrl_type::sensitivity, ctrl_type::dpi_switcher, ctrl_type::pointer_speed,
                         ctrl_type::v_scroll, ctrl_type::h_scroll, ctrl_type::double_click})
        refresh_ctrl(type);
}

void main_ctrl_c::refresh_ctrl(int32_t type) {
    ctrl_funcs_i* ctrl = m_ctrls.value(type);
    zarek_data_c* d = profile_set();
    hub_i* hub = host_hub();
    if (!ctrl || !d || !hub)
        return;
    const uint8_t slot = current_profile_slot();
    profile_settings_rec& settings = d->settings(slot);
    const uint8_t* hub_bytes = hub->hub_bytes();

    switch (type) {
    case ctrl_type::sensitivity:
        if (auto* value = query<value_ctrl_i>(ctrl)) {
            const int stored = settings.adv_sensitivity_mode() == 0
                                   ? settings.sensitivity_x()
                                   : d->aux(slot).single_sensitivity();
            value->set_value(stored - sensitivity_offset);
        }
        break;
    case ctrl_type::dpi_switcher:
        if (auto* dpi = query<dpi_switcher_ctrl_funcs_i>(ctrl)) {
            // Reports that come back while the form shows the steps land in this record;
            // read it fresh for every step.
            for (int32_t step = 0; step < dpi_ctrl_funcs_c::step_count; ++step) {
                dpi->set_step_enabled(step, (d->settings(slot).dpi_mask() >> step) & 1);
                dpi->set_step_dpi(step, d->settings(slot).dpi(step));
            }
            dpi->set_active_step(d->settings(slot).active_dpi_step());
        }
        break;
    case ctrl_type::pointer_speed:
        if (hub_bytes) {
            // The pointer speed runs from -5 to 5 and is kept as a signed byte.
            if (auto* value = query<value_ctrl_i>(ctrl))
                value->set_value(static_cast<int8_t>(hub_bytes[hub_byte::pointer_speed]));
            if (auto* pointer = query<pointer_speed_ctrl_i>(ctrl)) {
                pointer->set_hub_byte_0(hub_bytes[hub_byte::pointer_precision]);
                pointer->set_hub_byte_1(hub_bytes[hub_byte::pointer_snap]);
            }
        }
        break;
    case ctrl_type::v_scroll:
        if (hub_bytes) {
            if (auto* value = query<value_ctrl_i>(ctrl))
                value->set_value(hub_bytes[hub_byte::vertical_scroll]);
            if (auto* scroll = query<v_scroll_ctrl_i>(ctrl))
                scroll->set_hub_byte_2(hub_bytes[hub_byte::scroll_by_page]);
        }
        break;
    case ctrl_type::h_scroll:
    case ctrl_type::double_click:
        if (hub_bytes) {
            if (auto* value = query<value_ctrl_i>(ctrl))
                value->set_value(hub_bytes[type == ctrl_type::h_scroll ? hub_byte::horizontal_scroll
                                                                       : hub_byte::double_click]);
        }
        break;
    default:
        break;
    }
    ctrl->set_favorite(d->favourites().contains(type));
}

void main_ctrl_c::language_changed(language_source_i* source, void* ignored) {
    if (QPushButton* button = tab_button())
        button->setText(host_text(title_text));
    zarek_page_base_c::language_changed(source, ignored);
}

void main_ctrl_c::value_changed(int32_t type, int32_t value) {
    // The hub listens to the other controls and keeps their values itself.
    if (type != ctrl_type::sensitivity)
        return;
    zarek_data_c* d = profile_set();
    if (!d)
        return;
    const uint8_t slot = current_profile_slot();
    const auto stored = static_cast<uint8_t>(value + sensitivity_offset);
    profile_settings_rec& settings = d->settings(slot);
    // With separate axes the advanced page owns X and Y; the single value is remembered.
    if (settings.adv_sensitivity_mode() == 0) {
        settings.sensitivity_x() = stored;
        settings.sensitivity_y() = stored;
    }
    d->aux(slot).single_sensitivity() = stored;
}

void main_ctrl_c::step_enabled_changed(int32_t step, bool on) {
    zarek_data_c* d = profile_set();
    if (!d || !valid_step(step))
        return;
    uint8_t& mask = d->settings(current_profile_slot()).dpi_mask();
    const auto bit = static_cast<uint8_t>(1u << step);
    mask = on ? static_cast<uint8_t>(mask | bit) : static_cast<uint8_t>(mask & ~bit);
}

void main_ctrl_c::step_dpi_changed(int32_t step, int32_t dpi) {
    zarek_data_c* d = profile_set();
    if (!d || !valid_step(step))
        return;
    d->settings(current_profile_slot()).set_dpi(step, static_cast<uint16_t>(dpi));
}

void main_ctrl_c::active_step_changed(int32_t step) {
    zarek_data_c* d = profile_set();
    if (!d || !valid_step(step))
        return;
    d->settings(current_profile_slot()).active_dpi_step() = static_cast<uint8_t>(step);
}
