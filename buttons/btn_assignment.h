// The button assignment page: the side-button box (with the side-panel editor) and the
// top-button box, the default button-set presets and every reset of the buttons.
#pragma once

#include "pages/zarek_page_base.h"

#include <QMap>
#include <QPointer>

class btn_assignment_fm_c;
class zarek_data_c;

class btn_assignment_c final : public zarek_page_base_c, public product_function_page_i {
public:
    explicit btn_assignment_c(product_kernel_i* kernel);
    ~btn_assignment_c() override;

    // Answers product_function_page_i, then what the page base answers.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // product_function_page_i
    // Creates the side box (type 7) and the top box (type 8).
    void init() override;
    int32_t page_id() override { return page_type::button_assignment; }
    ctrl_funcs_i* ctrl_funcs(int32_t type) override;
    void set_parent_widget(QWidget* parent) override;
    // Default presets again, both boxes of every slot back to defaults, both boxes reread.
    void reset_all() override;
    // Side buttons, then top buttons of the slot; `whole` changes nothing here.
    void reset_profile(int32_t profile_index, bool whole) override;
    // The control's buttons of the host's current slot, then that box rereads them.
    void reset_ctrl(ctrl_funcs_i* ctrl) override;
    QPushButton* create_tab_button() override;
    void open_page() override;
    void close_page() override;

    // A kernel notification: both boxes reread the current profile.
    void update() override;
    void language_changed(language_source_i* source, void* ignored) override;

    // The default presets of the resource replace the kernel's preset list.
    void load_default_presets();
    // Resets the buttons of control `type` (7 side, 8 top) in profile slot `slot`.
    void reset_ctrl_for(int32_t type, int32_t slot);
    // Rereads the box of control `type` and gives it its enabled state.
    void refresh_box(int32_t type);

    btn_assignment_fm_c* form() const;
    QWidget* parent_widget() const { return m_parent; }

    // Host text of the tab's title.
    static constexpr int32_t title_text = 72;

private:
    QPointer<QWidget> m_parent;
    QPointer<btn_assignment_fm_c> m_form;
    QMap<int32_t, ctrl_funcs_i*> m_ctrls;
};
