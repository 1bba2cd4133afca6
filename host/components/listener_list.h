// The listeners of a host object that is a listener manager: added once each,
// told in the order they joined, and told when the manager goes.
#pragma once

#include "module/interfaces.h"

#include <QVector>

class listener_list_c {
public:
    void add(listener_i* listener) {
        if (listener && !m_listeners.contains(listener))
            m_listeners.append(listener);
    }
    void remove(listener_i* listener) { m_listeners.removeOne(listener); }
    const QVector<listener_i*>& all() const { return m_listeners; }

    // Calls `call` on every listener that answers T. A listener that leaves
    // during the round is not called afterwards.
    template <class T, class F>
    void notify(F call) const {
        const QVector<listener_i*> round = m_listeners;
        for (listener_i* listener : round) {
            if (!m_listeners.contains(listener))
                continue;
            if (T* target = query<T>(listener))
                call(target);
        }
    }

    // The manager is going: every listener still there hears of it once.
    void close(listener_mgr_i* manager) {
        const QVector<listener_i*> remaining = m_listeners;
        m_listeners.clear();
        for (listener_i* listener : remaining)
            listener->manager_closing(manager);
    }

private:
    QVector<listener_i*> m_listeners;
};
