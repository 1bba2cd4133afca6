// The host's macro library as the module sees it, and the library's record format.
// The library keeps an ordered list of groups; a group is a name and an array of
// library macro records. Operations are in slot order; query_interface and release first.
#pragma once

#include "module/interfaces.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The longest prefix of `text` of at most `max_bytes` bytes that does not end inside a
// UTF-8 sequence: a lead byte is dropped together with its continuation bytes.
inline QByteArray utf8_prefix(const QByteArray& text, int max_bytes) {
    if (max_bytes <= 0)
        return QByteArray();
    if (text.size() <= max_bytes)
        return text;
    int cut = max_bytes;
    while (cut > 0 && (uint8_t(text.at(cut)) & 0xC0) == 0x80)
        --cut;
    return text.left(cut);
}

// One key entry of a library macro; the macro editor gives the fields their meaning.
struct library_key {
    uint8_t a = 0;
    uint8_t b = 0;
    uint16_t c = 0;
    uint32_t d = 0;
    bool operator==(const library_key& o) const {
        return a == o.a && b == o.b && c == o.c && d == o.d;
    }
    bool operator!=(const library_key& o) const { return !(*this == o); }
};

// A library macro record, 16471 bytes, packed. Multi-byte fields are little-endian,
// like the device's own records:
//   0 record byte | 1 first option word (16) | 3 second option word (16) |
//   5 name, UTF-8, 80 bytes, zero-terminated unless it fills the field |
//   85 key count (16) | 87 2048 key entries of 8 bytes: a, b, c (16), d (32).
struct library_macro_rec {
    static constexpr std::size_t size = 16471;
    static constexpr std::size_t name_at = 5;
    static constexpr int name_size = 80;
    static constexpr std::size_t key_count_at = 85;
    static constexpr std::size_t keys_at = 87;
    static constexpr int max_keys = 2048;
    static constexpr std::size_t key_size = 8;

    std::array<uint8_t, size> b{};

    uint8_t* data() { return b.data(); }
    const uint8_t* data() const { return b.data(); }

    uint8_t record_byte() const { return b[0]; }
    void set_record_byte(uint8_t v) { b[0] = v; }
    uint16_t first_option_word() const { return qFromLittleEndian<uint16_t>(b.data() + 1); }
    void set_first_option_word(uint16_t v) { qToLittleEndian<uint16_t>(v, b.data() + 1); }
    uint16_t second_option_word() const { return qFromLittleEndian<uint16_t>(b.data() + 3); }
    void set_second_option_word(uint16_t v) { qToLittleEndian<uint16_t>(v, b.data() + 3); }

    // The name's bytes up to the terminator, at most the whole field.
    QByteArray name_bytes() const {
        const char* at = reinterpret_cast<const char*>(b.data() + name_at);
        return QByteArray(at, int(qstrnlen(at, uint(name_size))));
    }
    QString name() const { return QString::fromUtf8(name_bytes()); }
    // Clears the field and stores as much of `utf8` as fits, never half a character.
    void set_name_bytes(const QByteArray& utf8) {
        std::memset(b.data() + name_at, 0, name_size);
        const QByteArray kept = utf8_prefix(utf8, name_size);
        std::memcpy(b.data() + name_at, kept.constData(), std::size_t(kept.size()));
    }
    void set_name(const QString& text) { set_name_bytes(text.toUtf8()); }

    // The stored count; it can exceed max_keys in a damaged record, so users clamp it.
    uint16_t key_count() const { return qFromLittleEndian<uint16_t>(b.data() + key_count_at); }
    void set_key_count(uint16_t v) { qToLittleEndian<uint16_t>(v, b.data() + key_count_at); }

    // Key i (0..2047); an index out of range gives a zero key.
    library_key key(int i) const {
        if (i < 0 || i >= max_keys)
            return {};
        const uint8_t* at = b.data() + keys_at + key_size * std::size_t(i);
        return {at[0], at[1], qFromLittleEndian<uint16_t>(at + 2),
                qFromLittleEndian<uint32_t>(at + 4)};
    }
    // An index out of range is ignored.
    void set_key(int i, const library_key& k) {
        if (i < 0 || i >= max_keys)
            return;
        uint8_t* at = b.data() + keys_at + key_size * std::size_t(i);
        at[0] = k.a;
        at[1] = k.b;
        qToLittleEndian<uint16_t>(k.c, at + 2);
        qToLittleEndian<uint32_t>(k.d, at + 4);
    }

    QByteArray to_bytes() const {
        return QByteArray(reinterpret_cast<const char*>(b.data()), int(size));
    }
    // Copies at most `size` bytes over the start; the rest keeps its values.
    void overlay(const QByteArray& bytes) {
        std::memcpy(b.data(), bytes.constData(),
                    std::min<std::size_t>(size, std::size_t(bytes.size())));
    }

    bool operator==(const library_macro_rec& o) const { return b == o.b; }
    bool operator!=(const library_macro_rec& o) const { return b != o.b; }
};
static_assert(sizeof(library_macro_rec) == 16471);
static_assert(library_macro_rec::keys_at + library_macro_rec::key_size * 2048 == 16471);

// One changed macro, as the library reports it to its listeners.
struct library_item {
    // 0: the macro exists; any other value: it was deleted.
    uint8_t state = 0;
    QString group_name;
    library_macro_rec record;
    // The macro kind, checked against the product's accepted kinds.
    uint16_t kind = 0;

    bool deleted() const { return state != 0; }
};

// The host's macro library (hub_i operation 3). Indexes are 0-based; an index out of
// range makes getters return 0, -1, an empty text or null, and changes do nothing.
class macro_library_i : public interface_i {
public:
    // 2: the number of groups.
    virtual int32_t group_count() = 0;
    // 3: the name of a group.
    virtual QString group_name(int32_t group) = 0;
    // 4: the index of the first group with exactly this name, or -1.
    virtual int32_t find_group(const QString& name) = 0;
    // 5: appends an empty group; returns its index.
    virtual int32_t add_group(const QString& name) = 0;
    // 6: the number of macros of a group.
    virtual int32_t macro_count(int32_t group) = 0;
    // 7: a macro of a group, or null; valid until the library next changes.
    virtual const library_macro_rec* macro_record(int32_t group, int32_t index) = 0;
    // 8: appends a macro to a group; returns its index, or -1.
    virtual int32_t add_macro(int32_t group, const library_macro_rec& record) = 0;
    // 9: replaces a macro of a group; false when there is none at that place.
    virtual bool replace_macro(int32_t group, int32_t index, const library_macro_rec& record) = 0;

protected:
    ~macro_library_i() = default;
};

// Told by the host when library macros changed (kernels and button lists listen).
class macro_listener_i : public interface_i {
public:
    // 2: the changed macros; returns whether any of the listener's macros matched.
    virtual bool on_macros_changed(const QList<library_item>& items) = 0;

protected:
    ~macro_listener_i() = default;
};
