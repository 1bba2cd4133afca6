#include "host/macro_library.h"

#include "host/components/hid_keys.h"
#include "host/host_log.h"
#include "host/host_storage.h"

#include <QDataStream>

macro_library_c::macro_library_c(const QString& file, QObject* parent)
    : QObject(parent)
    , m_file(file) {}

interface_i* macro_library_c::query_interface(const GUID& iid) {
    // macro_library_i has no id of its own: the hub hands it out directly.
    if (iid == iid_of<interface_i>::value)
        return static_cast<macro_library_i*>(this);
    return nullptr;
}

bool macro_library_c::valid_macro(int32_t group, int32_t index) const {
    return valid_group(group) && index >= 0 && index < m_groups.at(group).macros.size();
}

int32_t macro_library_c::group_count() {
    return m_groups.size();
}

QString macro_library_c::group_name(int32_t group) {
    return valid_group(group) ? m_groups.at(group).name : QString();
}

int32_t macro_library_c::find_group(const QString& name) {
    for (int i = 0; i < m_groups.size(); ++i) {
        if (m_groups.at(i).name == name)
            return i;
    }
    return -1;
}

int32_t macro_library_c::add_group(const QString& name) {
    if (m_groups.size() >= max_groups) {
        qCWarning(lc_koral) << "Macro library: no room for another group" << name;
        return -1;
    }
    m_groups.append({name.left(max_name_chars), {}});
    save();
    emit library_changed();
    return m_groups.size() - 1;
}

int32_t macro_library_c::macro_count(int32_t group) {
    return valid_group(group) ? m_groups.at(group).macros.size() : 0;
}

const library_macro_rec* macro_library_c::macro_record(int32_t group, int32_t index) {
    // Const access: handing out a pointer must not detach and move the records.
    return valid_macro(group, index) ? &m_groups.at(group).macros.at(index) : nullptr;
}

int32_t macro_library_c::add_macro(int32_t group, const library_macro_rec& record) {
    if (!valid_group(group) || m_groups.at(group).macros.size() >= max_macros_per_group)
        return -1;
    m_groups[group].macros.append(record);
    save();
    emit library_changed();
    return m_groups.at(group).macros.size() - 1;
}

bool macro_library_c::replace_macro(int32_t group, int32_t index, const library_macro_rec& record) {
    if (!valid_macro(group, index))
        return false;
    m_groups[group].macros[index] = record;
    save();
    emit library_changed();
    return true;
}

// ------------------------------------------------------------ a person's operations

library_item macro_library_c::item_of(const QString& group, const library_macro_rec& record,
                                      bool deleted) {
    library_item item;
    item.state = deleted ? 1 : 0;
    item.group_name = group;
    item.record = record;
    item.kind = record.first_option_word();
    return item;
}

void macro_library_c::changed(const QList<library_item>& items) {
    save();
    emit library_changed();
    if (!items.isEmpty())
        emit macros_changed(items);
}

int32_t macro_library_c::create_group(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || find_group(trimmed) >= 0)
        return -1;
    return add_group(trimmed);
}

bool macro_library_c::rename_group(int32_t group, const QString& name) {
    const QString trimmed = name.trimmed().left(max_name_chars);
    if (!valid_group(group) || trimmed.isEmpty() || find_group(trimmed) >= 0)
        return false;
    // A rename takes nothing away: devices keep playing their own copies, and
    // listeners see the macros in their new place.
    QList<library_item> items;
    m_groups[group].name = trimmed;
    for (const library_macro_rec& record : m_groups.at(group).macros)
        items.append(item_of(trimmed, record, false));
    changed(items);
    return true;
}

bool macro_library_c::delete_group(int32_t group) {
    if (!valid_group(group))
        return false;
    const group_t old = m_groups.takeAt(group);
    QList<library_item> items;
    for (const library_macro_rec& record : old.macros)
        items.append(item_of(old.name, record, true));
    changed(items);
    return true;
}

int32_t macro_library_c::find_macro(int32_t group, const QString& name) const {
    if (!valid_group(group))
        return -1;
    const QVector<library_macro_rec>& macros = m_groups.at(group).macros;
    for (int i = 0; i < macros.size(); ++i) {
        if (macros.at(i).name() == name)
            return i;
    }
    return -1;
}

library_macro_rec macro_library_c::make_record(const QString& name,
                                               const QVector<library_key>& keys, uint16_t kind) {
    library_macro_rec record;
    record.set_first_option_word(kind);
    record.set_name(name);
    const int count = qMin(keys.size(), library_macro_rec::max_keys);
    record.set_key_count(uint16_t(count));
    for (int i = 0; i < count; ++i)
        record.set_key(i, keys.at(i));
    return record;
}

QVector<library_key> macro_library_c::typed_keys(const QString& text, uint32_t delay_ms) {
    QVector<library_key> keys;
    for (QChar c : text) {
        const QChar upper = c.toUpper();
        if (upper.unicode() > 0x7F || !(upper.isLetterOrNumber() || upper == QLatin1Char(' ')))
            continue;
        // Letters, digits and the space bar carry their Qt key's number, the character.
        const uint8_t code = hid_keys::usage_from_qt_key(upper.unicode(), false);
        keys.append({key_press, code, 0, delay_ms});
        keys.append({key_release, code, 0, delay_ms});
    }
    return keys;
}

int32_t macro_library_c::create_macro(int32_t group, const QString& name,
                                      const QVector<library_key>& keys, uint16_t kind) {
    const QString trimmed = name.trimmed();
    if (!valid_group(group) || trimmed.isEmpty() || find_macro(group, trimmed) >= 0 ||
        m_groups.at(group).macros.size() >= max_macros_per_group)
        return -1;
    const library_macro_rec record = make_record(trimmed, keys, kind);
    m_groups[group].macros.append(record);
    changed({item_of(m_groups.at(group).name, record, false)});
    return m_groups.at(group).macros.size() - 1;
}

bool macro_library_c::rename_macro(int32_t group, int32_t index, const QString& name) {
    const QString trimmed = name.trimmed();
    if (!valid_macro(group, index) || trimmed.isEmpty() || find_macro(group, trimmed) >= 0)
        return false;
    library_macro_rec& record = m_groups[group].macros[index];
    record.set_name(trimmed);
    changed({item_of(m_groups.at(group).name, record, false)});
    return true;
}

bool macro_library_c::set_macro_keys(int32_t group, int32_t index,
                                     const QVector<library_key>& keys) {
    if (!valid_macro(group, index))
        return false;
    const library_macro_rec& old = m_groups.at(group).macros.at(index);
    const library_macro_rec record = make_record(old.name(), keys, old.first_option_word());
    m_groups[group].macros[index] = record;
    changed({item_of(m_groups.at(group).name, record, false)});
    return true;
}

bool macro_library_c::delete_macro(int32_t group, int32_t index) {
    if (!valid_macro(group, index))
        return false;
    const library_macro_rec old = m_groups[group].macros.takeAt(index);
    changed({item_of(m_groups.at(group).name, old, true)});
    return true;
}

// ------------------------------------------------------------------------ the file

QByteArray macro_library_c::to_bytes(const QVector<group_t>& groups) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(host_storage::stream_version);
    out << file_magic << file_version << qint32(groups.size());
    for (const group_t& group : groups) {
        out << group.name << qint32(group.macros.size());
        for (const library_macro_rec& record : group.macros)
            out << record.to_bytes();
    }
    return bytes;
}

bool macro_library_c::from_bytes(const QByteArray& bytes, QVector<group_t>* groups,
                                 QString* error) {
    QDataStream in(bytes);
    in.setVersion(host_storage::stream_version);
    const auto fail = [&](const QString& why) {
        *error = QStringLiteral("%1 (at byte %2 of %3)")
                     .arg(why)
                     .arg(bytes.size() - host_storage::bytes_left(in))
                     .arg(bytes.size());
        return false;
    };
    quint64 magic = 0;
    qint32 version = 0;
    qint32 group_count = 0;
    in >> magic >> version >> group_count;
    if (in.status() != QDataStream::Ok)
        return fail(QStringLiteral("the head is cut short"));
    if (magic != file_magic)
        return fail(QStringLiteral("not a macro library"));
    if (version != file_version)
        return fail(QStringLiteral("unknown version %1").arg(version));
    if (group_count < 0 || group_count > max_groups)
        return fail(QStringLiteral("%1 groups").arg(group_count));

    // Each macro takes its length and its record: a count the remaining bytes
    // cannot hold is refused before anything is allocated for it.
    constexpr qint64 macro_bytes = 4 + qint64(library_macro_rec::size);
    QVector<group_t> read;
    for (int g = 0; g < group_count; ++g) {
        group_t group;
        qint32 macro_count = 0;
        if (!host_storage::read_text(in, max_name_chars, &group.name))
            return fail(QStringLiteral("the name of group %1 is damaged").arg(g));
        in >> macro_count;
        if (in.status() != QDataStream::Ok)
            return fail(QStringLiteral("group %1 is cut short").arg(g));
        if (macro_count < 0 || macro_count > max_macros_per_group ||
            macro_count * macro_bytes > host_storage::bytes_left(in))
            return fail(QStringLiteral("group %1 claims %2 macros").arg(g).arg(macro_count));
        group.macros.reserve(macro_count);
        for (int m = 0; m < macro_count; ++m) {
            quint32 length = 0;
            in >> length;
            if (in.status() != QDataStream::Ok || length != library_macro_rec::size)
                return fail(
                    QStringLiteral("macro %1 of group %2 is not a whole record").arg(m).arg(g));
            library_macro_rec record;
            if (in.readRawData(reinterpret_cast<char*>(record.data()), int(length)) != int(length))
                return fail(QStringLiteral("macro %1 of group %2 is cut short").arg(m).arg(g));
            group.macros.append(record);
        }
        read.append(group);
    }
    if (!in.atEnd())
        return fail(QStringLiteral("bytes follow the last group"));
    *groups = read;
    return true;
}

bool macro_library_c::load() {
    if (m_file.isEmpty())
        return true;
    bool ok = false;
    const QByteArray bytes = host_storage::load_file(m_file, max_file_bytes, &ok);
    if (!ok) {
        // The next save would write over macros a person may still want back.
        host_storage::keep_aside(m_file);
        return false;
    }
    if (bytes.isEmpty()) {
        m_groups.clear();
        emit library_changed();
        return true;
    }
    QVector<group_t> groups;
    QString error;
    if (!from_bytes(bytes, &groups, &error)) {
        qCWarning(lc_koral).noquote() << "The macro library" << m_file << "is damaged:" << error
                                      << "- the library keeps what it held";
        host_storage::keep_aside(m_file);
        return false;
    }
    m_groups = groups;
    emit library_changed();
    return true;
}

bool macro_library_c::save() const {
    if (m_file.isEmpty())
        return true;
    return host_storage::save_file(m_file, to_bytes(m_groups));
}
