// The small lighting preview of one profile slot that the kernel puts into the
// host's profile tile: two colour fields under the logo and light-pipe overlays,
// animated by an effect tool that reads the slot's lighting bytes.
#pragma once

#include "module/kernel_host_interfaces.h"
#include "module/lighting_interfaces.h"
#include "module/page_interfaces.h"
#include "ui_led_effect_fm.h"

#include <QString>
#include <QWidget>

class led_effect_tool_c;

class led_effect_fm_c : public QWidget,
                        public profile_led_effect_fm_i,
                        public listener_i,
                        public product_kernel_listener_i,
                        public lighting_ctrl_funcs_listener_i,
                        public led_effect_tool_client_i {
    Q_OBJECT

public:
    explicit led_effect_fm_c(product_kernel_i* kernel);
    ~led_effect_fm_c() override;

    // Answers profile_led_effect_fm_i (also as interface_i), listener_i,
    // product_kernel_listener_i, lighting_ctrl_funcs_listener_i and led_effect_tool_client_i.
    interface_i* query_interface(const GUID& iid) override;
    // Leaves the kernel and the lighting control, then destroys the widget.
    void release() override;

    // profile_led_effect_fm_i
    // Shows the slot in `parent` (the host's widget of that slot) at (5, 20) and listens
    // to the kernel and to its lighting control. Without a parent it stays hidden.
    void attach(QWidget* parent, int32_t profile_slot) override;
    // Hidden while the slot is not in use; otherwise the overlays follow whether the
    // current profile lights at all, and the animation starts anew.
    void refresh() override;

    // listener_i: a closing manager is forgotten; update() refreshes.
    void manager_closing(listener_mgr_i* manager) override;
    void update() override { refresh(); }

    // product_kernel_listener_i: every kernel notification refreshes.
    void current_profile_changed() override { refresh(); }
    void data_changed() override { refresh(); }
    void everything_reset() override { refresh(); }

    // lighting_ctrl_funcs_listener_i: every change the lighting control wrote refreshes.
    void lighting_on_changed() override { refresh(); }
    void effect_changed(int32_t) override { refresh(); }
    void speed_changed(int32_t) override { refresh(); }
    void color_flow_changed(int32_t) override { refresh(); }
    void colors_changed() override { refresh(); }

    // led_effect_tool_client_i: the two colour fields take the frame's colours.
    void show_led_colors(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t a1, uint8_t r2, uint8_t g2,
                         uint8_t b2, uint8_t a2) override;

    int32_t profile_slot() const { return m_slot; }
    led_effect_tool_c* tool() const { return m_tool; }
    bool masks_enabled() const;

private:
    void listen(bool on);

    Ui::led_effect_fm m_ui;
    product_kernel_i* m_kernel;
    // The lighting control of the kernel's advanced page, while it is there.
    interface_i* m_lighting_ctrl = nullptr;
    int32_t m_slot = -1;
    led_effect_tool_c* m_tool = nullptr;
    bool m_listening = false;
    // Set by release(): any other destruction came with the host's widget.
    bool m_released = false;
};
