// The advanced page: separate X/Y sensitivity, lighting, surface and lift tuning,
// sound feedback, polling rate and the device reset. Four of its controls come from
// the host; the tuning and the lighting are the module's own.
#pragma once

#include "pages/zarek_page_base.h"

#include <QMap>
#include <QPointer>

class advanced_ctrl_fm_c;
class zarek_data_c;

class advanced_ctrl_c final : public zarek_page_base_c,
                              public product_function_page_i,
                              public value_ctrl_funcs_listener_i,
                              public adv_sen_ctrl_funcs_listener_i,
                              public surf_lift_ctrl_funcs_listener_i,
                              public reset_ctrl_funcs_listener_i,
                              public sound_feedback_ctrl_funcs_listener_i {
public:
    explicit advanced_ctrl_c(product_kernel_i* kernel);
    ~advanced_ctrl_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // product_function_page_i
    // Creates the host controls (types 9, 11, 12, 14), then the tuning and the lighting.
    void init() override;
    int32_t page_id() override { return page_type::advanced; }
    ctrl_funcs_i* ctrl_funcs(int32_t type) override;
    void set_parent_widget(QWidget* parent) override;
    // Every slot's defaults, a refresh, then the device-wide tuning values.
    void reset_all() override;
    // Types 9..14 for the slot; `whole` makes no difference here.
    void reset_profile(int32_t profile_index, bool whole) override;
    void reset_ctrl(ctrl_funcs_i* ctrl) override;
    QPushButton* create_tab_button() override;
    void open_page() override;
    void close_page() override;

    // Refreshes types 9, 10, 11, 12, 13, 14 in this order.
    void update() override;
    void language_changed(language_source_i* source, void* ignored) override;

    // value_ctrl_funcs_listener_i: the polling rate.
    void value_changed(int32_t type, int32_t value) override;
    // adv_sen_ctrl_funcs_listener_i
    void x_changed(int32_t value) override;
    void y_changed(int32_t value) override;
    void separate_changed(int32_t mode) override;
    // surf_lift_ctrl_funcs_listener_i: device-wide, not per profile.
    void surf_changed(bool on) override;
    void lift_changed(int32_t level) override;
    // reset_ctrl_funcs_listener_i
    void reset_device() override;
    // sound_feedback_ctrl_funcs_listener_i
    void switch_0_changed(bool on) override { set_sound_switch(0, on); }
    void switch_1_changed(bool on) override { set_sound_switch(1, on); }
    void switch_2_changed(bool on) override { set_sound_switch(2, on); }
    void switch_3_changed(bool on) override { set_sound_switch(3, on); }
    void switch_4_changed(bool on) override { set_sound_switch(4, on); }
    void sound_reserved_7(int32_t) override {}
    void volume_changed(int32_t value) override;

    advanced_ctrl_fm_c* form() const;
    QWidget* parent_widget() const { return m_parent; }

    // Host text of the tab's title.
    static constexpr int32_t title_text = 200;
    // The page's control types in refresh and reset order.
    static constexpr int32_t control_types[] = {
        ctrl_type::adv_sensitivity, ctrl_type::surf_lift, ctrl_type::polling_rate,
        ctrl_type::device_reset,    ctrl_type::lighting,  ctrl_type::sound_feedback};
    static constexpr uint8_t default_polling_rate = 3;
    static constexpr uint8_t default_volume = 50;

private:
    void create_host_ctrl(int32_t type, int32_t class_id);
    void store_ctrl(int32_t type, ctrl_funcs_i* ctrl);
    void refresh_ctrl(int32_t type);
    void reset_ctrl_for(int32_t type, int32_t slot);
    void set_sound_switch(int bit, bool on);

    QPointer<QWidget> m_parent;
    QPointer<advanced_ctrl_fm_c> m_form;
    QMap<int32_t, ctrl_funcs_i*> m_ctrls;
};
