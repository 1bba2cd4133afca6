#include "host/timer_list.h"

timer_list_c::timer_list_c(QObject* parent)
    : QObject(parent) {}

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

bool timer_list_c::add(const timer_t& timer) {
    const QString name = timer.name.trimmed().left(max_name_chars);
    if (name.isEmpty() || timer.duration_ms == 0 || find(timer.identifier))
        return false;
    m_timers.append({timer.identifier, name, timer.duration_ms});
    emit timers_changed();
    return true;
}

bool timer_list_c::rename(uint32_t identifier, const QString& name) {
    const QString trimmed = name.trimmed().left(max_name_chars);
    timer_t* timer = find_mutable(identifier);
    if (!timer || trimmed.isEmpty())
        return false;
    if (timer->name != trimmed) {
        timer->name = trimmed;
        emit timers_changed();
    }
    return true;
}

bool timer_list_c::remove(uint32_t identifier) {
    for (int i = 0; i < m_timers.size(); ++i) {
        if (m_timers.at(i).identifier == identifier) {
            m_timers.removeAt(i);
            emit timers_changed();
            return true;
        }
    }
    return false;
}
