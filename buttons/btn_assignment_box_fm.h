// The side-button box: the side-panel editor with its palette, trash can, history buttons
// and guide, the button-set presets, the host's preset selector, and the button list of the
// twelve side positions on both layers.
#pragma once

#include "button_sets/btn_set_owner.h"
#include "buttons/btn_box_fm_base.h"
#include "module/button_set_interfaces.h"
#include "module/component_interfaces.h"
#include "ui_btn_assignment_box_fm.h"

#include <QMap>
#include <QPointer>

class JigsawBlock;
class TrashCan;
class btn_assignment_ctrl_func_c;
class btn_deactivate_fm_c;
class btn_help_fm_c;
class btn_list_fm_c;
class btn_preset_fm_c;

class btn_assignment_box_fm_c final : public btn_box_fm_base_c,
                                      public main_menu_listener_i,
                                      public ctrl_center_listener_i,
                                      public btn_jigsaw_listener_i,
                                      public reset_to_default_fm_client_i,
                                      public preset_selector_client_i,
                                      public btn_set_owner_i {
    Q_OBJECT

public:
    btn_assignment_box_fm_c(btn_assignment_ctrl_func_c* control, QWidget* parent);
    ~btn_assignment_box_fm_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    // Retranslation: the box's texts and the preset selector's from the host.
    void update() override;
    // The title row's tools move with the new length of the title.
    void fonts_applied() override { place_tools(); }
    void manager_closing(listener_mgr_i* manager) override;

    // The preset strip, the button list and the editor reread the current profile.
    void reload() override;

    // main_menu_listener_i: the editor highlights the block of the row whose menu is open.
    void main_menu_shown(menu_i* root) override;
    void main_menu_closed(menu_i* root) override;
    // ctrl_center_listener_i: nothing to do here; the list follows the host itself.
    void product_event(int32_t) override {}
    void current_kernel_changed(product_kernel_i*) override {}
    void ctrl_center_notice(int32_t) override {}
    // btn_jigsaw_listener_i: the history buttons follow the editor.
    void on_button_fitted(int32_t, bool) override {}
    void on_pair_kind(int32_t, bool) override {}
    void on_undo_redo_state(bool is_undo, bool enabled) override;
    // reset_to_default_fm_client_i: 1 resets the side buttons of the current profile.
    void reset_answer(int32_t answer) override;
    // preset_selector_client_i: the current profile takes the preset.
    void preset_chosen(int32_t index) override;

    // btn_set_owner_i
    product_kernel_i* kernel() const override;
    zarek_data_c* profile_set() const override;
    jigsawparent1* editor() const override { return m_editor; }
    void clear_select_all() override;

    // "btn_reset": the host's confirmation at the button.
    void ask_reset();
    // "btn_deactivate": the mouse's buttons are off until the overlay is accepted.
    void deactivate();
    // The guide next to "wg_preset_info" (made on first use).
    void show_help();

    // The preset list as the host's selector gets it, and the current profile's preset.
    void refresh_preset_selector();

    // --- What tests, the screenshot program and benchmarks look at ---
    const Ui::btn_assignment_box_fm& ui() const { return m_ui; }
    btn_list_fm_c* list() const { return m_list; }
    btn_preset_fm_c* presets() const { return m_presets; }
    TrashCan* trash_can() const { return m_trash; }
    JigsawBlock* single_block() const { return m_single; }
    JigsawBlock* double_block() const { return m_double; }
    btn_help_fm_c* help() const;
    preset_selector_i* preset_selector() const { return m_selector; }
    reset_confirm_i* reset_confirm() const { return m_confirm; }
    // The overlay while deactivate() runs it; null otherwise.
    btn_deactivate_fm_c* deactivation() const;

signals:
    // deactivate() has put its overlay up (tests and the screenshot program answer it).
    void deactivation_shown(btn_deactivate_fm_c* overlay);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void place_tools();
    void set_look();
    void set_fonts();

    Ui::btn_assignment_box_fm m_ui;
    btn_assignment_ctrl_func_c* m_side_control;
    preset_selector_i* m_selector = nullptr;
    reset_confirm_i* m_confirm = nullptr;
    jigsawparent1* m_editor = nullptr;
    JigsawBlock* m_single = nullptr;
    JigsawBlock* m_double = nullptr;
    TrashCan* m_trash = nullptr;
    btn_preset_fm_c* m_presets = nullptr;
    btn_list_fm_c* m_list = nullptr;
    QPointer<btn_help_fm_c> m_help;
    QPointer<btn_deactivate_fm_c> m_deactivation;
    // Row buttons of the list whose hover lights their block on the panel.
    QMap<QObject*, int> m_watched;
    int m_highlighted = -1;
};
