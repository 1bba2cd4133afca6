#include "buttons/macro_store.h"

#include "common/log.h"
#include "module/global_func.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstring>

namespace {

using namespace device_macro;

// Device names must keep room for their terminating zero.
constexpr int device_group_bytes = group_size - 1;
constexpr int device_name_bytes = name_size - 1;

// The length of the zero-terminated text at `at`, searched no further than `limit` bytes.
int text_length(const macro_rec& record, std::size_t at, std::size_t limit) {
    const char* text = reinterpret_cast<const char*>(record.data() + at);
    return int(qstrnlen(text, uint(std::min(limit, macro_rec::size - at))));
}

QByteArray read_field(const macro_rec& record, std::size_t at, int size) {
    return QByteArray(reinterpret_cast<const char*>(record.data() + at),
                      text_length(record, at, std::size_t(size)));
}

// Clears a text field and stores `text` up to its first zero byte, cut to `max_bytes`
// without splitting a character; returns the number of bytes stored.
int write_field(macro_rec& record, std::size_t at, int size, QByteArray text, int max_bytes) {
    const int zero = text.indexOf('\0');
    if (zero >= 0)
        text.truncate(zero);
    const QByteArray kept = utf8_prefix(text, max_bytes);
    std::memset(record.data() + at, 0, std::size_t(size));
    std::memcpy(record.data() + at, kept.constData(), std::size_t(kept.size()));
    return kept.size();
}

void set_device_key(macro_rec& record, int i, const device_key& key) {
    uint8_t* at = record.data() + keys_at + key_size * std::size_t(i);
    at[0] = key.a;
    at[1] = key.b;
    qToLittleEndian<uint16_t>(key.value, at + 2);
}

int library_key_count(const library_macro_rec& record) {
    return std::min<int>(record.key_count(), library_macro_rec::max_keys);
}

// Same macro as the library would hold it, judged by name, parameters and keys.
bool same_stored_macro(const macro_rec& device, const macro_rec& expected) {
    if (device_group_name(device) != device_group_name(expected) ||
        device_macro_name(device) != device_macro_name(expected) ||
        device.u16(key_word_at) != expected.u16(key_word_at))
        return false;
    const std::size_t key_bytes = key_size * std::size_t(device_key_count(expected));
    return std::memcmp(device.data() + keys_at, expected.data() + keys_at, key_bytes) == 0;
}

// The byte-level rename, so that names that are not valid UTF-8 stay comparable.
QByteArray rename_if_needed(const QVector<const library_macro_rec*>& group,
                            const library_macro_rec& candidate) {
    QVector<QByteArray> names;
    names.reserve(group.size());
    for (const library_macro_rec* record : group)
        names.append(record ? record->name_bytes() : QByteArray());

    // The name field is read no further than its 80 bytes, so a name that fills the
    // field is already what the library would store.
    const QByteArray name = candidate.name_bytes();
    const QString shown = QString::fromUtf8(name);
    const int same = names.indexOf(name);
    if (same < 0) {
        write_log(QStringLiteral("This are no macro have same name, need to create a new one [%1].")
                      .arg(shown));
        return QByteArray();
    }
    write_log(
        QStringLiteral("There are another macro have the same name(%1), prepare compare the detail")
            .arg(shown));

    const library_macro_rec& other = *group.at(same);
    bool different = false;
    if (other.record_byte() != candidate.record_byte() ||
        other.first_option_word() != candidate.first_option_word() ||
        other.second_option_word() != candidate.second_option_word() ||
        other.key_count() != candidate.key_count()) {
        write_log(QStringLiteral("This Macro's parameter is different, needs to rename it."));
        different = true;
    } else {
        const int count = library_key_count(candidate);
        for (int k = 0; k < count; ++k) {
            if (other.key(k) != candidate.key(k)) {
                write_log(
                    QStringLiteral("This Macro's key data is different, needs to rename it."));
                different = true;
                break;
            }
        }
    }
    if (!different) {
        write_log(QStringLiteral("This is the same macro, no need to rename it."));
        return QByteArray();
    }

    write_log(QStringLiteral("Prepare to generate a new macro name."));
    // The new name must survive the copy into the device record with its number intact,
    // so name and suffix together stay within the device's 31 name bytes. Each number
    // gives a different name, so at most names.size() + 1 tries are made.
    QByteArray renamed;
    for (int k = 1;; ++k) {
        const QByteArray suffix = '[' + QByteArray::number(k) + ']';
        renamed = utf8_prefix(name, device_name_bytes - suffix.size()) + suffix;
        if (!names.contains(renamed))
            break;
    }
    write_log(QStringLiteral("New macro name is [%1].").arg(QString::fromUtf8(renamed)));
    return renamed;
}

int next_number(const QStringList& names, const QString& pattern) {
    // Equivalent to rescanning from the first name after every hit: n only grows while
    // the name numbered n + 1 is present somewhere.
    int n = 0;
    while (names.contains(pattern.arg(n + 1, 3, 10, QLatin1Char('0'))))
        ++n;
    return n;
}

} // namespace

QByteArray device_group_name(const macro_rec& record) {
    return read_field(record, group_at, group_size);
}

QByteArray device_macro_name(const macro_rec& record) {
    return read_field(record, name_at, name_size);
}

int device_key_count(const macro_rec& record) {
    return record.u16(key_word_at) & 0x0FFF;
}

int device_macro_kind(const macro_rec& record) {
    return record.u16(key_word_at) >> 12;
}

device_key device_macro_key(const macro_rec& record, int i) {
    if (i < 0 || i >= max_keys)
        return {};
    const uint8_t* at = record.data() + keys_at + key_size * std::size_t(i);
    return {at[0], at[1], qFromLittleEndian<uint16_t>(at + 2)};
}

int set_device_macro_name(macro_rec& record, const QByteArray& utf8) {
    return write_field(record, name_at, name_size, utf8, device_name_bytes);
}

void convert_library_macro(const QString& group_name, uint8_t slot, uint8_t button,
                           const library_macro_rec& source, macro_rec& target) {
    target.clear();
    target.set_head(slot, button);
    target.b[option_byte_at] = uint8_t(source.second_option_word() & 0xFF);
    write_field(target, group_at, group_size, group_name.toUtf8(), device_group_bytes);
    write_field(target, name_at, name_size, source.name_bytes(), device_name_bytes);

    const int count = std::min(library_key_count(source), max_keys);
    target.set_u16(key_word_at, uint16_t(count | ((source.first_option_word() & 0x0F) << 12)));
    for (int i = 0; i < count; ++i) {
        const library_key key = source.key(i);
        set_device_key(target, i, {key.a, key.b, uint16_t(key.d < 65536 ? key.d : max_key_value)});
    }
}

bool is_valid_device_macro(const macro_rec& record) {
    // The texts are measured up to their terminators wherever those are, so a name that
    // runs on into the next field makes the record invalid.
    return text_length(record, group_at, macro_rec::size) < 41 &&
           text_length(record, name_at, macro_rec::size) < 33 &&
           device_key_count(record) <= max_keys;
}

void set_default_device_macro(macro_rec& record) {
    std::memset(record.data() + option_byte_at, 0, macro_rec::size - option_byte_at);
    write_field(record, group_at, group_size, QByteArray(default_group), device_group_bytes);
    write_field(record, name_at, name_size, QByteArray(default_name), device_name_bytes);
}

library_macro_rec library_form(const macro_rec& record) {
    library_macro_rec form;
    form.set_first_option_word(uint16_t(device_macro_kind(record)));
    form.set_second_option_word(record.b[option_byte_at]);
    form.set_name_bytes(device_macro_name(record));
    const int count = std::min(device_key_count(record), max_keys);
    form.set_key_count(uint16_t(count));
    for (int i = 0; i < count; ++i) {
        const device_key key = device_macro_key(record, i);
        form.set_key(i, {key.a, key.b, 0, key.value});
    }
    return form;
}

QString compare_or_rename(const QVector<const library_macro_rec*>& group,
                          const library_macro_rec& candidate) {
    return QString::fromUtf8(rename_if_needed(group, candidate));
}

bool synchronise_to_library(macro_library_i* library, macro_rec& record,
                            const QString& target_group) {
    if (!library)
        return false;

    if (!is_valid_device_macro(record)) {
        write_log(QStringLiteral("This key macro is invalid, reset to default macro."));
        set_default_device_macro(record);
    }
    write_log(QStringLiteral("Prepare synchronize macro to data base, target group name = %1")
                  .arg(target_group));

    // Without a target name the macro belongs in "My Macros"; looking that group up
    // first keeps the library from collecting one empty "My Macros" per call.
    const QString group_name =
        target_group.isEmpty() ? QString::fromLatin1(default_group) : target_group;
    int32_t group = library->find_group(group_name);
    if (group < 0) {
        if (!target_group.isEmpty())
            write_log(QStringLiteral("Macro group name is not exist, create new macro group."));
        else
            write_log(QStringLiteral("Macro group name is not exist, create [My Macros] group."));
        group = library->add_group(group_name);
    }

    write_log(QStringLiteral("Checking macro detail, member name = %1, key count = %2")
                  .arg(QString::fromUtf8(device_macro_name(record)))
                  .arg(device_key_count(record)));
    const library_macro_rec candidate = library_form(record);

    write_log(QStringLiteral("Checking macro member name is unique. If not, will rename it."));
    const QByteArray new_name = rename_if_needed(library_group_records(library, group), candidate);
    if (new_name.isEmpty())
        return false;

    write_log(QStringLiteral("This macro needs to rename."));
    const int length = utf8_prefix(new_name, device_name_bytes).size();
    write_log(QStringLiteral("Macro name length is %1.").arg(length));
    write_log(QStringLiteral("Prepare copy new macro name to data structure"));
    set_device_macro_name(record, new_name);
    write_log(QStringLiteral("Add end line symbol"));
    write_log(QStringLiteral("Add end line symbol on last byte. Pos = %1").arg(length));
    record.b[name_at + std::size_t(length)] = 0;
    write_log(
        QStringLiteral("New macro name = %1.").arg(QString::fromUtf8(device_macro_name(record))));
    return true;
}

int next_group_number(const QStringList& group_names) {
    return next_number(group_names, QStringLiteral("My Macros %1"));
}

int next_macro_number(const QStringList& macro_names) {
    return next_number(macro_names, QStringLiteral("My Macro %1"));
}

QString numbered_group_name(int number) {
    return QStringLiteral("My Macros %1").arg(number, 3, 10, QLatin1Char('0'));
}

QString numbered_macro_name(int number) {
    return QStringLiteral("My Macro %1").arg(number, 3, 10, QLatin1Char('0'));
}

QStringList library_group_names(macro_library_i* library) {
    QStringList names;
    const int32_t count = library ? library->group_count() : 0;
    for (int32_t g = 0; g < count; ++g)
        names.append(library->group_name(g));
    return names;
}

QStringList library_macro_names(macro_library_i* library, int32_t group) {
    QStringList names;
    for (const library_macro_rec* record : library_group_records(library, group))
        names.append(record->name());
    return names;
}

QVector<const library_macro_rec*> library_group_records(macro_library_i* library, int32_t group) {
    QVector<const library_macro_rec*> records;
    const int32_t count = library ? library->macro_count(group) : 0;
    for (int32_t i = 0; i < count; ++i) {
        if (const library_macro_rec* record = library->macro_record(group, i))
            records.append(record);
    }
    return records;
}

QVector<macro_group> library_groups(macro_library_i* library) {
    QVector<macro_group> groups;
    const int32_t count = library ? library->group_count() : 0;
    for (int32_t g = 0; g < count; ++g) {
        macro_group group{library->group_name(g), {}};
        for (const library_macro_rec* record : library_group_records(library, g))
            group.macros.append(*record);
        groups.append(group);
    }
    return groups;
}

QString preset_file_name(const QString& group_name) {
    static const QRegularExpression forbidden(QStringLiteral(R"([|></"?*:\\])"));
    return QString(group_name).remove(forbidden) + QStringLiteral(".dat");
}

bool save_preset_macro_file(const QString& path, quint64 magic,
                            const QVector<macro_group>& groups) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        write_log(QStringLiteral("save_macro_dat, can not open the file: ") + path);
        return false;
    }
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_5_4);
    out << magic << qint32(groups.size());
    for (const macro_group& group : groups) {
        // A null text would be written as a missing string; the file always names its group.
        out << (group.name.isNull() ? QStringLiteral("") : group.name)
            << qint32(group.macros.size());
        for (const library_macro_rec& record : group.macros)
            out << record.to_bytes();
    }
    if (out.status() != QDataStream::Ok) {
        write_log(QStringLiteral("save_macro_dat, can not write the file: ") + path);
        return false;
    }
    return true;
}

void write_all_preset_files(const QVector<macro_group>& groups, const QString& folder) {
    QDir dir(folder);
    dir.removeRecursively();
    if (!QDir().mkpath(folder))
        write_log(QStringLiteral("save_macro_dat, can not create the folder: ") + folder);
    for (const macro_group& group : groups)
        save_preset_macro_file(dir.filePath(preset_file_name(group.name)), preset_macro_magic,
                               {group});
}

void write_all_preset_files(const QVector<macro_group>& groups) {
    write_all_preset_files(groups, global_func().preset_macro_folder());
}

bool read_preset_macro_file(QIODevice* device, quint64 magic, QVector<macro_group>& groups) {
    const QString source = device ? device->objectName() : QString();
    if (!device || !device->isReadable()) {
        write_log(QStringLiteral("read_macro_dat, no readable input ") + source);
        return false;
    }
    QDataStream in(device);
    in.setVersion(QDataStream::Qt_5_4);
    quint64 read_magic = 0;
    qint32 group_count = 0;
    in >> read_magic >> group_count;
    if (in.status() != QDataStream::Ok || read_magic != magic) {
        write_log(QStringLiteral("read_macro_dat, not a preset macro file ") + source);
        return false;
    }

    // Nothing is reserved from the counts: every element is read before it is stored,
    // so a hostile count ends at the end of the input.
    QVector<macro_group> read;
    const auto damaged = [&](const QString& what) {
        write_log(QStringLiteral("read_macro_dat, damaged file (%1) ").arg(what) + source);
        return false;
    };
    if (group_count < 0)
        return damaged(QStringLiteral("group count"));
    for (qint32 g = 0; g < group_count; ++g) {
        macro_group group;
        qint32 macro_count = 0;
        in >> group.name >> macro_count;
        if (in.status() != QDataStream::Ok)
            return damaged(QStringLiteral("group %1").arg(g));
        if (macro_count < 0)
            return damaged(QStringLiteral("macro count of group %1").arg(g));
        for (qint32 m = 0; m < macro_count; ++m) {
            quint32 length = 0;
            in >> length;
            if (in.status() != QDataStream::Ok || length != library_macro_rec::size)
                return damaged(QStringLiteral("macro %1 of group %2").arg(m).arg(g));
            library_macro_rec record;
            if (in.readRawData(reinterpret_cast<char*>(record.data()), int(length)) != int(length))
                return damaged(QStringLiteral("macro %1 of group %2").arg(m).arg(g));
            group.macros.append(record);
        }
        read.append(group);
    }
    groups = read;
    return true;
}

bool read_preset_macro_file(const QString& path, quint64 magic, QVector<macro_group>& groups) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        write_log(QStringLiteral("read_macro_dat, can not open the file: ") + path);
        return false;
    }
    file.setObjectName(path);
    return read_preset_macro_file(&file, magic, groups);
}

macro_match match_and_refresh(int32_t product_type, const library_item& item, macro_rec& record,
                              const global_func_c& installation) {
    // The device only ever holds what conversion stored (names cut to their fields, at
    // most 480 keys, clipped key values), so the library macro is compared in that form.
    macro_rec expected;
    convert_library_macro(item.group_name, record.b[3], record.b[4], item.record, expected);
    if (!same_stored_macro(record, expected))
        return {false, false};
    if (item.deleted())
        return {true, true};
    if (!installation.macro_allowed(item.kind, product_type))
        return {true, true};
    record = expected;
    return {true, false};
}

macro_match match_and_refresh(int32_t product_type, const library_item& item, macro_rec& record) {
    return match_and_refresh(product_type, item, record, global_func());
}
