// The host's timers: named countdowns a button can start. Button records keep
// a timer's identifier and show its name. The list lives in a file of the
// host's data folder and is written after every change.
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
    static constexpr int max_timers = 256;
    static constexpr uint32_t max_duration_ms = 24u * 60 * 60 * 1000;
    // The file: magic "KTIMERS1" (64-bit), version, count, then per timer its
    // identifier, name and duration.
    static constexpr quint64 file_magic = 0x4B54494D45525331ull; // "KTIMERS1"
    static constexpr qint32 file_version = 1;
    static constexpr qint64 max_file_bytes = 1024 * 1024;

    // `file` empty: the list lives in memory only.
    explicit timer_list_c(const QString& file = QString(), QObject* parent = nullptr);

    // A few timers a player sets up first.
    static QVector<timer_t> sample_timers();

    QVector<timer_t> timers() const { return m_timers; }
    int count() const { return m_timers.size(); }
    const timer_t* find(uint32_t identifier) const;
    // The name of a timer, or an empty text when there is none with that identifier.
    QString name_of(uint32_t identifier) const;
    // Whether a name is taken (ignoring case), by a timer other than `except`.
    bool name_taken(const QString& name, uint32_t except = 0) const;
    // Adds a timer; false for an empty or taken name, a zero or too long
    // duration, a taken identifier or a full list.
    bool add(const timer_t& timer);
    bool rename(uint32_t identifier, const QString& name);
    bool set_duration(uint32_t identifier, uint32_t duration_ms);
    bool remove(uint32_t identifier);

    QString file() const { return m_file; }
    // Replaces the list by the file's content. An absent file gives an empty
    // list (and false from `existed`); a damaged one is logged, kept aside, and
    // the list stays as it was.
    bool load(bool* existed = nullptr);
    bool save() const;
    // The file's bytes for a list, and the reverse; the reader is bounded.
    static QByteArray to_bytes(const QVector<timer_t>& timers);
    static bool from_bytes(const QByteArray& bytes, QVector<timer_t>* timers, QString* error);

signals:
    void timers_changed();

private:
    timer_t* find_mutable(uint32_t identifier);
    void changed();

    QString m_file;
    QVector<timer_t> m_timers;
};
