// The keyboard keys a mouse button can send, by USB HID keyboard usage: how
// a key press on this computer becomes a usage, and how a usage and a
// modifier mask read as text ("Ctrl + Alt + A").
#pragma once

#include <QString>
#include <Qt>
#include <cstdint>
#include <functional>

class QKeyEvent;

namespace hid_keys {

// How the platform numbers physical keys in QKeyEvent::nativeScanCode().
enum class scan_scheme {
    none,  // no usable scan codes (offscreen, tests): the Qt key decides
    set1,  // PC set-1 scan codes, bit 8 marks the E0 prefix (Windows)
    evdev, // X11 key codes: the Linux input code + 8 (xcb)
};

// The scheme of the running platform.
scan_scheme platform_scheme();

// A key's usage, or 0 when it has none. The physical key wins when the
// scheme gives one (so a hotkey means the same key on every layout); the Qt
// key is the fallback. `keypad` tells the keypad's digits and signs apart.
uint8_t usage_from_set1(uint32_t scan_code, bool extended);
uint8_t usage_from_evdev(uint32_t x11_key_code);
uint8_t usage_from_qt_key(int qt_key, bool keypad);
uint8_t usage_of(const QKeyEvent& event, scan_scheme scheme);

// The modifier bit (hotkey_modifier) a usage or Qt key stands for; 0 when
// the key is not a modifier.
uint8_t modifier_bit_of_usage(uint8_t usage);
uint8_t modifier_bit_of_qt_key(int qt_key);
// The bits of Qt's modifier flags (Meta is the Win key).
uint8_t modifier_bits(Qt::KeyboardModifiers modifiers);

// Whether a usage is one the mouse can send.
bool is_known(uint8_t usage);

// Texts are looked up by host text id through `text`.
using text_source = std::function<QString(int32_t id)>;

// The key's name: its symbol or a word from the host's texts; empty when unknown.
QString key_name(uint8_t usage, const text_source& text);
// "Shift + Ctrl + Alt + Win + <key>", each part only when present; empty for
// the mask 1 (no shortcut) or nothing at all.
QString combination_text(uint8_t modifiers, uint8_t usage, const text_source& text);

} // namespace hid_keys
