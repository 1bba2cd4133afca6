#include "pages/advanced_ctrl.h"

#include "common/log.h"
#include "common/utilities.h"
#include "controls/surf_lift_ctrl_funcs.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "lighting/lighting_ctrl_funcs.h"
#include "module/component_interfaces.h"
#include "module/module.h"
#include "pages/advanced_ctrl_fm.h"

#include <QPushButton>

namespace {

// Sensitivities are stored as the shown value plus this.
constexpr int sensitivity_offset = 6;
// Bits 6 and 7 of the sound byte are not the switches' and survive a reset.
constexpr uint8_t sound_kept_bits = 0xC0;
// Device block byte 9 after a full page reset.
constexpr uint8_t reset_block_byte_9 = 0xFF;

} // namespace

advanced_ctrl_c::advanced_ctrl_c(product_kernel_i* kernel)
    : zarek_page_base_c(kernel) {}

advanced_ctrl_c::~advanced_ctrl_c() {
    release_page_ctrls(m_ctrls, static_cast<listener_i*>(this), m_ctrls.keys());
    discard_form(m_form);
}

interface_i* advanced_ctrl_c::query_interface(const GUID& iid) {
    if (iid == iid_product_function_page_i)
        return static_cast<product_function_page_i*>(this);
    if (iid == iid_value_ctrl_funcs_listener_i)
        return static_cast<value_ctrl_funcs_listener_i*>(this);
    if (iid == iid_adv_sen_ctrl_funcs_listener_i)
        return static_cast<adv_sen_ctrl_funcs_listener_i*>(this);
    if (iid == iid_surf_lift_ctrl_funcs_listener_i)
        return static_cast<surf_lift_ctrl_funcs_listener_i*>(this);
    if (iid == iid_reset_ctrl_funcs_listener_i)
        return static_cast<reset_ctrl_funcs_listener_i*>(this);
    if (iid == iid_sound_feedback_ctrl_funcs_listener_i)
        return static_cast<sound_feedback_ctrl_funcs_listener_i*>(this);
    return zarek_page_base_c::query_interface(iid);
}

void advanced_ctrl_c::release() {
    zarek_page_base_c::release();
}

advanced_ctrl_fm_c* advanced_ctrl_c::form() const {
    return m_form;
}

void advanced_ctrl_c::init() {
    if (!module_host())
        return;
    create_host_ctrl(ctrl_type::adv_sensitivity, class_id::adv_sen_ctrl);
    create_host_ctrl(ctrl_type::polling_rate, class_id::polling_rate_ctrl);
    create_host_ctrl(ctrl_type::device_reset, class_id::device_reset_ctrl);
    create_host_ctrl(ctrl_type::sound_feedback, class_id::sound_feedback_ctrl);
    store_ctrl(ctrl_type::surf_lift, new surf_lift_ctrl_funcs_c);
    store_ctrl(ctrl_type::lighting, new lighting_ctrl_funcs_c(this));
}

void advanced_ctrl_c::create_host_ctrl(int32_t type, int32_t class_id) {
    module_host_i* host = module_host();
    auto* ctrl = host
                     ? static_cast<ctrl_funcs_i*>(host->create_instance(class_id, iid_ctrl_funcs_i))
                     : nullptr;
    if (!ctrl) {
        write_log(QStringLiteral("Advanced page: the host has no control of class 0x%1")
                      .arg(class_id, 0, 16));
        return;
    }
    store_ctrl(type, ctrl);
}

void advanced_ctrl_c::store_ctrl(int32_t type, ctrl_funcs_i* ctrl) {
    if (ctrl_funcs_i* earlier = m_ctrls.value(type)) {
        disconnect_listener(earlier, static_cast<listener_i*>(this));
        earlier->release();
    }
    ctrl->set_context(kernel(), this);
    m_ctrls.insert(type, ctrl);
    connect_listener(ctrl, static_cast<listener_i*>(this));
}

ctrl_funcs_i* advanced_ctrl_c::ctrl_funcs(int32_t type) {
    return m_ctrls.value(type);
}

void advanced_ctrl_c::set_parent_widget(QWidget* parent) {
    if (parent)
        m_parent = parent;
}

void advanced_ctrl_c::reset_all() {
    for (int32_t p = 0; p < max_profile_slots; ++p)
        reset_profile(p, true);
    update();
    zarek_data_c* d = profile_set();
    if (!d)
        return;
    d->device().surface_tuning() = 0;
    d->device().lift_level() = 0;
    d->device().advanced_value() = reset_block_byte_9;
}

void advanced_ctrl_c::reset_profile(int32_t profile_index, bool) {
    if (!kernel() || !zarek_data_c::valid_slot(profile_index))
        return;
    for (int32_t type = ctrl_type::adv_sensitivity; type <= ctrl_type::sound_feedback; ++type)
        reset_ctrl_for(type, profile_index);
}

void advanced_ctrl_c::reset_ctrl(ctrl_funcs_i* ctrl) {
    if (!ctrl)
        return;
    const int32_t type = ctrl->ctrl_type();
    reset_ctrl_for(type, current_profile_slot());
    refresh_ctrl(type);
}

void advanced_ctrl_c::reset_ctrl_for(int32_t type, int32_t slot) {
    zarek_data_c* d = profile_set();
    if (!d || !zarek_data_c::valid_slot(slot))
        return;
    profile_settings_rec& settings = d->settings(slot);
    switch (type) {
    case ctrl_type::adv_sensitivity:
        settings.sensitivity_x() = sensitivity_offset;
        settings.sensitivity_y() = sensitivity_offset;
        settings.adv_sensitivity_mode() = 0;
        d->aux(slot).adv_sensitivity_x() = sensitivity_offset;
        d->aux(slot).adv_sensitivity_y() = sensitivity_offset;
        break;
    case ctrl_type::surf_lift:
        // Device-wide: whichever slot is reset, the tuning goes back to off.
        d->device().lift_level() = lift_level::off;
        d->device().surface_tuning() = 0;
        break;
    case ctrl_type::polling_rate:
        settings.polling_rate() = default_polling_rate;
        break;
    case ctrl_type::lighting:
        lighting_ctrl_funcs_c::write_reset_bytes(settings, slot);
        break;
    case ctrl_type::sound_feedback: {
        uint8_t& sound = d->extra_word(slot).sound_switches();
        sound = static_cast<uint8_t>(sound & sound_kept_bits);
        d->name(slot).volume() = default_volume;
        break;
    }
    default:
        break;
    }
}

QPushButton* advanced_ctrl_c::create_tab_button() {
    return create_text_tab_button(title_text);
}

void advanced_ctrl_c::open_page() {
    // A page is shown inside the host's window only.
    if (!m_parent || m_form)
        return;
    m_form = new advanced_ctrl_fm_c(this, m_parent);
}

void advanced_ctrl_c::close_page() {
    close_form(m_form);
}

void advanced_ctrl_c::update() {
    for (int32_t type : control_types)
        refresh_ctrl(type);
}

void advanced_ctrl_c::refresh_ctrl(int32_t type) {
    ctrl_funcs_i* ctrl = m_ctrls.value(type);
    zarek_data_c* d = profile_set();
    if (!ctrl || !d)
        return;
    const uint8_t slot = current_profile_slot();
    profile_settings_rec& settings = d->settings(slot);

    switch (type) {
    case ctrl_type::adv_sensitivity:
        if (auto* adv = query<adv_sen_ctrl_i>(ctrl)) {
            const uint8_t mode = settings.adv_sensitivity_mode();
            adv->set_separate(mode != 0);
            if (mode == 1) {
                adv->set_x(settings.sensitivity_x() - sensitivity_offset);
                adv->set_y(settings.sensitivity_y() - sensitivity_offset);
            } else {
                adv->set_x(d->aux(slot).adv_sensitivity_x() - sensitivity_offset);
                adv->set_y(d->aux(slot).adv_sensitivity_y() - sensitivity_offset);
            }
        }
        break;
    case ctrl_type::surf_lift:
        if (auto* surf = query<surf_lift_ctrl_funcs_i>(ctrl)) {
            int32_t level = d->device().lift_level();
            if (level >= lift_level::count) {
                // A level the mouse does not have: show the nearest one it has.
                write_log(QStringLiteral("Advanced page: stored lift level %1 is out of range; "
                                         "shown as %2")
                              .arg(level)
                              .arg(lift_level::count - 1));
                level = lift_level::count - 1;
            }
            surf->set_surf(d->device().surface_tuning() != 0);
            surf->set_lift(level);
        }
        break;
    case ctrl_type::polling_rate:
        if (auto* value = query<value_ctrl_i>(ctrl))
            value->set_value(settings.polling_rate());
        break;
    case ctrl_type::lighting:
        lighting_ctrl_funcs_c::show_bytes(query<lighting_ctrl_funcs_i>(ctrl), settings);
        break;
    case ctrl_type::sound_feedback:
        if (auto* sound = query<sound_feedback_ctrl_i>(ctrl)) {
            const uint8_t bits = d->extra_word(slot).sound_switches();
            sound->set_switch_0(bits & 0x01);
            sound->set_switch_1(bits & 0x02);
            sound->set_switch_2(bits & 0x04);
            sound->set_switch_3(bits & 0x08);
            sound->set_switch_4(bits & 0x10);
            sound->set_volume(d->name(slot).volume());
        }
        break;
    default: // the device reset shows nothing but its favourite mark
        break;
    }
    ctrl->set_favorite(d->favourites().contains(type));
}

void advanced_ctrl_c::language_changed(language_source_i* source, void* ignored) {
    if (QPushButton* button = tab_button())
        button->setText(host_text(title_text));
    zarek_page_base_c::language_changed(source, ignored);
}

void advanced_ctrl_c::value_changed(int32_t type, int32_t value) {
    zarek_data_c* d = profile_set();
    if (type != ctrl_type::polling_rate || !d)
        return;
    d->settings(current_profile_slot()).polling_rate() = static_cast<uint8_t>(value);
}

void advanced_ctrl_c::x_changed(int32_t value) {
    zarek_data_c* d = profile_set();
    if (!d)
        return;
    const uint8_t slot = current_profile_slot();
    const auto stored = static_cast<uint8_t>(value + sensitivity_offset);
    if (d->settings(slot).adv_sensitivity_mode() == 1)
        d->settings(slot).sensitivity_x() = stored;
    d->aux(slot).adv_sensitivity_x() = stored;
}

void advanced_ctrl_c::y_changed(int32_t value) {
    zarek_data_c* d = profile_set();
    if (!d)
        return;
    const uint8_t slot = current_profile_slot();
    const auto stored = static_cast<uint8_t>(value + sensitivity_offset);
    if (d->settings(slot).adv_sensitivity_mode() == 1)
        d->settings(slot).sensitivity_y() = stored;
    d->aux(slot).adv_sensitivity_y() = stored;
}

void advanced_ctrl_c::separate_changed(int32_t mode) {
    zarek_data_c* d = profile_set();
    if (!d)
        return;
    const uint8_t slot = current_profile_slot();
    profile_settings_rec& settings = d->settings(slot);
    profile_aux_rec& aux = d->aux(slot);
    settings.adv_sensitivity_mode() = static_cast<uint8_t>(mode);
    if (mode == 0) {
        settings.sensitivity_x() = aux.single_sensitivity();
        settings.sensitivity_y() = aux.single_sensitivity();
    } else {
        settings.sensitivity_x() = aux.adv_sensitivity_x();
        settings.sensitivity_y() = aux.adv_sensitivity_y();
    }
}

void advanced_ctrl_c::surf_changed(bool on) {
    if (zarek_data_c* d = profile_set())
        d->device().surface_tuning() = on ? 1 : 0;
}

void advanced_ctrl_c::lift_changed(int32_t level) {
    if (zarek_data_c* d = profile_set())
        d->device().lift_level() = static_cast<uint8_t>(level);
}

void advanced_ctrl_c::reset_device() {
    auto* own = dynamic_cast<zarek_kernel_c*>(kernel());
    if (!own) {
        write_log(QStringLiteral("Advanced page: device reset without a kernel of this module"));
        return;
    }
    own->reset_everything();
}

void advanced_ctrl_c::set_sound_switch(int bit, bool on) {
    zarek_data_c* d = profile_set();
    if (!d)
        return;
    uint8_t& sound = d->extra_word(current_profile_slot()).sound_switches();
    const auto mask = static_cast<uint8_t>(1u << bit);
    sound = on ? static_cast<uint8_t>(sound | mask) : static_cast<uint8_t>(sound & ~mask);
}

void advanced_ctrl_c::volume_changed(int32_t value) {
    if (zarek_data_c* d = profile_set())
        d->name(current_profile_slot()).volume() = static_cast<uint8_t>(value);
}
