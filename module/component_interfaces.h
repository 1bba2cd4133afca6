// Host components the module's pages and controls ask for with
// module_host_i::create_instance. Operations are in slot order; the slots the
// module does not call belong to the host and keep their place with a
// reserved entry.
#pragma once

#include "module/interfaces.h"

#include <QByteArray>
#include <QList>
#include <QPoint>

class QAbstractButton;
class QWidget;
class slider_i;
class colour_flow_list_i;

// The frame around a control's form (class 0x2A01): title, help, icon,
// favourite mark and reset.
class ctrl_box_i : public interface_i {
public:
    // 2: the control; the box asks it for ctrl_funcs_box_fm_client_i and ctrl_funcs_i.
    virtual void set_client(interface_i* control) = 0;
    virtual void box_reserved_3() = 0;
    virtual void set_icon(const QString& path) = 0;                       // 4
    virtual void set_title(const QString& text) = 0;                      // 5
    virtual void set_help(const QString& title, const QString& text) = 0; // 6
    virtual void set_favorite_mark(bool on) = 0;                          // 7
    virtual void box_reserved_8() = 0;
    virtual void box_reserved_9() = 0;
    virtual void box_reserved_10() = 0;
    virtual void set_height(int32_t height) = 0;            // 11
    virtual void attach(QWidget* panel, QWidget* form) = 0; // 12
    virtual void detach() = 0;                              // 13

protected:
    ~ctrl_box_i() = default;
};

// The value side of a host value control (sensitivity, pointer speed, scroll
// and double-click speed). The control itself is a ctrl_funcs_i that reports
// value_changed(type, shown value) to its listeners.
class value_ctrl_i : public interface_i {
public:
    // 2: range and step of the shown value; the fourth argument is 1.
    virtual void setup(int32_t max, int32_t min, int32_t step, int32_t mode) = 0;
    // 3: the shown value.
    virtual int32_t value() = 0;
    // 4: shows a value without reporting it.
    virtual void set_value(int32_t value) = 0;

protected:
    ~value_ctrl_i() = default;
};

// Second interface of the pointer-speed control: two further pointer settings.
class pointer_speed_ctrl_i : public interface_i {
public:
    virtual void pointer_reserved_2() = 0;
    virtual void pointer_reserved_3() = 0;
    virtual void set_hub_byte_0(uint8_t value) = 0; // 4
    virtual void set_hub_byte_1(uint8_t value) = 0; // 5

protected:
    ~pointer_speed_ctrl_i() = default;
};

// Second interface of the vertical-scroll control: a further scroll setting.
class v_scroll_ctrl_i : public interface_i {
public:
    virtual void v_scroll_reserved_2() = 0;
    virtual void set_hub_byte_2(uint8_t value) = 0; // 3

protected:
    ~v_scroll_ctrl_i() = default;
};

// What a slider tells its client.
class slider_client_i : public interface_i {
public:
    virtual void slider_value_changed(slider_i* slider) = 0; // 2
    virtual void slider_pressed(slider_i* slider) = 0;       // 3

protected:
    ~slider_client_i() = default;
};

// The host's slider with marks (class 0x401).
class slider_i : public interface_i {
public:
    virtual void set_parent(QWidget* parent) = 0;                       // 2
    virtual void set_range(int32_t max, int32_t min, int32_t step) = 0; // 3
    virtual void clear_marks() = 0;                                     // 4
    virtual void add_mark(int32_t value, const QString& label) = 0;     // 5
    virtual void apply_marks() = 0;                                     // 6
    virtual int32_t value() = 0;                                        // 7
    virtual void set_value(int32_t value) = 0;                          // 8
    virtual void set_enabled(bool on) = 0;                              // 9
    virtual void set_style_variant(int32_t variant) = 0;                // 10, called with 0
    virtual void set_geometry_parts(int32_t groove_height, int32_t handle_width,
                                    int32_t handle_height, int32_t mark_gap) = 0; // 11
    virtual void set_margins(int32_t horizontal, int32_t vertical) = 0; // 12, called with 8, 0
    virtual void set_handle_image(const QString& path) = 0;             // 13
    virtual void set_text_colour(int32_t r, int32_t g, int32_t b) = 0;  // 14
    virtual void set_client(slider_client_i* client) = 0;               // 15

protected:
    ~slider_i() = default;
};

// What the colour-flow list tells its client.
class combobox_fm_client_i : public interface_i {
public:
    // 2: the user chose item `index` (also when it was the current one already).
    virtual void item_chosen(colour_flow_list_i* list, int32_t index) = 0;

protected:
    ~combobox_fm_client_i() = default;
};

// The host's drop-down list of the colour-flow settings (class 0x1A01). It opens
// from its anchor button; select() and set_text() change what it shows silently.
class colour_flow_list_i : public interface_i {
public:
    // 2: the button the list opens from, and who hears of a choice.
    virtual void attach(QAbstractButton* anchor, combobox_fm_client_i* client) = 0;
    virtual void select(int32_t index) = 0; // 3
    virtual void list_reserved_4() = 0;
    // 5: the text of item `index`; the list grows to hold it.
    virtual void set_text(int32_t index, const QString& text) = 0;
    virtual void list_reserved_6() = 0;
    virtual void list_reserved_7() = 0;
    virtual void list_reserved_8() = 0;
    virtual void list_reserved_9() = 0;
    // 10: the selected item, -1 for none.
    virtual int32_t current_index() = 0;
    // 11: the text of an item; empty for an index without one.
    virtual QString text(int32_t index) = 0;

protected:
    ~colour_flow_list_i() = default;
};

// Class ids of the host's value controls.
namespace class_id {
inline constexpr int32_t sensitivity_ctrl = 0x0101;
inline constexpr int32_t pointer_speed_ctrl = 0x0201;
inline constexpr int32_t v_scroll_ctrl = 0x0301;
inline constexpr int32_t h_scroll_ctrl = 0x0501;
inline constexpr int32_t double_click_ctrl = 0x0601;
inline constexpr int32_t colour_flow_list = 0x1A01;
} // namespace class_id

// ---------------------------------------------------------------------------
// The advanced page's host controls and the message box. Each control is a
// ctrl_funcs_i with a listener_mgr_i; these are their setter facets. Setters
// show a value without reporting it.

// The advanced sensitivity control (class 0x0F01): X and Y, and whether the two
// axes are set separately. Reports adv_sen_ctrl_funcs_listener_i.
class adv_sen_ctrl_i : public interface_i {
public:
    virtual void adv_sen_reserved_2() = 0;
    virtual void adv_sen_reserved_3() = 0;
    virtual void adv_sen_reserved_4() = 0;
    virtual void set_x(int32_t value) = 0;        // 5: shown value, -5..5
    virtual void set_y(int32_t value) = 0;        // 6
    virtual void set_separate(bool separate) = 0; // 7

protected:
    ~adv_sen_ctrl_i() = default;
};

// The sound feedback control (class 0x1201): five switches and a volume.
// Reports sound_feedback_ctrl_funcs_listener_i.
class sound_feedback_ctrl_i : public interface_i {
public:
    virtual void sound_reserved_2() = 0;
    virtual void sound_reserved_3() = 0;
    virtual void sound_reserved_4() = 0;
    virtual void sound_reserved_5() = 0;
    virtual void sound_reserved_6() = 0;
    virtual void sound_reserved_7() = 0;
    virtual void sound_reserved_8() = 0;
    virtual void set_switch_0(bool on) = 0; // 9
    virtual void set_switch_1(bool on) = 0; // 10
    virtual void set_switch_2(bool on) = 0; // 11
    virtual void set_switch_3(bool on) = 0; // 12
    virtual void set_switch_4(bool on) = 0; // 13
    virtual void sound_reserved_14() = 0;
    virtual void set_volume(int32_t volume) = 0; // 15: 0..100

protected:
    ~sound_feedback_ctrl_i() = default;
};

// The host's message box (class 0x1C01).
class message_box_i : public interface_i {
public:
    // 2: modal. Title, message, question, confirm caption, cancel caption; `flags`
    // is 0. Non-zero when the person confirmed. close_box() ends it with 0.
    virtual int32_t run(const QString& title, const QString& text, const QString& question,
                        const QString& confirm, const QString& cancel, int32_t flags) = 0;
    virtual void close_box() = 0; // 3

protected:
    ~message_box_i() = default;
};

namespace class_id {
inline constexpr int32_t adv_sen_ctrl = 0x0F01;
inline constexpr int32_t polling_rate_ctrl = 0x1001;
inline constexpr int32_t device_reset_ctrl = 0x1101;
inline constexpr int32_t sound_feedback_ctrl = 0x1201;
} // namespace class_id

// ---------------------------------------------------------------------------
// Button assignment: the function catalogue's menus, the dialogs behind its
// entries, the reset confirmation, the preset selector, and the host service
// that lists timers and devices. Operations are in slot order.

class menu_i;
class menu_entry_i;
class menu_item_client_i;
class edit_timer_fm_client_i;
class reset_to_default_fm_client_i;
class preset_selector_client_i;

// A drop-down menu of the host (class 0x1801): a root attached to a widget, or
// a submenu added to another menu. A child belongs to the menu it was added
// to: releasing a menu releases its children, and releasing a child takes it
// out of its menu first. A root answers listener_mgr_i; its listeners hear of
// the tree opening and closing (main_menu_listener_i, menu_listener_i).
class menu_i : public interface_i {
public:
    // 2: appends a menu or a menu entry (as created by the host); the menu
    // takes it over. Null, an object of another host, or one that already has
    // a parent is refused.
    virtual void add_child(interface_i* child) = 0;
    virtual void set_label(const QString& text) = 0;       // 3
    virtual void set_description(const QString& text) = 0; // 4: a second, dimmer line
    // 5: 1 shows the three icons of set_icons, 0 none.
    virtual void set_icon_flag(int32_t flag) = 0;
    // 6: normal, pointer over, open (resource paths of the caller are fine).
    virtual void set_icons(const QString& normal, const QString& over, const QString& active) = 0;
    // 7: makes the menu a root whose pop-ups belong to `parent`'s window.
    virtual void attach(QWidget* parent) = 0;
    // 8: the menu's name (the catalogue's root is "ROOT"); never shown.
    virtual void set_name(const QString& name) = 0;
    // 9: opens the menu at a global screen position and returns at once; the
    // choice reaches the entry's client after the menu has closed.
    virtual void popup(const QPoint& global_position) = 0;
    // 10: closes the menu (and its open submenus) if it is open.
    virtual void close_menu() = 0;
    // 11: a disabled submenu cannot be opened; it stays in place, greyed.
    virtual void set_enabled(bool on) = 0;
    // 12: releases every child.
    virtual void remove_all() = 0;
    // 13: the number of children.
    virtual int32_t child_count() = 0;

protected:
    ~menu_i() = default;
};

// One selectable entry of a menu (class 0x1901). Its code facet
// (menu_entry_code_i) carries the function code and parameter.
class menu_entry_i : public interface_i {
public:
    virtual void set_label(const QString& text) = 0; // 2
    // 3: told when the entry is chosen; the host asks the client for
    // menu_button_item_client_i and, while the pointer rests on the entry,
    // calls its menu_item_client_i.
    virtual void set_client(menu_item_client_i* client) = 0;
    // 4: a further client told after the first; the catalogue passes null.
    virtual void set_second_client(interface_i* client) = 0;
    virtual void set_icon_flag(int32_t flag) = 0; // 5: as menu_i
    virtual void set_icons(const QString& normal, const QString& over,
                           const QString& active) = 0; // 6
    // 7, 8: what the entry stands for beside its code (a macro group, a timer
    // or a device identifier); 0 until set.
    virtual uint32_t identifier() = 0;
    virtual void set_identifier(uint32_t identifier) = 0;
    // 9, 10: a disabled entry is shown greyed and cannot be chosen.
    virtual void set_enabled(bool on) = 0;
    virtual bool is_enabled() = 0;
    virtual QString label() = 0; // 11

protected:
    ~menu_entry_i() = default;
};

// The code facet of a menu entry, asked for on the entry.
class menu_entry_code_i : public interface_i {
public:
    virtual void set_code(int32_t code) = 0;           // 2: 0..256
    virtual void set_parameter(int32_t parameter) = 0; // 3
    virtual int32_t code() = 0;                        // 4
    virtual int32_t parameter() = 0;                   // 5

protected:
    ~menu_entry_code_i() = default;
};

// The module's side of menu entries: the pointer rests on one of them.
class menu_item_client_i : public interface_i {
public:
    virtual void entry_hovered(menu_entry_i* entry) = 0; // 2

protected:
    ~menu_item_client_i() = default;
};

// The module's side of menu entries: one was chosen. Called once the menu
// has closed, so the client may open a modal dialog or rebuild the menus.
class menu_button_item_client_i : public interface_i {
public:
    virtual void entry_chosen(menu_entry_i* entry) = 0; // 2

protected:
    ~menu_button_item_client_i() = default;
};

// Listeners of a root menu: the whole tree opens and closes.
class main_menu_listener_i : public interface_i {
public:
    virtual void main_menu_shown(menu_i* root) = 0;  // 2
    virtual void main_menu_closed(menu_i* root) = 0; // 3

protected:
    ~main_menu_listener_i() = default;
};

// Listeners of a root menu: any menu of its tree (the root included) opens or closes.
class menu_listener_i : public interface_i {
public:
    virtual void menu_shown(menu_i* menu) = 0;  // 2
    virtual void menu_closed(menu_i* menu) = 0; // 3

protected:
    ~menu_listener_i() = default;
};

// The hotkey dialog (class 0x801): the person presses a key combination.
class hotkey_dialog_i : public interface_i {
public:
    // 2: modal. `entry` is a 3-byte button entry; when it already holds
    // `code`, its combination is shown first. The module passes 4 as `mode`
    // (the four modifiers Shift, Ctrl, Alt and Win are offered; fewer offers
    // the first `mode` of them). 1 when accepted: the entry then holds
    // (`code`, modifier mask, key code) with hotkey_modifier bits and the HID
    // keyboard usage (0 for modifiers alone). Otherwise the entry is untouched.
    virtual int32_t run(uint8_t* entry, int32_t code, int32_t mode) = 0;

protected:
    ~hotkey_dialog_i() = default;
};

// The new-timer dialog (class 0xA01): a name and a duration.
class new_timer_dialog_i : public interface_i {
public:
    virtual int32_t run() = 0; // 2: modal; 1 when accepted
    // 3: puts the timer just described into the host's timer list under
    // `identifier`; false when nothing was accepted or the identifier is taken.
    virtual bool store(uint32_t identifier) = 0;
    virtual QString timer_name() = 0; // 4: the accepted name

protected:
    ~new_timer_dialog_i() = default;
};

// Asked by the timer manager about the client's device.
class edit_timer_fm_client_i : public interface_i {
public:
    // 2: whether a button of the device carries the timer; the manager asks
    // before it deletes one.
    virtual bool timer_in_use(uint32_t identifier) = 0;

protected:
    ~edit_timer_fm_client_i() = default;
};

// The timer manager (class 0xB01): renames, changes and deletes the host's timers.
class timer_manager_dialog_i : public interface_i {
public:
    virtual void set_client(edit_timer_fm_client_i* client) = 0; // 2: may be null
    virtual int32_t run() = 0; // 3: modal; 1 when the timer list changed

protected:
    ~timer_manager_dialog_i() = default;
};

// The dialog of function 253 (class 0xC01): edits the profile's 32-bit value.
class code_253_dialog_i : public interface_i {
public:
    // 2: modal; shows *value and, when accepted (1), writes the new one there.
    virtual int32_t run(uint32_t* value) = 0;

protected:
    ~code_253_dialog_i() = default;
};

// The web-address dialog (class 0x2501).
class web_address_dialog_i : public interface_i {
public:
    virtual int32_t run() = 0;                            // 2: modal; 1 when accepted
    virtual QString address() = 0;                        // 3: the accepted address
    virtual void set_address(const QString& address) = 0; // 4: shown first

protected:
    ~web_address_dialog_i() = default;
};

// The value-slider dialog (class 0x2601).
class value_slider_dialog_i : public interface_i {
public:
    // 2: range, grid and first value. `default_value` (-1: none) adds a button
    // that returns to it; `number_box` 1 shows an editable number beside the
    // slider. The catalogue calls setup(12000, 200, 10, value, -1, 1).
    virtual void setup(int32_t max, int32_t min, int32_t step, int32_t initial,
                       int32_t default_value, int32_t number_box) = 0;
    // 3: a labelled mark at `percent` (0..100) of the slider's length.
    virtual void add_tick(int32_t value, const QString& label, int32_t percent) = 0;
    virtual int32_t run() = 0;                       // 4: modal; 1 when accepted
    virtual int32_t value() = 0;                     // 5: the accepted value
    virtual void set_title(const QString& text) = 0; // 6: the dialog's caption

protected:
    ~value_slider_dialog_i() = default;
};

// Told by the reset confirmation how the person answered.
class reset_to_default_fm_client_i : public interface_i {
public:
    // 2: 1 for yes, 0 for no (a click elsewhere is no); once per showing.
    virtual void reset_answer(int32_t answer) = 0;

protected:
    ~reset_to_default_fm_client_i() = default;
};

// The reset confirmation (class 0x1E01): a small pop-up at a button.
class reset_confirm_i : public interface_i {
public:
    virtual void set_client(reset_to_default_fm_client_i* client) = 0; // 2
    // 3: shows the pop-up pointing at `anchor` and returns at once; the
    // answer reaches the client when it closes.
    virtual void show_at(QWidget* anchor) = 0;
    virtual void close_confirm() = 0; // 4: closes it as a no

protected:
    ~reset_confirm_i() = default;
};

// Told by the preset selector which preset the person picked.
class preset_selector_client_i : public interface_i {
public:
    virtual void preset_chosen(int32_t index) = 0; // 2: index into the last list given

protected:
    ~preset_selector_client_i() = default;
};

// The host's title component (class 0x1601): a title with a description line
// that the host draws in its own lettering inside a widget of the module. The
// same class is the side box's preset selector; the preset list's operations
// follow from slot 4 on, so a title alone uses only slots 2 and 3.
class preset_selector_i : public interface_i {
public:
    // 2: fills `parent` (null takes the component away).
    virtual void attach(QWidget* parent) = 0;
    // 3: the title and the line under it; either may be empty.
    virtual void set_texts(const QString& title, const QString& description) = 0;
    // 4: the button-set presets, each a 30-byte layout record (name at 3..24,
    // identifier at 25..26, layout at 27..29); other sizes are skipped.
    virtual void set_presets(const QList<QByteArray>& records) = 0;
    // 5: the preset the current profile uses, by index; -1 for none.
    virtual void set_current(int32_t index) = 0;
    // 6: told when the person picks a preset; may be null.
    virtual void set_client(preset_selector_client_i* client) = 0;

protected:
    ~preset_selector_i() = default;
};

// Told by the catalogue service when the host's timer list changed.
class timer_listener_i : public interface_i {
public:
    virtual void timers_changed() = 0; // 2

protected:
    ~timer_listener_i() = default;
};

// Talk notices: another device joined or left the host's device list. Every
// device is reported; the listener decides which of them can talk.
class relay_fx_kernel_listener_i : public interface_i {
public:
    virtual void talk_device_added(uint16_t identifier, uint16_t product_id,
                                   const QString& name) = 0;   // 2
    virtual void talk_device_removed(uint16_t identifier) = 0; // 3

protected:
    ~relay_fx_kernel_listener_i() = default;
};

// The host's service 6 (ctrl_center_i::get_service(6)), used by the function
// catalogue. It answers listener_mgr_i: listeners hear timer_listener_i and
// relay_fx_kernel_listener_i. The host owns it; release() does nothing.
// Indexes are 0-based; out of range gives 0, -1 or an empty text.
class catalogue_service_i : public interface_i {
public:
    virtual int32_t timer_count() = 0;                     // 2
    virtual uint32_t timer_identifier(int32_t index) = 0;  // 3
    virtual QString timer_name(int32_t index) = 0;         // 4
    virtual int32_t timer_index(uint32_t identifier) = 0;  // 5: -1 when unknown
    virtual int32_t device_count() = 0;                    // 6: the other devices
    virtual uint16_t device_product_id(int32_t index) = 0; // 7
    virtual uint16_t device_identifier(int32_t index) = 0; // 8
    virtual QString device_name(int32_t index) = 0;        // 9
    virtual int32_t device_index(uint16_t identifier) = 0; // 10: -1 when unknown
    // 11: opens the host's macro editor for a new macro (modal); 1 when a
    // macro was added to the library (its listeners hear of it).
    virtual int32_t new_macro() = 0;

protected:
    ~catalogue_service_i() = default;
};

namespace class_id {
inline constexpr int32_t hotkey_dialog = 0x0801;
inline constexpr int32_t new_timer_dialog = 0x0A01;
inline constexpr int32_t timer_manager_dialog = 0x0B01;
inline constexpr int32_t code_253_dialog = 0x0C01;
inline constexpr int32_t menu = 0x1801;
inline constexpr int32_t menu_entry = 0x1901;
// The title component, also the side box's preset selector (preset_selector_i).
inline constexpr int32_t preset_selector = 0x1601;
inline constexpr int32_t reset_confirm = 0x1E01;
inline constexpr int32_t web_address_dialog = 0x2501;
inline constexpr int32_t value_slider_dialog = 0x2601;
} // namespace class_id

// ctrl_center_i::get_service numbers.
namespace host_service {
inline constexpr int32_t function_catalogue = 6;
} // namespace host_service

// Modifier mask of a hotkey (the button entry's first parameter). The value 1
// alone stands for no shortcut at all.
namespace hotkey_modifier {
inline constexpr uint8_t none = 1;
inline constexpr uint8_t shift = 2;
inline constexpr uint8_t ctrl = 4;
inline constexpr uint8_t alt = 8;
inline constexpr uint8_t win = 16;
inline constexpr uint8_t all = shift | ctrl | alt | win;
} // namespace hotkey_modifier

// The top buttons as the markers on the mouse number them: marker k (1..8) is the
// standard-layer button index row_index[k - 1]; its Alter-Key[+] twin is that index + 20.
namespace top_button {
inline constexpr int32_t row_index[8] = {0, 1, 2, 4, 3, 5, 6, 7};
} // namespace top_button

// Function codes of a button entry whose parameters or side records carry
// more than the code (the device and the host read them too).
namespace function_code {
inline constexpr int32_t disabled = 0;
inline constexpr int32_t hotkey = 5;          // (5, modifier mask, HID key usage)
inline constexpr int32_t open_program = 15;   // path in btn_text_map
inline constexpr int32_t macro = 48;          // plays the button's macro_rec
inline constexpr int32_t timer = 49;          // timer identifier in btn_param_map
inline constexpr int32_t dpi_step_first = 51; // 51..55: DPI step 0..4
inline constexpr int32_t dpi_step_last = 55;
inline constexpr int32_t talk_alter_key = 81; // 81..84: talk record in btn_data_map
inline constexpr int32_t talk_lock = 82;
inline constexpr int32_t talk_all_alter_key = 83;
inline constexpr int32_t talk_all_lock = 84;
inline constexpr int32_t custom_dpi = 124; // (124, value low byte, value high byte)
inline constexpr int32_t open_document = 137;
inline constexpr int32_t open_folder = 138;
inline constexpr int32_t open_website = 139;
inline constexpr int32_t new_macro = 252;
inline constexpr int32_t profile_value = 253; // edits profile_name_rec bytes 108..111
inline constexpr int32_t manage_timers = 254;
inline constexpr int32_t new_timer = 255;
inline constexpr int32_t reset = 256;
} // namespace function_code

// Side records of a button in the profile's maps, keyed by button index.
namespace button_side_record {
// btn_param_map value of a timer button: 32-bit timer identifier, 16-bit
// button index (both little-endian), the rest zero.
inline constexpr int param_size = 11;
// btn_data_map value of a talk button: 16-bit 0x1E7D, 16-bit target device
// identifier, remote function byte (245 for 81, 246 for 82, 140 for 83,
// 141 for 84), then the device's name as UTF-8, zero-padded.
inline constexpr int data_size = 75;
inline constexpr uint16_t talk_magic = 0x1E7D;
inline constexpr int talk_name_at = 5;
} // namespace button_side_record
