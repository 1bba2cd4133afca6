#include "button_sets/side_layout.h"

#include "common/log.h"

#include <QSet>

namespace side_layout {

namespace {

constexpr uint32_t slot_bits = 0x000FFF;
constexpr uint32_t pair_bits = 0x3F0000;

bool side_button(int button_index, const char* what) {
    if (button_index >= first_button && button_index <= last_button)
        return true;
    write_log(QStringLiteral("Side layout: %1 for button %2 outside the side panel ignored")
                  .arg(QLatin1String(what))
                  .arg(button_index));
    return false;
}

} // namespace

uint32_t normalized(uint32_t value) {
    uint32_t v = value & (slot_bits | pair_bits);
    for (int p = 1; p <= pair_count; ++p) {
        if (is_double(v, p))
            v |= 3u << (first_of_pair(p) - 1);
    }
    return v;
}

void log_impossible(uint32_t value, const QString& where) {
    static QSet<uint32_t> logged;
    if (is_possible(value) || logged.contains(value))
        return;
    logged.insert(value);
    write_log(QStringLiteral("Side layout 0x%1 of %2 is impossible; shown as 0x%3 and kept "
                             "until the layout is changed")
                  .arg(value, 6, 16, QLatin1Char('0'))
                  .arg(where)
                  .arg(normalized(value), 6, 16, QLatin1Char('0')));
}

uint32_t with_fitted(uint32_t value, int button_index, bool fitted) {
    if (!side_button(button_index, "fitted state"))
        return value;
    const int i = button_index - first_button;
    if (fitted)
        return value | 1u << i;
    return value & ~(1u << i) & ~(1u << (16 + i / 2));
}

uint32_t with_pair_kind(uint32_t value, int first_button_index, bool is_double) {
    if (!side_button(first_button_index, "pair kind"))
        return value;
    const uint32_t bit = 1u << (16 + (first_button_index - first_button) / 2);
    return is_double ? value | bit : value & ~bit;
}

QByteArray utf8_prefix(const QString& text, int max_bytes) {
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() <= max_bytes)
        return bytes;
    // Back off while the first byte left out continues the character before it.
    int n = max_bytes;
    while (n > 0 && (uint8_t(bytes[n]) & 0xC0) == 0x80)
        --n;
    return bytes.left(n);
}

} // namespace side_layout
