// The per-profile records, byte for byte as the device keeps them. The module
// copies them whole; fields are read and written through the accessors, which
// take care of little-endian order.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

// A fixed-size run of bytes with little-endian field access.
template <std::size_t N>
struct byte_record {
    static constexpr std::size_t size = N;
    std::array<uint8_t, N> b{};

    uint8_t* data() { return b.data(); }
    const uint8_t* data() const { return b.data(); }
    void clear() { b.fill(0); }

    uint16_t u16(std::size_t at) const { return qFromLittleEndian<uint16_t>(b.data() + at); }
    void set_u16(std::size_t at, uint16_t v) { qToLittleEndian<uint16_t>(v, b.data() + at); }
    int32_t i32(std::size_t at) const { return qFromLittleEndian<int32_t>(b.data() + at); }
    void set_i32(std::size_t at, int32_t v) { qToLittleEndian<int32_t>(v, b.data() + at); }
    uint32_t u32(std::size_t at) const { return qFromLittleEndian<uint32_t>(b.data() + at); }
    void set_u32(std::size_t at, uint32_t v) { qToLittleEndian<uint32_t>(v, b.data() + at); }

    QByteArray to_bytes() const {
        return QByteArray(reinterpret_cast<const char*>(b.data()), int(N));
    }
    // Copies at most N bytes over the start; bytes beyond what is given keep their values.
    void overlay(const QByteArray& bytes) {
        std::memcpy(b.data(), bytes.constData(),
                    std::min<std::size_t>(N, std::size_t(bytes.size())));
    }

    bool operator==(const byte_record& o) const { return b == o.b; }
    bool operator!=(const byte_record& o) const { return b != o.b; }
};

// UTF-16 text field helpers: `units` code units including the terminating zero.
QString read_utf16(const uint8_t* at, std::size_t units);
void write_utf16(uint8_t* at, std::size_t units, const QString& text);
// 8-bit text, zero-terminated within `size` bytes.
QByteArray read_text8(const uint8_t* at, std::size_t size);

struct profile_name_rec : byte_record<112> {
    static constexpr std::size_t name_units = 50; // 49 stored plus the terminating zero
    QString name() const { return read_utf16(b.data(), name_units); }
    void set_name(const QString& n) { write_utf16(b.data(), name_units, n); }
    uint8_t& volume() { return b[104]; }
    uint8_t& byte_105() { return b[105]; }
    uint8_t& byte_106() { return b[106]; }
    uint8_t& has_picture() { return b[107]; }
    int32_t code_253_value() const { return i32(108); }
    void set_code_253_value(int32_t v) { set_i32(108, v); }
};

// One button entry: function code, first and second parameter.
struct btn_entry {
    uint8_t code = 0;
    uint8_t param1 = 0;
    uint8_t param2 = 0;
    bool operator==(const btn_entry& o) const {
        return code == o.code && param1 == o.param1 && param2 == o.param2;
    }
};

inline constexpr int button_count = 40;
inline constexpr int macro_button_code = 48;

struct btn_assign_rec : byte_record<123> {
    static constexpr uint8_t report_id = 7;
    void set_head(uint8_t slot) { b[0] = report_id, b[1] = 123, b[2] = slot; }
    uint8_t* entry(int button) { return b.data() + 3 + 3 * button; }
    const uint8_t* entry(int button) const { return b.data() + 3 + 3 * button; }
    btn_entry get(int button) const {
        const uint8_t* e = entry(button);
        return {e[0], e[1], e[2]};
    }
    void set(int button, btn_entry v) {
        uint8_t* e = entry(button);
        e[0] = v.code, e[1] = v.param1, e[2] = v.param2;
    }
};

struct macro_rec : byte_record<2002> {
    static constexpr uint8_t report_id = 0x0E;
    static constexpr std::size_t group_offset = 6;
    static constexpr std::size_t group_size = 40;
    void set_head(uint8_t slot, uint8_t button) {
        b[0] = report_id;
        set_u16(1, 2002);
        b[3] = slot;
        b[4] = button;
    }
    // Kind and length only: what a freshly read record starts from.
    void set_kind() { b[0] = report_id, set_u16(1, 2002); }
    uint8_t& slot() { return b[3]; }
    uint8_t& button() { return b[4]; }
    // The macro group the record was taken from (UTF-8).
    QString group_name() const {
        return QString::fromUtf8(read_text8(b.data() + group_offset, group_size));
    }
};

struct profile_settings_rec : byte_record<33> {
    static constexpr uint8_t report_id = 6;
    void set_head(uint8_t slot) { b[0] = report_id, b[1] = 33, b[2] = slot; }
    uint8_t& adv_sensitivity_mode() { return b[3]; }
    uint8_t& sensitivity_x() { return b[4]; }
    uint8_t& sensitivity_y() { return b[5]; }
    uint8_t& dpi_mask() { return b[6]; }
    uint16_t dpi(int step) const { return u16(7 + 2 * step); }
    void set_dpi(int step, uint16_t v) { set_u16(7 + 2 * step, v); }
    uint8_t& active_dpi_step() { return b[17]; }
    uint8_t& polling_rate() { return b[18]; }
    uint8_t* lighting() { return b.data() + 19; }
};

struct btn_layout_rec : byte_record<30> {
    static constexpr uint8_t report_id = 10;
    // The name runs from byte 3 to 24; bytes 25..26 hold the preset identifier.
    static constexpr std::size_t name_size = 22;
    void set_head(uint8_t slot) { b[0] = report_id, b[1] = 30, b[2] = slot; }
    QByteArray name() const { return read_text8(b.data() + 3, name_size); }
    // Stores at most name_size bytes, zero-padded; the identifier is left alone.
    void set_name(const QByteArray& n);
    uint16_t preset_id() const { return u16(25); }
    void set_preset_id(uint16_t id) { set_u16(25, id); }
    uint16_t fitted_mask() const { return u16(27); }
    void set_fitted_mask(uint16_t m) { set_u16(27, m); }
    uint8_t& double_mask() { return b[29]; }
    // Bytes 27..29 as one number, byte 27 lowest.
    uint32_t layout_value() const {
        return uint32_t(b[27]) | uint32_t(b[28]) << 8 | uint32_t(b[29]) << 16;
    }
    void set_layout_value(uint32_t v) {
        b[27] = uint8_t(v), b[28] = uint8_t(v >> 8), b[29] = uint8_t(v >> 16);
    }
    // The preset match rule: equal layout bytes and equal first three characters of the
    // names (shorter names compared whole). The identifier takes no part.
    bool matches(const btn_layout_rec& other) const;
};

struct profile_aux_rec : byte_record<4> {
    uint8_t& slot() { return b[0]; }
    uint8_t& single_sensitivity() { return b[1]; }
    uint8_t& adv_sensitivity_x() { return b[2]; }
    uint8_t& adv_sensitivity_y() { return b[3]; }
};

struct profile_paths_rec : byte_record<2560> {
    static constexpr int count = 5;
    static constexpr std::size_t text_units = 256; // 255 stored plus the terminating zero
    QString path(int n) const {
        return (n >= 0 && n < count) ? read_utf16(b.data() + 512 * n, text_units) : QString();
    }
    void set_path(int n, const QString& text) {
        if (n >= 0 && n < count)
            write_utf16(b.data() + 512 * n, text_units, text);
    }
};

struct profile_extra_word : byte_record<2> {
    uint8_t& sound_switches() { return b[0]; }
};

struct device_block_48 : byte_record<48> {};

// Value blocks of the per-button maps.
struct btn_param_block : byte_record<11> {};
struct btn_data_block : byte_record<75> {};

// Per-profile maps, keyed by button index.
using btn_param_map = QMap<int32_t, btn_param_block>;
using btn_text_map = QMap<int32_t, QString>;
using btn_data_map = QMap<int32_t, btn_data_block>;

inline constexpr int max_profile_slots = 5;
inline constexpr int macros_per_slot = 40;
using macro_list = std::array<macro_rec, macros_per_slot>;

// What a record is before stored bytes are copied over it: the report heads
// (slot 0), the default volume of a name and the neutral remembered sensitivities.
profile_name_rec default_name_rec();
profile_aux_rec default_aux_rec();
btn_assign_rec default_btn_assign_rec();
profile_settings_rec default_settings_rec();
btn_layout_rec default_layout_rec();
macro_rec default_macro_rec();

// The device-wide settings block of the profile set (see zarek_data_c).
struct device_settings_block : byte_record<87> {
    // The factory state: the device values, one profile in use, no host slot.
    static device_settings_block defaults();
    uint8_t& current_slot() { return b[2]; }
    uint8_t& slot_count() { return b[3]; }
    uint8_t& device_flag() { return b[4]; }
    uint8_t& lift_level() { return b[7]; }
    uint8_t& surface_tuning() { return b[8]; }
    uint8_t& advanced_value() { return b[9]; }
    int32_t host_profile() const { return i32(35); }
    void set_host_profile(int32_t v) { set_i32(35, v); }
    uint8_t* block_48() { return b.data() + 39; }
    const uint8_t* block_48() const { return b.data() + 39; }
};

static_assert(sizeof(profile_name_rec) == 112);
static_assert(sizeof(btn_assign_rec) == 123);
static_assert(sizeof(macro_rec) == 2002);
static_assert(sizeof(profile_settings_rec) == 33);
static_assert(sizeof(btn_layout_rec) == 30);
static_assert(sizeof(profile_aux_rec) == 4);
static_assert(sizeof(profile_paths_rec) == 2560);
static_assert(sizeof(profile_extra_word) == 2);
static_assert(sizeof(device_block_48) == 48);
static_assert(sizeof(btn_param_block) == 11);
static_assert(sizeof(btn_data_block) == 75);
static_assert(sizeof(device_settings_block) == 87);
