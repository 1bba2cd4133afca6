// The strip of button-set presets under the side-panel editor: one tile per saved layout,
// an add button, renaming in place, deleting with a confirmation, reordering by drag. It
// also keeps the stored layout: every change the editor reports goes into the selected
// preset (and every profile using it) or into the current profile's layout record.
#pragma once

#include "button_sets/del_btn_preset_fm.h"
#include "module/button_set_interfaces.h"
#include "module/kernel_host_interfaces.h"
#include "module/page_interfaces.h"
#include "pages/form_base.h"
#include "ui_btn_preset_fm.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class btn_preset_sub_fm_c;
class btn_set_owner_i;
class zarek_data_c;
struct btn_layout_rec;

class btn_preset_fm_c : public QWidget,
                        public form_base_c,
                        public btn_jigsaw_listener_i,
                        public product_kernel_listener_i {
    Q_OBJECT

public:
    // `owner` (may be null) leads to the kernel, its profile set and the editor; the strip
    // listens to the editor and to the kernel until it is destroyed.
    btn_preset_fm_c(btn_set_owner_i* owner, QWidget* parent);
    ~btn_preset_fm_c() override;

    // Retranslation (form_base_c): the title and the pop-up's texts from the host.
    void update() override;
    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    // A kernel that goes away is no longer told anything.
    void manager_closing(listener_mgr_i* manager) override;
    // btn_jigsaw_listener_i: the stored layout follows the editor.
    void on_button_fitted(int32_t button_index, bool fitted) override;
    void on_pair_kind(int32_t first_button_index, bool is_double) override;
    void on_undo_redo_state(bool, bool) override {}
    // product_kernel_listener_i: the tiles are made again from the profile set.
    void current_profile_changed() override { rebuild(); }
    void data_changed() override { rebuild(); }
    void everything_reset() override { rebuild(); }

    // One tile per saved layout, in list order, and the tile of the current profile selected.
    void rebuild();
    // "btn_add_set": a new preset of twelve singles with a unique identifier; at most 51.
    void add_preset();

    // --- Tile operations (the tiles call them) ---
    void select(btn_preset_sub_fm_c* tile);
    void tile_hovered(btn_preset_sub_fm_c* tile, bool on);
    // The preset behind the tile becomes `record` in the saved list and in every profile
    // that uses it.
    void update_preset(btn_preset_sub_fm_c* tile, const btn_layout_rec& record);
    void request_delete(btn_preset_sub_fm_c* tile);
    // The pop-up's answer for the tile it was opened for.
    void delete_answered(btn_preset_sub_fm_c* tile, bool yes);
    // Whether a profile slot in use carries the identifier (such a preset cannot be deleted).
    bool identifier_in_use(uint16_t id) const;
    // Reordering: a press remembers the tile, the first move starts the drag.
    void tile_pressed(btn_preset_sub_fm_c* tile, const QPoint& pos);
    void tile_moved(btn_preset_sub_fm_c* tile);
    void tile_released();
    // Exchanges two tiles and their saved records (what a drop of one on the other does).
    void swap_tiles(btn_preset_sub_fm_c* a, btn_preset_sub_fm_c* b);
    // Scrolls the strip so that the tile is whole in view.
    void bring_into_view(btn_preset_sub_fm_c* tile);

    const QList<btn_preset_sub_fm_c*>& tiles() const { return m_tiles; }
    del_btn_preset_fm_c* popup() const { return m_popup; }
    bool wheel_allowed() const { return m_wheel_allowed; }
    QWidget* strip() const { return m_ui.wg_scrollarea; }
    QScrollArea* scroll_area() const { return m_ui.scrollArea; }
    zarek_data_c* profile_set() const;
    // The picture a reorder drag shows for the tile: tinted and half transparent.
    static QPixmap drag_picture(QWidget* tile);
    // Tile names: host text 43 and a counter that starts at 1 in every run of the module.
    static int next_name_number();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void lay_out_strip();
    void place_fades();
    // The horizontal bar's look, given once, when it first shows.
    void style_scroll_bar();
    btn_preset_sub_fm_c* tile_at(const QPoint& strip_pos) const;
    void apply_to_stored(uint32_t (*change)(uint32_t, int, bool), int button_index, bool on);
    void log_list_problems();

    Ui::btn_preset_fm m_ui;
    btn_set_owner_i* m_owner;
    product_kernel_i* m_kernel = nullptr;
    QPointer<QWidget> m_editor;
    QList<btn_preset_sub_fm_c*> m_tiles;
    btn_preset_sub_fm_c* m_pressed_tile = nullptr;
    QPoint m_press_point;
    bool m_dragging = false;
    bool m_pressed = false;
    bool m_wheel_allowed = true;
    QPointer<del_btn_preset_fm_c> m_popup;
    QString m_logged_problems;
};
