#include "host/timer_list.h"

#include "host/host_log.h"
#include "host/host_storage.h"

#include <QDataStream>
#include <QFile>
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
    out.setVersion(host_storage::stream_version);
    out << file_magic << file_version << qint32(timers.size());
    for (const timer_t& timer : timers)
        out << quint32(timer.identifier) << timer.name << quint32(timer.duration_ms);
    return bytes;
}

bool timer_list_c::from_bytes(const QByteArray& bytes, QVector<timer_t>* timers, QString* error) {
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
    qint32 count = 0;
    in >> magic >> version >> count;
    if (in.status() != QDataStream::Ok)
        return fail(QStringLiteral("the head is cut short"));
    if (magic != file_magic)
        return fail(QStringLiteral("not a timer list"));
    if (version != file_version)
        return fail(QStringLiteral("unknown version %1").arg(version));
    // A timer takes at least its identifier, an empty name's length and its duration.
    constexpr qint64 smallest_timer = 4 + 4 + 4;
    if (count < 0 || count > max_timers || count * smallest_timer > host_storage::bytes_left(in))
        return fail(QStringLiteral("%1 timers").arg(count));
    QVector<timer_t> read;
    read.reserve(count);
    QSet<uint32_t> identifiers;
    for (int i = 0; i < count; ++i) {
        timer_t timer;
        quint32 identifier = 0;
        quint32 duration = 0;
        in >> identifier;
        if (!host_storage::read_text(in, max_name_chars, &timer.name))
            return fail(QStringLiteral("the name of timer %1 is damaged").arg(i));
        in >> duration;
        if (in.status() != QDataStream::Ok)
            return fail(QStringLiteral("timer %1 is cut short").arg(i));
        timer.identifier = identifier;
        timer.duration_ms = duration;
        timer.name = timer.name.trimmed();
        if (timer.name.isEmpty() || duration == 0 || duration > max_duration_ms)
            return fail(QStringLiteral("timer %1 has no name or no valid duration").arg(i));
        if (identifiers.contains(identifier))
            return fail(QStringLiteral("timer %1 repeats identifier %2").arg(i).arg(identifier));
        identifiers.insert(identifier);
        read.append(timer);
    }
    if (!in.atEnd())
        return fail(QStringLiteral("bytes follow the last timer"));
    *timers = read;
    return true;
}

bool timer_list_c::load(bool* existed) {
    if (existed)
        *existed = !m_file.isEmpty() && QFile::exists(m_file);
    if (m_file.isEmpty())
        return true;
    bool ok = false;
    const QByteArray bytes = host_storage::load_file(m_file, max_file_bytes, &ok);
    if (!ok) {
        host_storage::keep_aside(m_file);
        return false;
    }
    QVector<timer_t> timers;
    QString error;
    if (!bytes.isEmpty() && !from_bytes(bytes, &timers, &error)) {
        qCWarning(lc_koral).noquote() << "The timer list" << m_file << "is damaged:" << error
                                      << "- the list keeps what it held";
        // The next save would write over timers a person may still want back.
        host_storage::keep_aside(m_file);
        return false;
    }
    m_timers = timers;
    emit timers_changed();
    return true;
}

bool timer_list_c::save() const {
    if (m_file.isEmpty())
        return true;
    return host_storage::save_file(m_file, to_bytes(m_timers));
}
