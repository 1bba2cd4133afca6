// Element readers and writers shared by the profile blob and the profile-set blob.
//
// The bytes come from the device, from files the user imports and from the host,
// so readers trust nothing: a count outside its limit turns the stream to
// ReadCorruptData, every loop stops at the first stream error, containers grow
// only as elements arrive, and a reader leaves its target untouched when it fails.
#pragma once

#include "kernel/records.h"
#include "module/interfaces.h"

#include <QDataStream>
#include <QList>
#include <QPixmap>
#include <QVector>
#include <algorithm>
#include <array>
#include <cstring>

namespace profile_stream {

// Qt 5.4 stream format (16); big-endian as QDataStream has it by default.
inline constexpr int stream_version = QDataStream::Qt_5_4;

// Limits far above anything this module writes (5 slots, 40 macros, a few map
// entries and favourites) yet low enough that a forged count cannot make a
// reader allocate without bound.
inline constexpr int32_t max_list_count = 1024;
inline constexpr int32_t max_map_count = 4096;
inline constexpr int32_t max_word_count = 4096;
inline constexpr int max_picture_side = 8192;
inline constexpr qint64 max_picture_pixels = qint64(4096) * 4096;

inline bool ok(const QDataStream& s) {
    return s.status() == QDataStream::Ok;
}

// A count in [0, max]; otherwise -1 with the stream marked corrupt.
int32_t read_count(QDataStream& s, int32_t max);

// The same bytes as streaming r.to_bytes() (length, then the record), without
// a temporary array per record.
template <std::size_t N>
void write_field(QDataStream& s, const byte_record<N>& r) {
    s.writeBytes(reinterpret_cast<const char*>(r.data()), uint(N));
}

// Skips `count` bytes; false, with the stream marked, when it ends first.
bool skip_bytes(QDataStream& s, quint32 count);

// Copies the stored bytes over the start of `r`; the rest keeps its values.
// Reads what `s >> QByteArray` would, without an array per record: a field
// that runs past the end of the stream leaves `r` as it was.
template <std::size_t N>
void read_field(QDataStream& s, byte_record<N>& r) {
    quint32 length = 0;
    s >> length;
    // All ones is the form of a null array: nothing stored.
    if (!ok(s) || length == 0xFFFFFFFFu)
        return;
    std::array<uint8_t, N> bytes;
    const int kept = int(std::min<quint32>(length, quint32(N)));
    if (s.readRawData(reinterpret_cast<char*>(bytes.data()), kept) != kept) {
        s.setStatus(QDataStream::ReadPastEnd);
        return;
    }
    if (skip_bytes(s, length - quint32(kept)))
        std::memcpy(r.b.data(), bytes.data(), std::size_t(kept));
}

// A 32-bit value carried as a 4-byte record field (little-endian inside).
void write_word(QDataStream& s, int32_t value);
int32_t read_word(QDataStream& s);

void write_words(QDataStream& s, const QList<int32_t>& words);
bool read_words(QDataStream& s, QList<int32_t>& words);

// Maps go out in descending key order.
void write_map(QDataStream& s, const btn_param_map& map);
void write_map(QDataStream& s, const btn_text_map& map);
void write_map(QDataStream& s, const btn_data_map& map);
bool read_map(QDataStream& s, btn_param_map& map);
bool read_map(QDataStream& s, btn_text_map& map);
bool read_map(QDataStream& s, btn_data_map& map);

// A list of records, each read over `initial`. Of the stored elements the first
// `keep` are returned; the rest are read and dropped.
template <class T>
bool read_records(QDataStream& s, QVector<T>& out, const T& initial, int keep) {
    const int32_t count = read_count(s, max_list_count);
    QVector<T> records;
    for (int32_t i = 0; i < count && ok(s); ++i) {
        T r = initial;
        read_field(s, r);
        if (records.size() < keep)
            records.append(r);
    }
    if (!ok(s))
        return false;
    out = records;
    return true;
}

template <class T>
void write_records(QDataStream& s, const T* first, int count) {
    s << int32_t(count);
    for (int i = 0; i < count; ++i)
        write_field(s, first[i]);
}

void write_macros(QDataStream& s, const macro_rec* first, int count);
// At most macros_per_slot records are kept.
bool read_macros(QDataStream& s, QVector<macro_rec>& macros);
// Exactly macros_per_slot records, read straight into `macros`: missing ones
// get the default record. When it fails, `macros` holds part of the list.
bool read_macros_over(QDataStream& s, macro_list& macros);

void write_picture(QDataStream& s, const QPixmap& picture);
// Only PNG is accepted, and only within the picture limits.
bool read_picture(QDataStream& s, QPixmap& picture);
// A copy of `picture` the reader accepts: one beyond the limits is scaled
// down within them (aspect kept, to the pixel), so every blob the module
// writes reads back; the scaling is logged.
QPixmap readable_picture(const QPixmap& picture);
// A cleared picture is transparent black at its size; a null picture stays
// null, so clearing one that was never set changes no byte of a blob.
void clear_picture(QPixmap& picture);

// One profile as the profile blob carries it.
struct profile_blob {
    int32_t product_type = product_type::black;
    profile_name_rec name;
    profile_paths_rec paths;
    profile_extra_word extra;
    btn_param_map params;
    btn_text_map texts;
    btn_data_map data;
    QList<int32_t> words;
    profile_aux_rec aux;
    btn_assign_rec assign;
    profile_settings_rec settings;
    btn_layout_rec layout;
    device_block_48 block_48;
    QVector<macro_rec> macros;
    QPixmap picture;
};

bool is_product_type(int32_t type);

void write_profile_blob(QDataStream& s, const profile_blob& blob);

enum class read_result { done, wrong_type, broken };
// Reads a profile blob over `blob` (records keep their bytes beyond what is
// stored). Unless the result is `done`, `blob` is left as it was.
read_result read_profile_blob(QDataStream& s, profile_blob& blob);

} // namespace profile_stream
