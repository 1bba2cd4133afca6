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

namespace {

// A letter, digit or space of ASCII: its key code is its upper-case character.
bool typeable(QChar c) {
    const QChar upper = c.toUpper();
    return upper.unicode() <= 0x7F && (upper.isLetterOrNumber() || upper == QLatin1Char(' '));
}

// The character a letter, digit or space usage types; null for any other key.
QChar typed_char(uint8_t usage) {
    if (usage >= 0x04 && usage <= 0x1D)
        return QChar('A' + (usage - 0x04));
    if (usage >= 0x1E && usage <= 0x26)
        return QChar('1' + (usage - 0x1E));
    if (usage == 0x27)
        return QLatin1Char('0');
    if (usage == 0x2C)
        return QLatin1Char(' ');
    return QChar();
}

} // namespace

QString macro_library_c::untypeable(const QString& text) {
    QString refused;
    for (QChar c : text) {
        if (!typeable(c) && !refused.contains(c))
            refused.append(c);
    }
    return refused;
}

QString macro_library_c::typed_text(const library_macro_rec& record, int* other) {
    QString text;
    int others = 0;
    const int count = qMin<int>(record.key_count(), library_macro_rec::max_keys);
    for (int i = 0; i < count; ++i) {
        const library_key key = record.key(i);
        const QChar c = typed_char(key.b);
        const bool letter = !c.isNull() && key.c == 0;
        if (letter && key.a == key_press)
            text.append(c);
        else if (!(letter && key.a == key_release))
            ++others;
    }
    *other = others;
    return text;
}

QVector<library_key> macro_library_c::typed_keys(const QString& text, uint32_t delay_ms) {
    QVector<library_key> keys;
    for (QChar c : text) {
        const QChar upper = c.toUpper();
        if (!typeable(c))
            continue;
        // Letters, digits and the space bar carry their keyboard usage, as hotkeys do.
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
    host_storage::write_head(out, file_magic, file_version, groups.size());
    for (const group_t& group : groups) {
        out << group.name << qint32(group.macros.size());
        for (const library_macro_rec& record : group.macros)
            out << record.to_bytes();
    }
    return bytes;
}

bool macro_library_c::from_bytes(const QByteArray& bytes, QVector<group_t>* groups,
                                 QString* error) {
    // Each macro takes its length and its record: a count the remaining bytes
    // cannot hold is refused before anything is allocated for it.
    constexpr qint64 macro_bytes = 4 + qint64(library_macro_rec::size);
    QVector<group_t> read;
    const bool ok = host_storage::read_entries(
        bytes, file_magic, file_version, max_groups, 4 + 4,
        [&](QDataStream& in, int g, QString* why) {
            group_t group;
            qint32 macro_count = 0;
            if (!host_storage::read_text(in, max_name_chars, &group.name)) {
                *why = QStringLiteral("the name of group %1 is damaged").arg(g);
                return false;
            }
            in >> macro_count;
            if (in.status() != QDataStream::Ok || macro_count < 0 ||
                macro_count > max_macros_per_group ||
                macro_count * macro_bytes > host_storage::bytes_left(in)) {
                *why = QStringLiteral("group %1 claims %2 macros").arg(g).arg(macro_count);
                return false;
            }
            group.macros.reserve(macro_count);
            for (int m = 0; m < macro_count; ++m) {
                quint32 length = 0;
                in >> length;
                library_macro_rec record;
                if (in.status() != QDataStream::Ok || length != library_macro_rec::size ||
                    in.readRawData(reinterpret_cast<char*>(record.data()), int(length)) !=
                        int(length)) {
                    *why =
                        QStringLiteral("macro %1 of group %2 is not a whole record").arg(m).arg(g);
                    return false;
                }
                group.macros.append(record);
            }
            read.append(group);
            return true;
        },
        error);
    if (ok)
        *groups = read;
    return ok;
}

bool macro_library_c::load() {
    QVector<group_t> groups;
    const host_storage::load_t outcome =
        host_storage::load_checked(m_file, max_file_bytes, QStringLiteral("The macro library"),
                                   [&groups](const QByteArray& bytes, QString* error) {
                                       return from_bytes(bytes, &groups, error);
                                   });
    if (outcome == host_storage::load_t::damaged)
        return false;
    if (outcome == host_storage::load_t::loaded || !m_file.isEmpty()) {
        m_groups = groups;
        emit library_changed();
    }
    return true;
}

bool macro_library_c::save() const {
    if (m_file.isEmpty())
        return true;
    return host_storage::save_file(m_file, to_bytes(m_groups));
}
