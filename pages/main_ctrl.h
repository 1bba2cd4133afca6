// The main page: sensitivity and the DPI steps of the current profile, and the
// pointer, scroll and double-click settings that the host keeps in its hub.
#pragma once

#include "pages/zarek_page_base.h"

#include <QMap>
#include <QPointer>

class main_ctrl_fm_c;
class zarek_data_c;

class main_ctrl_c final : public zarek_page_base_c,
                          public product_function_page_i,
                          public value_ctrl_funcs_listener_i,
                          public dpi_switcher_ctrl_funcs_listener_i {
public:
    explicit main_ctrl_c(product_kernel_i* kernel);
    ~main_ctrl_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // product_function_page_i
    // Creates the host's value controls (types 0, 2, 3, 4, 5), then the DPI switcher.
    void init() override;
    int32_t page_id() override { return page_type::main; }
    ctrl_funcs_i* ctrl_funcs(int32_t type) override;
    void set_parent_widget(QWidget* parent) override;
    void reset_all() override;
    // Sensitivity and DPI steps of the slot; with `whole` also the four hub settings.
    void reset_profile(int32_t profile_index, bool whole) override;
    void reset_ctrl(ctrl_funcs_i* ctrl) override;
    QPushButton* create_tab_button() override;
    void open_page() override;
    void close_page() override;

    // The page's refresh: every control from the current profile and the hub.
    void update() override;
    void language_changed(language_source_i* source, void* ignored) override;

    // value_ctrl_funcs_listener_i: the sensitivity goes into the current profile.
    void value_changed(int32_t type, int32_t value) override;

    // dpi_switcher_ctrl_funcs_listener_i: each goes straight into the current profile.
    void step_enabled_changed(int32_t step, bool on) override;
    void step_dpi_changed(int32_t step, int32_t dpi) override;
    void active_step_changed(int32_t step) override;

    main_ctrl_fm_c* form() const;
    QWidget* parent_widget() const { return m_parent; }

    // Host text of the tab's title.
    static constexpr int32_t title_text = 27;

private:
    void create_host_ctrl(int32_t type, int32_t class_id, int32_t max, int32_t min, int32_t step);
    void refresh_ctrl(int32_t type);
    void reset_ctrl_for(int32_t type, int32_t slot);

    QPointer<QWidget> m_parent;
    QPointer<main_ctrl_fm_c> m_form;
    QMap<int32_t, ctrl_funcs_i*> m_ctrls;
};
