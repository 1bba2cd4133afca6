#include "common/utilities.h"

#include "common/kept_drop_shadow.h"
#include "common/platform.h"
#include "module/interfaces.h"

#include <QAbstractButton>
#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <algorithm>

namespace {

constexpr bool E0 = true;
constexpr bool plain = false;

// HID keyboard usage -> PC set-1 scan code. The last three rows are the other codes the
// same usages produce (Alt + Print Screen, Ctrl + Pause, Right Shift without a prefix);
// the first match wins, so they never take the place of the rows above.
constexpr std::array<key_row, key_table_rows> g_keys{{
    // Letters A..Z
    {0x04, 0x1E, plain},
    {0x05, 0x30, plain},
    {0x06, 0x2E, plain},
    {0x07, 0x20, plain},
    {0x08, 0x12, plain},
    {0x09, 0x21, plain},
    {0x0A, 0x22, plain},
    {0x0B, 0x23, plain},
    {0x0C, 0x17, plain},
    {0x0D, 0x24, plain},
    {0x0E, 0x25, plain},
    {0x0F, 0x26, plain},
    {0x10, 0x32, plain},
    {0x11, 0x31, plain},
    {0x12, 0x18, plain},
    {0x13, 0x19, plain},
    {0x14, 0x10, plain},
    {0x15, 0x13, plain},
    {0x16, 0x1F, plain},
    {0x17, 0x14, plain},
    {0x18, 0x16, plain},
    {0x19, 0x2F, plain},
    {0x1A, 0x11, plain},
    {0x1B, 0x2D, plain},
    {0x1C, 0x15, plain},
    {0x1D, 0x2C, plain},
    // Digits 1..9, 0
    {0x1E, 0x02, plain},
    {0x1F, 0x03, plain},
    {0x20, 0x04, plain},
    {0x21, 0x05, plain},
    {0x22, 0x06, plain},
    {0x23, 0x07, plain},
    {0x24, 0x08, plain},
    {0x25, 0x09, plain},
    {0x26, 0x0A, plain},
    {0x27, 0x0B, plain},
    // Enter, Escape, Backspace, Tab, Space
    {0x28, 0x1C, plain},
    {0x29, 0x01, plain},
    {0x2A, 0x0E, plain},
    {0x2B, 0x0F, plain},
    {0x2C, 0x39, plain},
    // - = [ ] \ non-US # ; ' ` , . /
    {0x2D, 0x0C, plain},
    {0x2E, 0x0D, plain},
    {0x2F, 0x1A, plain},
    {0x30, 0x1B, plain},
    {0x31, 0x2B, plain},
    {0x32, 0x2B, plain},
    {0x33, 0x27, plain},
    {0x34, 0x28, plain},
    {0x35, 0x29, plain},
    {0x36, 0x33, plain},
    {0x37, 0x34, plain},
    {0x38, 0x35, plain},
    // Caps Lock
    {0x39, 0x3A, plain},
    // F1..F12
    {0x3A, 0x3B, plain},
    {0x3B, 0x3C, plain},
    {0x3C, 0x3D, plain},
    {0x3D, 0x3E, plain},
    {0x3E, 0x3F, plain},
    {0x3F, 0x40, plain},
    {0x40, 0x41, plain},
    {0x41, 0x42, plain},
    {0x42, 0x43, plain},
    {0x43, 0x44, plain},
    {0x44, 0x57, plain},
    {0x45, 0x58, plain},
    // Print Screen, Scroll Lock, Pause
    {0x46, 0x37, E0},
    {0x47, 0x46, plain},
    {0x48, 0x45, plain},
    // Insert, Home, Page Up, Delete, End, Page Down, Right, Left, Down, Up
    {0x49, 0x52, E0},
    {0x4A, 0x47, E0},
    {0x4B, 0x49, E0},
    {0x4C, 0x53, E0},
    {0x4D, 0x4F, E0},
    {0x4E, 0x51, E0},
    {0x4F, 0x4D, E0},
    {0x50, 0x4B, E0},
    {0x51, 0x50, E0},
    {0x52, 0x48, E0},
    // Num Lock: marked extended so that it is not taken for Pause, which shares 0x45
    {0x53, 0x45, E0},
    // Keypad / * - + Enter 1..9 0 .
    {0x54, 0x35, E0},
    {0x55, 0x37, plain},
    {0x56, 0x4A, plain},
    {0x57, 0x4E, plain},
    {0x58, 0x1C, E0},
    {0x59, 0x4F, plain},
    {0x5A, 0x50, plain},
    {0x5B, 0x51, plain},
    {0x5C, 0x4B, plain},
    {0x5D, 0x4C, plain},
    {0x5E, 0x4D, plain},
    {0x5F, 0x47, plain},
    {0x60, 0x48, plain},
    {0x61, 0x49, plain},
    {0x62, 0x52, plain},
    {0x63, 0x53, plain},
    // Non-US \, Application, keypad =, F13..F15
    {0x64, 0x56, plain},
    {0x65, 0x5D, E0},
    {0x67, 0x59, plain},
    {0x68, 0x64, plain},
    {0x69, 0x65, plain},
    {0x6A, 0x66, plain},
    // International 1..5
    {0x87, 0x73, plain},
    {0x88, 0x70, plain},
    {0x89, 0x7D, plain},
    {0x8A, 0x79, plain},
    {0x8B, 0x7B, plain},
    // Language 1..5
    {0x90, 0xF2, plain},
    {0x91, 0xF1, plain},
    {0x92, 0x78, plain},
    {0x93, 0x77, plain},
    {0x94, 0x76, plain},
    // Left Ctrl, Shift, Alt, GUI; Right Ctrl, Shift (marked, never sent so), Alt, GUI
    {0xE0, 0x1D, plain},
    {0xE1, 0x2A, plain},
    {0xE2, 0x38, plain},
    {0xE3, 0x5B, E0},
    {0xE4, 0x1D, E0},
    {0xE5, 0x36, E0},
    {0xE6, 0x38, E0},
    {0xE7, 0x5C, E0},
    // Alternative codes of Print Screen, Pause and Right Shift
    {0x46, 0x54, plain},
    {0x48, 0x46, E0},
    {0xE5, 0x36, plain},
}};

static_assert(g_keys.size() == 123, "the key table has 123 rows");

// Right Shift is an ordinary key to the operating system despite its table mark.
constexpr uint8_t right_shift_scan = 0x36;

int text_width(const QAbstractButton* button) {
    return button->fontMetrics().horizontalAdvance(button->text());
}

} // namespace

const std::array<key_row, key_table_rows>& key_table() {
    return g_keys;
}

const key_row* find_key(uint8_t key_code) {
    const auto it = std::find_if(g_keys.begin(), g_keys.end(), [key_code](const key_row& row) {
        return row.key_code == key_code;
    });
    return it == g_keys.end() ? nullptr : &*it;
}

uint32_t key_param(uint8_t key_code) {
    const key_row* row = find_key(key_code);
    if (!row)
        return 0;
    uint32_t param = (uint32_t(row->scan_code) << 16) | 1u;
    if (row->extended && row->scan_code != right_shift_scan)
        param |= 1u << 24;
    return param;
}

QString key_name(uint8_t key_code) {
    return platform::key_name_for_param(key_param(key_code));
}

QString shortcut_text(uint8_t modifiers, uint8_t key_code) {
    if (modifiers == shortcut_modifier::none)
        return QString();

    static constexpr struct {
        uint8_t bit;
        const char* name;
    } parts[] = {
        {shortcut_modifier::shift, "Shift"},
        {shortcut_modifier::ctrl, "Ctrl"},
        {shortcut_modifier::alt, "Alt"},
        {shortcut_modifier::win, "Win"},
    };
    static const QString separator = QStringLiteral(" + ");

    QString text;
    for (const auto& part : parts) {
        if (!(modifiers & part.bit))
            continue;
        if (!text.isEmpty())
            text += separator;
        text += QLatin1String(part.name);
    }
    if (key_code != 0) {
        if (!text.isEmpty())
            text += separator;
        text += key_name(key_code);
    }
    return text;
}

QImage tinted(const QImage& mask, const QColor& colour) {
    QImage image = mask.convertToFormat(QImage::Format_ARGB32);
    const int max_alpha = colour.alpha();
    const QRgb rgb = colour.rgb() & RGB_MASK;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha > 0)
                line[x] = rgb | (QRgb(std::min(alpha, max_alpha)) << 24);
        }
    }
    return image;
}

void tint_image(const QString& path, QLabel* label, const QColor& colour) {
    if (!label || path.isEmpty())
        return;
    QImage mask;
    if (!mask.load(path))
        return;
    label->setPixmap(QPixmap::fromImage(tinted(mask, colour)));
}

void connect_listener(interface_i* manager_object, interface_i* listener_object) {
    auto* manager = query<listener_mgr_i>(manager_object);
    auto* listener = query<listener_i>(listener_object);
    if (manager && listener)
        manager->add_listener(listener);
}

void disconnect_listener(interface_i* manager_object, interface_i* listener_object) {
    auto* manager = query<listener_mgr_i>(manager_object);
    auto* listener = query<listener_i>(listener_object);
    if (manager && listener)
        manager->remove_listener(listener);
}

void add_drop_shadow(QWidget* widget) {
    if (!widget)
        return;
    auto* shadow = new kept_drop_shadow_c(widget);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(10);
    shadow->setColor(QColor(15, 15, 15));
    widget->setGraphicsEffect(shadow); // the widget takes ownership
}

void fit_width_to_text(QAbstractButton* button, int min_width, int margin,
                       Qt::Alignment alignment) {
    if (!button)
        return;
    const QRect before = button->geometry();
    const int width = std::max(min_width, text_width(button) + 2 * margin);
    button->setFixedWidth(width);

    int x = before.x();
    if (alignment == Qt::AlignRight)
        x = before.x() + before.width() - width;
    else if (alignment == (Qt::AlignHCenter | Qt::AlignVCenter))
        x = before.x() + (before.width() - width) / 2;
    button->move(x, before.y());
}

void fit_width_exact(QAbstractButton* button, int margin_left, int margin_right) {
    if (!button)
        return;
    button->setFixedWidth(text_width(button) + margin_left + margin_right);
}

void dispose_timer(QTimer*& timer) {
    if (!timer)
        return;
    timer->stop();
    delete timer;
    timer = nullptr;
}

void pause(int ms) {
    platform::pause_ms(ms);
}
