#include "host/timer_list.h"

#include "host/host_log.h"
#include "host/host_storage.h"

#include <QDataStream>
#include <QSet>

timer_list_c::timer_list_c(const QString& file, QObject* parent)
    : QObject(parent)
    , m_file(file) {}

QVector<timer_list_c::timer_t> timer_list_c::sample_timers() {
    return {
        {0x1001, QStringLiteral("Respawn"), 30000},
        {0x1002, QStringLiteral("Buff"), 90000},
        {0x1003, QStringLiteral("Break"), 15 * 60 * 1000},
    };
}

const timer_list_c::timer_t* timer_list_c::find(uint32_t identifier) const {
    for (const timer_t& timer : m_timers) {
        if (timer.identifier == identifier)
            return &timer;
    }
    return nullptr;
}

timer_list_c::timer_t* timer_list_c::find_mutable(uint32_t identifier) {
    for (timer_t& timer : m_timers) {
        if (timer.identifier == identifier)
            return &timer;
    }
    return nullptr;
}

QString timer_list_c::name_of(uint32_t identifier) const {
    const timer_t* timer = find(identifier);
    return timer ? timer->name : QString();
}

bool timer_list_c::name_taken(const QString& name, uint32_t except) const {
    const QString wanted = name.trimmed();
    for (const timer_t& timer : m_timers) {
        if (timer.identifier != except && timer.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void timer_list_c::changed() {
    save();
    emit timers_changed();
}

bool timer_list_c::add(const timer_t& timer) {
    const QString name = timer.name.trimmed().left(max_name_chars);
    if (name.isEmpty() || name_taken(name) || timer.duration_ms == 0 ||
        timer.duration_ms > max_duration_ms || find(timer.identifier) ||
        m_timers.size() >= max_timers)
        return false;
    m_timers.append({timer.identifier, name, timer.duration_ms});
    changed();
    return true;
}

bool timer_list_c::rename(uint32_t identifier, const QString& name) {
    const QString trimmed = name.trimmed().left(max_name_chars);
    timer_t* timer = find_mutable(identifier);
    if (!timer || trimmed.isEmpty() || name_taken(trimmed, identifier))
        return false;
    if (timer->name != trimmed) {
        timer->name = trimmed;
        changed();
    }
    return true;
}

bool timer_list_c::set_duration(uint32_t identifier, uint32_t duration_ms) {
    timer_t* timer = find_mutable(identifier);
    if (!timer || duration_ms == 0 || duration_ms > max_duration_ms)
        return false;
    if (timer->duration_ms != duration_ms) {
        timer->duration_ms = duration_ms;
        changed();
    }
    return true;
}

bool timer_list_c::remove(uint32_t identifier) {
    for (int i = 0; i < m_timers.size(); ++i) {
        if (m_timers.at(i).identifier == identifier) {
            m_timers.removeAt(i);
            changed();
            return true;
        }
    }
    return false;
}

QByteArray timer_list_c::to_bytes(const QVector<timer_t>& timers) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    host_storage::write_head(out, file_magic, file_version, timers.size());
    for (const timer_t& timer : timers)
        out << quint32(timer.identifier) << timer.name << quint32(timer.duration_ms);
    return bytes;
}

bool timer_list_c::from_bytes(const QByteArray& bytes, QVector<timer_t>* timers, QString* error) {
    QVector<timer_t> read;
    QSet<uint32_t> identifiers;
    // A timer takes at least its identifier, an empty name's length and its duration.
    const bool ok = host_storage::read_entries(
        bytes, file_magic, file_version, max_timers, 4 + 4 + 4,
        [&](QDataStream& in, int i, QString* why) {
            timer_t timer;
            in >> timer.identifier;
            if (!host_storage::read_text(in, max_name_chars, &timer.name)) {
                *why = QStringLiteral("the name of timer %1 is damaged").arg(i);
                return false;
            }
            in >> timer.duration_ms;
            timer.name = timer.name.trimmed();
            if (timer.name.isEmpty() || timer.duration_ms == 0 ||
                timer.duration_ms > max_duration_ms) {
                *why = QStringLiteral("timer %1 has no name or no valid duration").arg(i);
                return false;
            }
            if (identifiers.contains(timer.identifier)) {
                *why =
                    QStringLiteral("timer %1 repeats identifier %2").arg(i).arg(timer.identifier);
                return false;
            }
            identifiers.insert(timer.identifier);
            read.append(timer);
            return true;
        },
        error);
    if (ok)
        *timers = read;
    return ok;
}

bool timer_list_c::load(bool* existed) {
    QVector<timer_t> timers;
    const host_storage::load_t outcome =
        host_storage::load_checked(m_file, max_file_bytes, QStringLiteral("The timer list"),
                                   [&timers](const QByteArray& bytes, QString* error) {
                                       return from_bytes(bytes, &timers, error);
                                   });
    if (existed)
        *existed = outcome != host_storage::load_t::absent;
    if (outcome == host_storage::load_t::damaged)
        return false;
    m_timers = timers;
    emit timers_changed();
    return true;
}

bool timer_list_c::save() const {
    if (m_file.isEmpty())
        return true;
    return host_storage::save_file(m_file, to_bytes(m_timers));
}
