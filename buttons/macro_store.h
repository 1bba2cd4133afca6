// The macro store: device macro records (one per button and profile slot) and their
// exchange with the host's macro library, plus the preset macro files.
#pragma once

#include "kernel/records.h"
#include "module/macro_interfaces.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

class QIODevice;
class global_func_c;

// Field layout of a device macro record (macro_rec, 2002 bytes).
namespace device_macro {
inline constexpr std::size_t option_byte_at = 5;
inline constexpr std::size_t group_at = 6;
inline constexpr int group_size = 40;
inline constexpr std::size_t name_at = 46;
inline constexpr int name_size = 32;
// Bits 0..11 key count, bits 12..15 the macro kind.
inline constexpr std::size_t key_word_at = 78;
inline constexpr std::size_t keys_at = 80;
inline constexpr int max_keys = 480;
inline constexpr std::size_t key_size = 4;
// The largest key value a device key can hold; longer values are clipped to it.
inline constexpr uint32_t max_key_value = 0xFFFF;

inline constexpr char default_group[] = "My Macros";
inline constexpr char default_name[] = "My Macro";
} // namespace device_macro

struct device_key {
    uint8_t a = 0;
    uint8_t b = 0;
    uint16_t value = 0;
};

// Field readers; texts stop at their terminator and never leave their field.
QByteArray device_group_name(const macro_rec& record);
QByteArray device_macro_name(const macro_rec& record);
int device_key_count(const macro_rec& record);
int device_macro_kind(const macro_rec& record);
// Key i (0..479); out of range gives a zero key.
device_key device_macro_key(const macro_rec& record, int i);

// Clears the name field and stores at most 31 bytes of `utf8` (never half a character)
// followed by a zero byte; returns the number of name bytes stored.
int set_device_macro_name(macro_rec& record, const QByteArray& utf8);

// Fills `target` from a library macro: zeroed, head (14, 2002, slot, button), names,
// option bits and at most 480 keys.
void convert_library_macro(const QString& group_name, uint8_t slot, uint8_t button,
                           const library_macro_rec& source, macro_rec& target);

// Group name shorter than 41 bytes, macro name shorter than 33 bytes, at most 480 keys.
bool is_valid_device_macro(const macro_rec& record);

// The default macro ("My Macros" / "My Macro", no keys); bytes 0..4 (kind, length,
// slot, button) are kept.
void set_default_device_macro(macro_rec& record);

// The library form of a device macro: record byte 0, option words from the kind bits
// and byte 5, the name, and the keys with c = 0 and d = the device's 16-bit value.
library_macro_rec library_form(const macro_rec& record);

// Checks a candidate against a group's macros; returns the new name when the candidate
// must be renamed to stay unique, or an empty text. Logs every step.
QString compare_or_rename(const QVector<const library_macro_rec*>& group,
                          const library_macro_rec& candidate);

// Makes sure the target group exists in the library ("My Macros" when no name is
// given) and that the device macro's name is unique in it, renaming the device macro
// when needed. An invalid device macro is first replaced by the default one. Returns
// true when the device record's name changed; a null library does nothing.
bool synchronise_to_library(macro_library_i* library, macro_rec& record,
                            const QString& target_group);

// The numbering of new groups ("My Macros 001", ...) and macros ("My Macro 001", ...):
// the count n of consecutive numbers 1, 2, ... already taken; the next free one is n + 1.
int next_group_number(const QStringList& group_names);
int next_macro_number(const QStringList& macro_names);
QString numbered_group_name(int number);
QString numbered_macro_name(int number);

QStringList library_group_names(macro_library_i* library);
QStringList library_macro_names(macro_library_i* library, int32_t group);
QVector<const library_macro_rec*> library_group_records(macro_library_i* library, int32_t group);

// One macro group as the preset files keep it.
struct macro_group {
    QString name;
    QVector<library_macro_rec> macros;
};

// "VANTOR01" read as one big-endian 64-bit number.
inline constexpr quint64 preset_macro_magic = 0x56414E544F523031ULL;

// A snapshot of the whole library.
QVector<macro_group> library_groups(macro_library_i* library);

// The group name without | > / < " ? * : \ and with ".dat" appended.
QString preset_file_name(const QString& group_name);

bool save_preset_macro_file(const QString& path, quint64 magic, const QVector<macro_group>& groups);
// Deletes `folder` with its contents, creates it again and writes one file per group.
void write_all_preset_files(const QVector<macro_group>& groups, const QString& folder);
// The same into the installation's preset macro folder.
void write_all_preset_files(const QVector<macro_group>& groups);

// Reads a preset macro file; on any fault logs it, leaves `groups` untouched and
// returns false. Memory use is bounded by the size of the input.
bool read_preset_macro_file(QIODevice* device, quint64 magic, QVector<macro_group>& groups);
bool read_preset_macro_file(const QString& path, quint64 magic, QVector<macro_group>& groups);

struct macro_match {
    bool matched = false;
    // The matched macro was deleted or is not accepted by the product any more.
    bool gone = false;
};

// Compares a device macro with a changed library macro as conversion would have stored
// it; a match is refreshed from the library unless the macro is gone.
macro_match match_and_refresh(int32_t product_type, const library_item& item, macro_rec& record,
                              const global_func_c& installation);
macro_match match_and_refresh(int32_t product_type, const library_item& item, macro_rec& record);
