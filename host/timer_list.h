// The host's timers: named countdowns a button can start. Button records keep
// a timer's identifier and show its name.
#pragma once

#include <QObject>
#include <QString>
#include <QVector>
#include <cstdint>

class timer_list_c : public QObject {
    Q_OBJECT
public:
    struct timer_t {
        uint32_t identifier = 0;
        QString name;
        // How long the timer runs.
        uint32_t duration_ms = 0;
        bool operator==(const timer_t& o) const {
            return identifier == o.identifier && name == o.name && duration_ms == o.duration_ms;
        }
    };
    static constexpr int max_name_chars = 64;

    explicit timer_list_c(QObject* parent = nullptr);

    // A few timers a player sets up first.
    static QVector<timer_t> sample_timers();

    QVector<timer_t> timers() const { return m_timers; }
    int count() const { return m_timers.size(); }
    const timer_t* find(uint32_t identifier) const;
    // The name of a timer, or an empty text when there is none with that identifier.
    QString name_of(uint32_t identifier) const;
    // Adds a timer; false for an empty name, a zero duration or a taken identifier.
    bool add(const timer_t& timer);
    bool rename(uint32_t identifier, const QString& name);
    bool remove(uint32_t identifier);

signals:
    void timers_changed();

private:
    timer_t* find_mutable(uint32_t identifier);

    QVector<timer_t> m_timers;
};
