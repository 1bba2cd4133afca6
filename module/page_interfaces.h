// Interfaces of pages and controls, as the kernel and the host drive them.
#pragma once

#include "module/interfaces.h"

class QPushButton;
class QWidget;
class ctrl_funcs_i;

// A tab of the module: created by the kernel, driven by the host.
class product_function_page_i : public interface_i {
public:
    // 2: creates the page's controls.
    virtual void init() = 0;
    // 3: 0 main, 1 button assignment, 2 advanced, 4 favorites.
    virtual int32_t page_id() = 0;
    // 4: the page's control of that type, or null.
    virtual ctrl_funcs_i* ctrl_funcs(int32_t type) = 0;
    // 5: where the page's form goes; null is ignored.
    virtual void set_parent_widget(QWidget* parent) = 0;
    // 6..8: resets.
    virtual void reset_all() = 0;
    virtual void reset_profile(int32_t profile_index, bool whole) = 0;
    virtual void reset_ctrl(ctrl_funcs_i* ctrl) = 0;
    // 9: a new tab button; the host owns it.
    virtual QPushButton* create_tab_button() = 0;
    // 10, 11: builds and shows the form / closes and destroys it.
    virtual void open_page() = 0;
    virtual void close_page() = 0;

protected:
    ~product_function_page_i() = default;
};

class favorites_function_page_i : public interface_i {
public:
    virtual void add_favorite(ctrl_funcs_i* ctrl) = 0;
    virtual void remove_favorite(ctrl_funcs_i* ctrl) = 0;

protected:
    ~favorites_function_page_i() = default;
};

class product_kernel_i;

// A control: puts its box into a panel of a page's form and reports changes.
class ctrl_funcs_i : public interface_i {
public:
    virtual void set_context(product_kernel_i* kernel, product_function_page_i* page) = 0;
    virtual void create_box(QWidget* panel) = 0;
    virtual void close_box() = 0;
    virtual int32_t ctrl_type() = 0;
    virtual bool is_favorite() = 0;
    virtual void set_favorite(bool on) = 0;
    // 1: one column of the page; anything else: the full width.
    virtual int32_t box_span() = 0;
    virtual void favorite_changed() = 0;

protected:
    ~ctrl_funcs_i() = default;
};

// The control box calls this when the user asks to reset the control.
class ctrl_funcs_box_fm_client_i : public interface_i {
public:
    virtual void reset_requested() = 0;

protected:
    ~ctrl_funcs_box_fm_client_i() = default;
};

class value_ctrl_funcs_listener_i : public interface_i {
public:
    virtual void value_changed(int32_t type, int32_t value) = 0;

protected:
    ~value_ctrl_funcs_listener_i() = default;
};

// Notifications of a kernel to its listeners (kind 1, kind 0, kind 2).
class product_kernel_listener_i : public interface_i {
public:
    virtual void current_profile_changed() = 0;
    virtual void data_changed() = 0;
    virtual void everything_reset() = 0;

protected:
    ~product_kernel_listener_i() = default;
};

// The surface and lift-off control, as the kernel reaches it for calibration results.
class surf_lift_ctrl_funcs_i : public interface_i {
public:
    virtual bool surf_on() = 0;
    virtual int32_t lift_level() = 0;
    virtual void set_surf(bool on) = 0;
    virtual void set_lift(int32_t level) = 0;
    virtual void calibration_result(uint8_t ok) = 0;

protected:
    ~surf_lift_ctrl_funcs_i() = default;
};

// A per-profile lighting preview that lives in the host's profile tile.
class profile_led_effect_fm_i : public interface_i {
public:
    virtual void attach(QWidget* parent, int32_t profile_slot) = 0;
    virtual void refresh() = 0;

protected:
    ~profile_led_effect_fm_i() = default;
};

// The DPI switcher's own copy of the five steps and the active step.
class dpi_switcher_ctrl_funcs_i : public interface_i {
public:
    virtual int32_t active_step() = 0;
    virtual void set_active_step(int32_t step) = 0;
    virtual bool is_step_enabled(int32_t step) = 0;
    virtual int32_t step_dpi(int32_t step) = 0;
    virtual void set_step_enabled(int32_t step, bool on) = 0;
    virtual void set_step_dpi(int32_t step, int32_t dpi) = 0;

protected:
    ~dpi_switcher_ctrl_funcs_i() = default;
};

class dpi_switcher_ctrl_funcs_listener_i : public interface_i {
public:
    virtual void step_enabled_changed(int32_t step, bool on) = 0;
    virtual void step_dpi_changed(int32_t step, int32_t dpi) = 0;
    virtual void active_step_changed(int32_t step) = 0;

protected:
    ~dpi_switcher_ctrl_funcs_listener_i() = default;
};

// The two button-assignment controls (side buttons, top buttons).
class btn_assignment_ctrl_funcs_i : public interface_i {
public:
    // 2: the open box rereads its rows (and the side box its presets and layout) from the
    // current profile; nothing while no box is open.
    virtual void reload() = 0;

protected:
    ~btn_assignment_ctrl_funcs_i() = default;
};

// Control types, by which controls are named across pages and in the favourites.
namespace ctrl_type {
inline constexpr int32_t sensitivity = 0;
inline constexpr int32_t dpi_switcher = 1;
inline constexpr int32_t pointer_speed = 2;
inline constexpr int32_t v_scroll = 3;
inline constexpr int32_t h_scroll = 4;
inline constexpr int32_t double_click = 5;
inline constexpr int32_t button_assignment = 7;
inline constexpr int32_t top_button_assignment = 8;
inline constexpr int32_t adv_sensitivity = 9;
inline constexpr int32_t surf_lift = 10;
inline constexpr int32_t polling_rate = 11;
inline constexpr int32_t device_reset = 12;
inline constexpr int32_t lighting = 13;
inline constexpr int32_t sound_feedback = 14;
} // namespace ctrl_type

// What the advanced page hears from its controls (operations in slot order).
class adv_sen_ctrl_funcs_listener_i : public interface_i {
public:
    virtual void x_changed(int32_t value) = 0;       // 2: shown value
    virtual void y_changed(int32_t value) = 0;       // 3
    virtual void separate_changed(int32_t mode) = 0; // 4: 0 one value for both axes

protected:
    ~adv_sen_ctrl_funcs_listener_i() = default;
};

class surf_lift_ctrl_funcs_listener_i : public interface_i {
public:
    virtual void surf_changed(bool on) = 0;       // 2
    virtual void lift_changed(int32_t level) = 0; // 3: 0 off .. 3 normal

protected:
    ~surf_lift_ctrl_funcs_listener_i() = default;
};

class reset_ctrl_funcs_listener_i : public interface_i {
public:
    virtual void reset_device() = 0; // 2: the person confirmed a reset of the whole device

protected:
    ~reset_ctrl_funcs_listener_i() = default;
};

class sound_feedback_ctrl_funcs_listener_i : public interface_i {
public:
    virtual void switch_0_changed(bool on) = 0;       // 2
    virtual void switch_1_changed(bool on) = 0;       // 3
    virtual void switch_2_changed(bool on) = 0;       // 4
    virtual void switch_3_changed(bool on) = 0;       // 5
    virtual void switch_4_changed(bool on) = 0;       // 6
    virtual void sound_reserved_7(int32_t value) = 0; // 7: the page ignores it
    virtual void volume_changed(int32_t value) = 0;   // 8: 0..100

protected:
    ~sound_feedback_ctrl_funcs_listener_i() = default;
};

// Lift-off levels of the surface and lift control.
namespace lift_level {
inline constexpr int32_t off = 0;
inline constexpr int32_t extra_low = 1;
inline constexpr int32_t low = 2;
inline constexpr int32_t normal = 3;
inline constexpr int32_t count = 4;
} // namespace lift_level

// Sensor tuning commands (kernel command 11 carries one as a 32-bit big-endian int in a
// version-16 stream). 5..8 select a lift-off level.
namespace tuning_command {
inline constexpr int32_t start_calibration = 0;
inline constexpr int32_t accept_calibration = 2;
inline constexpr int32_t discard_calibration = 3;
inline constexpr int32_t surface_off = 4;
inline constexpr int32_t lift_off = 5;
inline constexpr int32_t lift_normal = 6;
inline constexpr int32_t lift_low = 7;
inline constexpr int32_t lift_extra_low = 8;
// The command that selects a lift level; 5 (off) for anything outside 1..3.
inline constexpr int32_t for_lift_level(int32_t level) {
    return level == lift_level::extra_low ? lift_extra_low
           : level == lift_level::low     ? lift_low
           : level == lift_level::normal  ? lift_normal
                                          : lift_off;
}
} // namespace tuning_command

// The device's answer to a calibration (host message 25): one byte in a version-16 stream.
namespace calibration_outcome {
inline constexpr uint8_t failed = 0;
inline constexpr uint8_t succeeded = 1;
} // namespace calibration_outcome

// Sound feedback: bits 0..4 of the profile's extra word are the five switches; the
// volume runs 0..100.
inline constexpr int32_t sound_switch_count = 5;
inline constexpr uint8_t sound_switch_mask = 0x1F;
inline constexpr int32_t sound_volume_max = 100;
// Polling-rate indices 0..3 (the host's control names the rates).
inline constexpr int32_t polling_rate_count = 4;
