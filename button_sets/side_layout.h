// The side panel's geometry and the stored form of its layout: twelve slots in three rows
// of four, six fixed pairs, and the 24-bit layout value of a button-set record (fitted bits
// of the slots in bits 0..11, double bits of the pairs in bits 16..21).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

struct btn_layout_rec;

namespace side_layout {

inline constexpr int slot_count = 12;
inline constexpr int pair_count = 6;
inline constexpr int row_count = 3;
// Side button index of slot 1 on the standard layer; slot s is button s + 7.
inline constexpr int first_button = 8;
inline constexpr int last_button = 19;
// Names and identifiers of presets are limited by the record.
inline constexpr int name_bytes = 22;
inline constexpr int max_presets = 51;
// Twelve singles.
inline constexpr uint32_t all_singles = 0x000FFF;

inline bool valid_slot(int slot) {
    return slot >= 1 && slot <= slot_count;
}
// Pair p holds slots 2p - 1 and 2p.
inline int pair_of(int slot) {
    return (slot + 1) / 2;
}
inline int first_of_pair(int pair) {
    return 2 * pair - 1;
}
inline int partner_of(int slot) {
    return slot % 2 ? slot + 1 : slot - 1;
}
// Row r holds slots 4r - 3 .. 4r.
inline int row_of(int slot) {
    return (slot + 3) / 4;
}
// The slot of a side button on either layer (28..39 are the Alter-Key twins).
inline int slot_of_button(int button_index) {
    return button_index >= 28 ? button_index - 27 : button_index - 7;
}

inline bool fitted(uint32_t value, int slot) {
    return value >> (slot - 1) & 1u;
}
inline bool is_double(uint32_t value, int pair) {
    return value >> (15 + pair) & 1u;
}

// The layout the editor shows for a stored value: bits beyond the twelve slots and the six
// pairs dropped, and both slots of every double fitted.
uint32_t normalized(uint32_t value);
inline bool is_possible(uint32_t value) {
    return normalized(value) == value;
}
// Logs an impossible stored value, once per value and process; `where` names the holder.
void log_impossible(uint32_t value, const QString& where);

// What the editor's notifications do to a stored value. Button indices outside 8..19 are
// logged and change nothing.
uint32_t with_fitted(uint32_t value, int button_index, bool fitted);
uint32_t with_pair_kind(uint32_t value, int first_button_index, bool is_double);

// The longest start of the text whose UTF-8 form fits `max_bytes`, never cut inside a
// character.
QByteArray utf8_prefix(const QString& text, int max_bytes = name_bytes);

} // namespace side_layout
