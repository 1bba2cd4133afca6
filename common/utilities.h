// Small helpers shared across the module: key and shortcut names, mask tinting,
// listener wiring and a few widget conveniences.
#pragma once

#include <QString>
#include <Qt>
#include <array>
#include <cstdint>

class QAbstractButton;
class QColor;
class QImage;
class QLabel;
class QTimer;
class QWidget;
class interface_i;

// One keyboard key: its code as the device and the profile store it (the HID
// keyboard usage), its PC set-1 scan code and whether it is sent with the E0 prefix.
struct key_row {
    uint8_t key_code;
    uint8_t scan_code;
    bool extended;
};

inline constexpr int key_table_rows = 123;

// The key table in search order; the first row with a matching key code wins.
const std::array<key_row, key_table_rows>& key_table();

// The first row for the key code, or null when the table has none.
const key_row* find_key(uint8_t key_code);

// The keyboard message parameter that describes the key to the operating system:
// scan code in bits 16..23, repeat count 1 in bit 0, extended flag in bit 24.
// 0 for a key code without a row.
uint32_t key_param(uint8_t key_code);

// The operating system's name of the key ("A", "Right Ctrl", "F1" ...); empty when unknown.
QString key_name(uint8_t key_code);

// Modifier bits of a shortcut; `none` alone means no shortcut at all.
namespace shortcut_modifier {
inline constexpr uint8_t none = 0x01;
inline constexpr uint8_t shift = 0x02;
inline constexpr uint8_t ctrl = 0x04;
inline constexpr uint8_t alt = 0x08;
inline constexpr uint8_t win = 0x10;
} // namespace shortcut_modifier

// "Shift + Ctrl + Alt + Win + <key>", each part only when present; "" for no shortcut.
QString shortcut_text(uint8_t modifiers, uint8_t key_code);

// The mask image recoloured: every visible pixel takes the colour's RGB and at most its
// alpha; fully transparent pixels stay as they are.
QImage tinted(const QImage& mask, const QColor& colour);

// Loads the mask at `path`, tints it and shows it on the label; an unloadable path
// leaves the label as it is.
void tint_image(const QString& path, QLabel* label, const QColor& colour);

// Registers the listener with the manager when the first object offers listener_mgr_i
// and the second listener_i; otherwise does nothing.
void connect_listener(interface_i* manager_object, interface_i* listener_object);
void disconnect_listener(interface_i* manager_object, interface_i* listener_object);

// The module's standard soft shadow under a widget.
void add_drop_shadow(QWidget* widget);

// Fixes the button's width to fit its text (at least `min_width`) and keeps the edge named by
// `alignment` in place: the right edge for AlignRight, the centre for AlignCenter, else the left.
void fit_width_to_text(QAbstractButton* button, int min_width, int margin, Qt::Alignment alignment);

// Fixes the button's width to its text width plus the two margins.
void fit_width_exact(QAbstractButton* button, int margin_left, int margin_right);

// Stops and deletes the timer and clears the pointer; null does nothing.
void dispose_timer(QTimer*& timer);

// Blocks the calling thread for `ms` milliseconds.
void pause(int ms);
