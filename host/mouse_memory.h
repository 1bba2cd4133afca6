// koral's own reader of the virtual mouse's memory: the profile-set blob the
// module publishes, read for what the mouse does with its buttons (each
// button's entry and side records, the side-panel layout, the macros' names,
// the DPI steps). Written for hostile bytes: every count and length is
// checked against what is left before anything is allocated, and a blob that
// does not read whole is refused with the reason.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

namespace mouse_memory {

inline constexpr int profile_slots = 5;
inline constexpr int buttons = 40;
inline constexpr int name_size = 112;
inline constexpr int paths_size = 2560;
inline constexpr int assign_size = 123;
inline constexpr int settings_size = 33;
inline constexpr int layout_size = 30;
inline constexpr int macro_size = 2002;
// Bounds of a readable blob: per-slot lists hold five entries, maps one per
// button, the saved layouts some hundreds.
inline constexpr int max_list = 1024;
inline constexpr int max_map = 64;
inline constexpr int max_text_chars = 4096;

struct profile_t {
    QString name;
    // profile_name_rec bytes 108..111: the value of function 253.
    uint32_t value_253 = 0;
    std::array<uint8_t, assign_size> assign{};
    std::array<uint8_t, settings_size> settings{};
    std::array<uint8_t, layout_size> layout{};
    QMap<int32_t, QByteArray> params; // btn_param_map, 11-byte values
    QMap<int32_t, QString> texts;     // btn_text_map
    QMap<int32_t, QByteArray> data;   // btn_data_map, 75-byte values
    QVector<QByteArray> macros;       // one macro_rec per button index, when stored

    // The 3-byte entry of a button (0..39); zeros for an index out of range.
    std::array<uint8_t, 3> entry(int button) const;
    // The DPI value of step 0..4 (little-endian at settings bytes 7 + 2 s).
    int dpi(int step) const;
    // The macro record's name (offset 46, UTF-8), or a null text without a record.
    QString macro_name(int button) const;
};

struct memory_t {
    // Device block bytes 0..3: two device values, the current slot, the slots in use.
    std::array<uint8_t, 4> device_values{};
    int current_slot = 0;
    int slots_in_use = 1;
    QVector<profile_t> profiles; // always `profile_slots` of them after a successful read
};

// Reads a profile-set blob; false with `error` set when it is not one.
bool read(const QByteArray& blob, memory_t* memory, QString* error);

} // namespace mouse_memory
