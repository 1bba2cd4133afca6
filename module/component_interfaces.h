// Host components the module's pages and controls ask for with
// module_host_i::create_instance. Operations are in slot order; the slots the
// module does not call belong to the host and keep their place with a
// reserved entry.
#pragma once

#include "module/interfaces.h"

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
