// The top-button box: the mouse from above with a numbered marker on each of its eight
// top buttons, and the button list of those buttons on both layers.
#pragma once

#include "button_sets/btn_set_owner.h"
#include "buttons/btn_box_fm_base.h"
#include "module/component_interfaces.h"
#include "ui_top_btn_assignment_box_fm.h"

#include <QMap>

class btn_list_fm_c;
class picture_widget_c;
class top_btn_assignment_ctrl_funcs_c;

class top_btn_assignment_box_fm_c final : public btn_box_fm_base_c,
                                          public main_menu_listener_i,
                                          public btn_set_owner_i {
    Q_OBJECT

public:
    // Standard-layer button index of the list's rows 1..8 (row 4 is index 4, row 5 index 3).
    static constexpr const int32_t (&row_buttons)[8] = top_button::row_index;
    static constexpr int alter_offset = 20;

    top_btn_assignment_ctrl_funcs_c* top_control() const { return m_top_control; }

    top_btn_assignment_box_fm_c(top_btn_assignment_ctrl_funcs_c* control, QWidget* parent);
    ~top_btn_assignment_box_fm_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    // Retranslation of the box's own texts.
    void update() override;

    // The button list rereads the current profile.
    void reload() override;

    // main_menu_listener_i: the marker of the row whose menu is open lights up.
    void main_menu_shown(menu_i* root) override;
    void main_menu_closed(menu_i* root) override;

    // btn_set_owner_i: the top box has no editor.
    product_kernel_i* kernel() const override;
    zarek_data_c* profile_set() const override;
    jigsawparent1* editor() const override { return nullptr; }
    void clear_select_all() override {}

    // The marker tied to a button index of either layer; null for other indices.
    picture_widget_c* marker_of(int button_index) const;
    bool marker_lit(int button_index) const;
    btn_list_fm_c* list() const { return m_list; }
    const Ui::top_btn_assignment_box_fm& ui() const { return m_ui; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void light(picture_widget_c* marker, bool on);

    Ui::top_btn_assignment_box_fm m_ui;
    top_btn_assignment_ctrl_funcs_c* m_top_control;
    btn_list_fm_c* m_list = nullptr;
    // Standard-layer button index → marker.
    QMap<int, picture_widget_c*> m_markers;
    int m_lit_index = -1;
};
