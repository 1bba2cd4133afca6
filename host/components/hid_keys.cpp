#include "host/components/hid_keys.h"

#include "host/components/button_texts.h"
#include "module/component_interfaces.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>

namespace hid_keys {

namespace {

// One key: its usage, where the platforms find it (set-1 scan code with the
// E0 flag, Linux input code), the Qt key it types on a US layout and whether
// that Qt key comes from the keypad, and its name (a symbol, or a host text).
struct key_t {
    uint8_t usage;
    uint8_t set1;
    bool e0;
    uint16_t evdev;
    int qt_key;
    bool keypad;
    const char* symbol;
    int32_t text_id;
};

constexpr bool E0 = true;
constexpr bool KP = true;
constexpr int32_t no_text = 0;

// clang-format off
constexpr key_t k_keys[] = {
    {0x04, 0x1E, false, 30, Qt::Key_A, false, "A", no_text},
    {0x05, 0x30, false, 48, Qt::Key_B, false, "B", no_text},
    {0x06, 0x2E, false, 46, Qt::Key_C, false, "C", no_text},
    {0x07, 0x20, false, 32, Qt::Key_D, false, "D", no_text},
    {0x08, 0x12, false, 18, Qt::Key_E, false, "E", no_text},
    {0x09, 0x21, false, 33, Qt::Key_F, false, "F", no_text},
    {0x0A, 0x22, false, 34, Qt::Key_G, false, "G", no_text},
    {0x0B, 0x23, false, 35, Qt::Key_H, false, "H", no_text},
    {0x0C, 0x17, false, 23, Qt::Key_I, false, "I", no_text},
    {0x0D, 0x24, false, 36, Qt::Key_J, false, "J", no_text},
    {0x0E, 0x25, false, 37, Qt::Key_K, false, "K", no_text},
    {0x0F, 0x26, false, 38, Qt::Key_L, false, "L", no_text},
    {0x10, 0x32, false, 50, Qt::Key_M, false, "M", no_text},
    {0x11, 0x31, false, 49, Qt::Key_N, false, "N", no_text},
    {0x12, 0x18, false, 24, Qt::Key_O, false, "O", no_text},
    {0x13, 0x19, false, 25, Qt::Key_P, false, "P", no_text},
    {0x14, 0x10, false, 16, Qt::Key_Q, false, "Q", no_text},
    {0x15, 0x13, false, 19, Qt::Key_R, false, "R", no_text},
    {0x16, 0x1F, false, 31, Qt::Key_S, false, "S", no_text},
    {0x17, 0x14, false, 20, Qt::Key_T, false, "T", no_text},
    {0x18, 0x16, false, 22, Qt::Key_U, false, "U", no_text},
    {0x19, 0x2F, false, 47, Qt::Key_V, false, "V", no_text},
    {0x1A, 0x11, false, 17, Qt::Key_W, false, "W", no_text},
    {0x1B, 0x2D, false, 45, Qt::Key_X, false, "X", no_text},
    {0x1C, 0x15, false, 21, Qt::Key_Y, false, "Y", no_text},
    {0x1D, 0x2C, false, 44, Qt::Key_Z, false, "Z", no_text},
    {0x1E, 0x02, false, 2, Qt::Key_1, false, "1", no_text},
    {0x1F, 0x03, false, 3, Qt::Key_2, false, "2", no_text},
    {0x20, 0x04, false, 4, Qt::Key_3, false, "3", no_text},
    {0x21, 0x05, false, 5, Qt::Key_4, false, "4", no_text},
    {0x22, 0x06, false, 6, Qt::Key_5, false, "5", no_text},
    {0x23, 0x07, false, 7, Qt::Key_6, false, "6", no_text},
    {0x24, 0x08, false, 8, Qt::Key_7, false, "7", no_text},
    {0x25, 0x09, false, 9, Qt::Key_8, false, "8", no_text},
    {0x26, 0x0A, false, 10, Qt::Key_9, false, "9", no_text},
    {0x27, 0x0B, false, 11, Qt::Key_0, false, "0", no_text},
    {0x28, 0x1C, false, 28, Qt::Key_Return, false, nullptr, button_text::key_enter},
    {0x29, 0x01, false, 1, Qt::Key_Escape, false, nullptr, button_text::key_escape},
    {0x2A, 0x0E, false, 14, Qt::Key_Backspace, false, nullptr, button_text::key_backspace},
    {0x2B, 0x0F, false, 15, Qt::Key_Tab, false, nullptr, button_text::key_tab},
    {0x2C, 0x39, false, 57, Qt::Key_Space, false, nullptr, button_text::key_space},
    {0x2D, 0x0C, false, 12, Qt::Key_Minus, false, "-", no_text},
    {0x2E, 0x0D, false, 13, Qt::Key_Equal, false, "=", no_text},
    {0x2F, 0x1A, false, 26, Qt::Key_BracketLeft, false, "[", no_text},
    {0x30, 0x1B, false, 27, Qt::Key_BracketRight, false, "]", no_text},
    {0x31, 0x2B, false, 43, Qt::Key_Backslash, false, "\\", no_text},
    // The ISO key beside Enter shares its scan code with the backslash key.
    {0x32, 0x2B, false, 43, Qt::Key_unknown, false, nullptr, button_text::key_non_us_hash},
    {0x33, 0x27, false, 39, Qt::Key_Semicolon, false, ";", no_text},
    {0x34, 0x28, false, 40, Qt::Key_Apostrophe, false, "'", no_text},
    {0x35, 0x29, false, 41, Qt::Key_QuoteLeft, false, "`", no_text},
    {0x36, 0x33, false, 51, Qt::Key_Comma, false, ",", no_text},
    {0x37, 0x34, false, 52, Qt::Key_Period, false, ".", no_text},
    {0x38, 0x35, false, 53, Qt::Key_Slash, false, "/", no_text},
    {0x39, 0x3A, false, 58, Qt::Key_CapsLock, false, nullptr, button_text::key_caps_lock},
    {0x3A, 0x3B, false, 59, Qt::Key_F1, false, "F1", no_text},
    {0x3B, 0x3C, false, 60, Qt::Key_F2, false, "F2", no_text},
    {0x3C, 0x3D, false, 61, Qt::Key_F3, false, "F3", no_text},
    {0x3D, 0x3E, false, 62, Qt::Key_F4, false, "F4", no_text},
    {0x3E, 0x3F, false, 63, Qt::Key_F5, false, "F5", no_text},
    {0x3F, 0x40, false, 64, Qt::Key_F6, false, "F6", no_text},
    {0x40, 0x41, false, 65, Qt::Key_F7, false, "F7", no_text},
    {0x41, 0x42, false, 66, Qt::Key_F8, false, "F8", no_text},
    {0x42, 0x43, false, 67, Qt::Key_F9, false, "F9", no_text},
    {0x43, 0x44, false, 68, Qt::Key_F10, false, "F10", no_text},
    {0x44, 0x57, false, 87, Qt::Key_F11, false, "F11", no_text},
    {0x45, 0x58, false, 88, Qt::Key_F12, false, "F12", no_text},
    {0x46, 0x37, E0, 99, Qt::Key_Print, false, nullptr, button_text::key_print_screen},
    {0x47, 0x46, false, 70, Qt::Key_ScrollLock, false, nullptr, button_text::key_scroll_lock},
    {0x48, 0x45, false, 119, Qt::Key_Pause, false, nullptr, button_text::key_pause},
    {0x49, 0x52, E0, 110, Qt::Key_Insert, false, nullptr, button_text::key_insert},
    {0x4A, 0x47, E0, 102, Qt::Key_Home, false, nullptr, button_text::key_home},
    {0x4B, 0x49, E0, 104, Qt::Key_PageUp, false, nullptr, button_text::key_page_up},
    {0x4C, 0x53, E0, 111, Qt::Key_Delete, false, nullptr, button_text::key_delete},
    {0x4D, 0x4F, E0, 107, Qt::Key_End, false, nullptr, button_text::key_end},
    {0x4E, 0x51, E0, 109, Qt::Key_PageDown, false, nullptr, button_text::key_page_down},
    {0x4F, 0x4D, E0, 106, Qt::Key_Right, false, nullptr, button_text::key_right},
    {0x50, 0x4B, E0, 105, Qt::Key_Left, false, nullptr, button_text::key_left},
    {0x51, 0x50, E0, 108, Qt::Key_Down, false, nullptr, button_text::key_down},
    {0x52, 0x48, E0, 103, Qt::Key_Up, false, nullptr, button_text::key_up},
    {0x53, 0x45, E0, 69, Qt::Key_NumLock, false, nullptr, button_text::key_num_lock},
    {0x54, 0x35, E0, 98, Qt::Key_Slash, KP, "/", button_text::key_keypad},
    {0x55, 0x37, false, 55, Qt::Key_Asterisk, KP, "*", button_text::key_keypad},
    {0x56, 0x4A, false, 74, Qt::Key_Minus, KP, "-", button_text::key_keypad},
    {0x57, 0x4E, false, 78, Qt::Key_Plus, KP, "+", button_text::key_keypad},
    {0x58, 0x1C, E0, 96, Qt::Key_Enter, KP, nullptr, button_text::key_keypad_enter},
    {0x59, 0x4F, false, 79, Qt::Key_1, KP, "1", button_text::key_keypad},
    {0x5A, 0x50, false, 80, Qt::Key_2, KP, "2", button_text::key_keypad},
    {0x5B, 0x51, false, 81, Qt::Key_3, KP, "3", button_text::key_keypad},
    {0x5C, 0x4B, false, 75, Qt::Key_4, KP, "4", button_text::key_keypad},
    {0x5D, 0x4C, false, 76, Qt::Key_5, KP, "5", button_text::key_keypad},
    {0x5E, 0x4D, false, 77, Qt::Key_6, KP, "6", button_text::key_keypad},
    {0x5F, 0x47, false, 71, Qt::Key_7, KP, "7", button_text::key_keypad},
    {0x60, 0x48, false, 72, Qt::Key_8, KP, "8", button_text::key_keypad},
    {0x61, 0x49, false, 73, Qt::Key_9, KP, "9", button_text::key_keypad},
    {0x62, 0x52, false, 82, Qt::Key_0, KP, "0", button_text::key_keypad},
    {0x63, 0x53, false, 83, Qt::Key_Period, KP, ".", button_text::key_keypad},
    {0x64, 0x56, false, 86, Qt::Key_unknown, false, nullptr, button_text::key_non_us_backslash},
    {0x65, 0x5D, E0, 127, Qt::Key_Menu, false, nullptr, button_text::key_application},
    {0x67, 0x59, false, 117, Qt::Key_Equal, KP, "=", button_text::key_keypad},
    {0x68, 0x64, false, 183, Qt::Key_F13, false, "F13", no_text},
    {0x69, 0x65, false, 184, Qt::Key_F14, false, "F14", no_text},
    {0x6A, 0x66, false, 185, Qt::Key_F15, false, "F15", no_text},
    {0x87, 0x73, false, 89, Qt::Key_unknown, false, nullptr, button_text::key_international},
    {0x88, 0x70, false, 93, Qt::Key_Kana_Shift, false, nullptr, button_text::key_kana},
    {0x89, 0x7D, false, 124, Qt::Key_yen, false, nullptr, button_text::key_yen},
    {0x8A, 0x79, false, 92, Qt::Key_Henkan, false, nullptr, button_text::key_convert},
    {0x8B, 0x7B, false, 94, Qt::Key_Muhenkan, false, nullptr, button_text::key_no_convert},
    {0x90, 0xF2, false, 122, Qt::Key_Hangul, false, nullptr, button_text::key_hangul},
    {0x91, 0xF1, false, 123, Qt::Key_Hangul_Hanja, false, nullptr, button_text::key_hanja},
    {0x92, 0x78, false, 90, Qt::Key_Katakana, false, nullptr, button_text::key_katakana},
    {0x93, 0x77, false, 91, Qt::Key_Hiragana, false, nullptr, button_text::key_hiragana},
    {0x94, 0x76, false, 85, Qt::Key_Zenkaku_Hankaku, false, nullptr, button_text::key_zenkaku},
    {0xE0, 0x1D, false, 29, Qt::Key_Control, false, nullptr, button_text::key_ctrl},
    {0xE1, 0x2A, false, 42, Qt::Key_Shift, false, nullptr, button_text::key_shift},
    {0xE2, 0x38, false, 56, Qt::Key_Alt, false, nullptr, button_text::key_alt},
    {0xE3, 0x5B, E0, 125, Qt::Key_Meta, false, nullptr, button_text::key_win},
    {0xE4, 0x1D, E0, 97, Qt::Key_unknown, false, nullptr, button_text::key_ctrl},
    // Right Shift comes without the E0 prefix; the first row of its scan code is Left Shift's
    // only when the prefix is set, so both match it.
    {0xE5, 0x36, false, 54, Qt::Key_unknown, false, nullptr, button_text::key_shift},
    {0xE6, 0x38, E0, 100, Qt::Key_AltGr, false, nullptr, button_text::key_alt},
    {0xE7, 0x5C, E0, 126, Qt::Key_Super_R, false, nullptr, button_text::key_win},
};

// Qt keys that US-layout Shift produces from the keys above, and a few more
// names of the same keys; only the fallback without scan codes needs them.
constexpr struct {
    int qt_key;
    uint8_t usage;
} k_aliases[] = {
    {Qt::Key_Exclam, 0x1E},      {Qt::Key_At, 0x1F},          {Qt::Key_NumberSign, 0x20},
    {Qt::Key_Dollar, 0x21},      {Qt::Key_Percent, 0x22},     {Qt::Key_AsciiCircum, 0x23},
    {Qt::Key_Ampersand, 0x24},   {Qt::Key_Asterisk, 0x25},    {Qt::Key_ParenLeft, 0x26},
    {Qt::Key_ParenRight, 0x27},  {Qt::Key_Underscore, 0x2D},  {Qt::Key_Plus, 0x2E},
    {Qt::Key_BraceLeft, 0x2F},   {Qt::Key_BraceRight, 0x30},  {Qt::Key_Bar, 0x31},
    {Qt::Key_Colon, 0x33},       {Qt::Key_QuoteDbl, 0x34},    {Qt::Key_AsciiTilde, 0x35},
    {Qt::Key_Less, 0x36},        {Qt::Key_Greater, 0x37},     {Qt::Key_Question, 0x38},    {Qt::Key_Backtab, 0x2B},
    {Qt::Key_Enter, 0x58},       {Qt::Key_SysReq, 0x46},      {Qt::Key_Super_L, 0xE3},
    {Qt::Key_Udiaeresis, 0x2F},  {Qt::Key_Odiaeresis, 0x33},  {Qt::Key_Adiaeresis, 0x34},
    {Qt::Key_ssharp, 0x2D},
};
// clang-format on

constexpr uint8_t k_modifier_usages[][2] = {
    {0xE0, hotkey_modifier::ctrl}, {0xE1, hotkey_modifier::shift}, {0xE2, hotkey_modifier::alt},
    {0xE3, hotkey_modifier::win},  {0xE4, hotkey_modifier::ctrl},  {0xE5, hotkey_modifier::shift},
    {0xE6, hotkey_modifier::alt},  {0xE7, hotkey_modifier::win},
};

const key_t* find(uint8_t usage) {
    for (const key_t& key : k_keys) {
        if (key.usage == usage)
            return &key;
    }
    return nullptr;
}

} // namespace

scan_scheme platform_scheme() {
#ifdef Q_OS_WIN
    return scan_scheme::set1;
#else
    return QGuiApplication::platformName() == QLatin1String("xcb") ? scan_scheme::evdev
                                                                   : scan_scheme::none;
#endif
}

uint8_t usage_from_set1(uint32_t scan_code, bool extended) {
    for (const key_t& key : k_keys) {
        if (key.set1 == scan_code && key.e0 == extended)
            return key.usage;
    }
    // Keyboards that mark Right Shift with the prefix.
    if (scan_code == 0x36 && extended)
        return 0xE5;
    return 0;
}

uint8_t usage_from_evdev(uint32_t x11_key_code) {
    if (x11_key_code <= 8)
        return 0;
    const uint32_t code = x11_key_code - 8;
    for (const key_t& key : k_keys) {
        if (key.evdev == code)
            return key.usage;
    }
    return 0;
}

uint8_t usage_from_qt_key(int qt_key, bool keypad) {
    if (qt_key == Qt::Key_unknown || qt_key == 0)
        return 0;
    for (const key_t& key : k_keys) {
        if (key.qt_key == qt_key && key.keypad == keypad)
            return key.usage;
    }
    // A keypad key Qt does not mark as such, or a main key typed with Shift.
    for (const key_t& key : k_keys) {
        if (key.qt_key == qt_key)
            return key.usage;
    }
    for (const auto& alias : k_aliases) {
        if (alias.qt_key == qt_key)
            return alias.usage;
    }
    return 0;
}

uint8_t usage_of(const QKeyEvent& event, scan_scheme scheme) {
    const uint32_t scan = event.nativeScanCode();
    uint8_t usage = 0;
    if (scan != 0) {
        if (scheme == scan_scheme::set1)
            usage = usage_from_set1(scan & 0xFF, (scan & 0x100) != 0);
        else if (scheme == scan_scheme::evdev)
            usage = usage_from_evdev(scan);
    }
    if (usage == 0)
        usage = usage_from_qt_key(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
    return usage;
}

uint8_t modifier_bit_of_usage(uint8_t usage) {
    for (const auto& row : k_modifier_usages) {
        if (row[0] == usage)
            return row[1];
    }
    return 0;
}

uint8_t modifier_bit_of_qt_key(int qt_key) {
    switch (qt_key) {
    case Qt::Key_Shift:
        return hotkey_modifier::shift;
    case Qt::Key_Control:
        return hotkey_modifier::ctrl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return hotkey_modifier::alt;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return hotkey_modifier::win;
    default:
        return 0;
    }
}

uint8_t modifier_bits(Qt::KeyboardModifiers modifiers) {
    uint8_t bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= hotkey_modifier::shift;
    if (modifiers & Qt::ControlModifier)
        bits |= hotkey_modifier::ctrl;
    if (modifiers & Qt::AltModifier)
        bits |= hotkey_modifier::alt;
    if (modifiers & Qt::MetaModifier)
        bits |= hotkey_modifier::win;
    return bits;
}

bool is_known(uint8_t usage) {
    return find(usage) != nullptr;
}

QString key_name(uint8_t usage, const text_source& text) {
    const key_t* key = find(usage);
    if (!key)
        return QString();
    const QString word = key->text_id != no_text && text ? text(key->text_id) : QString();
    const QString symbol = key->symbol ? QString::fromLatin1(key->symbol) : QString();
    if (word.isEmpty())
        return symbol;
    if (symbol.isEmpty()) {
        // The right-hand modifiers carry the side in their name.
        if (usage >= 0xE4 && usage <= 0xE7 && text)
            return text(button_text::key_right_side).arg(word);
        return word;
    }
    // Keypad keys: "Keypad 7".
    return word.arg(symbol);
}

QString combination_text(uint8_t modifiers, uint8_t usage, const text_source& text) {
    if (modifiers == hotkey_modifier::none)
        return QString();
    static constexpr struct {
        uint8_t bit;
        int32_t text_id;
    } parts[] = {
        {hotkey_modifier::shift, button_text::key_shift},
        {hotkey_modifier::ctrl, button_text::key_ctrl},
        {hotkey_modifier::alt, button_text::key_alt},
        {hotkey_modifier::win, button_text::key_win},
    };
    QStringList names;
    for (const auto& part : parts) {
        if (modifiers & part.bit)
            names.append(text ? text(part.text_id) : QString());
    }
    if (usage != 0) {
        const QString name = key_name(usage, text);
        const QString hex = QStringLiteral("%1").arg(usage, 2, 16, QLatin1Char('0')).toUpper();
        names.append(!name.isEmpty() ? name : text ? text(button_text::key_unknown).arg(hex) : hex);
    }
    return names.join(QStringLiteral(" + "));
}

} // namespace hid_keys
