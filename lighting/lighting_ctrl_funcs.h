// The lighting control of the advanced page (control type 13): whether the lights
// are on, the effect, its speed, the colour flow and one colour per zone. It writes
// the user's changes into the current profile's settings record and tells its
// listeners; the page fills it through lighting_ctrl_funcs_i on every refresh.
#pragma once

#include "module/lighting_interfaces.h"
#include "pages/ctrl_funcs.h"

#include <QPointer>

class lighting_ctrl_funcs_fm_c;
struct profile_settings_rec;
class zarek_data_c;

class lighting_ctrl_funcs_c : public ctrl_funcs_c, public lighting_ctrl_funcs_i {
public:
    // `page` is the owning page; set_context() gives the kernel (and the page again).
    explicit lighting_ctrl_funcs_c(product_function_page_i* page = nullptr);
    ~lighting_ctrl_funcs_c() override;

    // Answers lighting_ctrl_funcs_i, then what ctrl_funcs_c answers.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // ctrl_funcs_i
    // Builds the form in the panel (or moves the open one there), shows the cached values
    // and the current profile's zone colours, and lets the host box take the form.
    void create_box(QWidget* panel) override;
    // The box lets go of the form and the form is destroyed (an open palette closes first).
    void close_box() override;
    int32_t ctrl_type() override { return ctrl_type::lighting; }
    void favorite_changed() override;

    // lighting_ctrl_funcs_i: the page's side. The setters cache and show; nothing is
    // written and nobody is told.
    bool is_lighting_on() override { return m_lighting_on; }
    int32_t effect() override { return m_effect; }
    int32_t effect_speed() override { return m_speed; }
    int32_t color_flow() override { return m_color_flow; }
    void set_lighting_on(bool on) override;
    void set_effect(int32_t effect) override;
    void set_effect_speed(int32_t speed) override;
    void set_color_flow(int32_t flow) override;
    void refresh_colors() override;

    // The user's side, called by the form. An unchanged value returns at once; otherwise
    // it is stored, written into the current profile and every listener is told.
    void change_lighting_on(bool on);
    void change_effect(int32_t effect);
    void change_effect_speed(int32_t speed);
    void change_color_flow(int32_t flow);
    // A zone's colour: a standard colour by index or an RGB triple. Always written and told.
    void set_zone_index(bool top, int32_t index);
    void set_zone_rgb(bool top, uint8_t r, uint8_t g, uint8_t b);
    // Custom colour i (0..11) of the device block; nobody is told.
    void set_custom_color(int32_t i, uint8_t r, uint8_t g, uint8_t b, uint8_t extra);

    // For the advanced page, so the lighting bytes are known in one place:
    // the reset of control type 13 for profile slot `slot` (0..4; other slots keep their
    // bytes): lights on, the slot's colour flow, effect, speed and palette colour.
    static void write_reset_bytes(profile_settings_rec& settings, int slot);
    // The refresh of control type 13 from a profile's bytes, in the page's order:
    // effect, speed, colour flow, lights on (either lit bit), then the zone colours.
    static void show_bytes(lighting_ctrl_funcs_i* ctrl, const profile_settings_rec& settings);

    // The kernel's profile set, or null.
    zarek_data_c* profile_set() const;
    // The settings record of the current profile slot, or null without a profile set.
    profile_settings_rec* current_settings() const;
    // The open form, or null.
    lighting_ctrl_funcs_fm_c* form() const;

private:
    template <class F>
    void tell(F&& f) {
        for_each_listener<lighting_ctrl_funcs_listener_i>(f);
    }

    QPointer<lighting_ctrl_funcs_fm_c> m_form;
    bool m_lighting_on = true;
    int32_t m_effect = light_effect::breathing;
    int32_t m_speed = 2;
    int32_t m_color_flow = 1;
};
