// Named shared-memory segments through which the kernel and the host exchange blobs.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QSharedMemory;

class shm_pool {
public:
    static constexpr qint64 expiry_ms = 60000;
    static constexpr unsigned max_number = 10000;
    // Far above any blob the module exchanges; a larger segment is not read.
    static constexpr int max_read_bytes = 64 * 1024 * 1024;

    // `now_ms` tells the pool's time in ms; by default the time since construction.
    explicit shm_pool(std::function<qint64()> now_ms = {});
    ~shm_pool();
    shm_pool(const shm_pool&) = delete;
    shm_pool& operator=(const shm_pool&) = delete;

    // Segments made ahead, in the order of their numbers. Every publication takes
    // the first, whatever its size; one of another size is made again under that
    // number. Keys must reach the host in the order of their numbers, so a small
    // publication (a sensor command) cannot leave the profile set's segment for
    // later: it takes it and remakes it small. The second one made ahead is what
    // the next commit then finds ready, idle time or not.
    static constexpr std::size_t ahead_count = 2;

    // A segment with a key of the form prefix + "_" + n that no other segment
    // uses right now, created with `size` bytes and attached: the segment that
    // proves the key free is the one that carries the data, so publishing
    // creates it only once. Null for an empty prefix or when no free key can be
    // found; a segment that could not be made that large is returned unmade,
    // and write_segment then reports why. A segment made ahead by prepare() is
    // handed out first; its key took its turn when it was made.
    QSharedMemory* fresh_segment(const QString& prefix, int size = 1);
    // Makes the next fresh segments ahead of time (ahead_count of them), at
    // `size` bytes, with their pages already backed, so that handing one out
    // costs no more than the copy into it. They join the pool (and their minute
    // starts) only when they are handed out.
    void prepare(const QString& prefix, int size);
    // The key of the next segment made ahead, empty when there is none.
    QString prepared_key() const;
    // The keys of all segments made ahead, next first.
    QStringList prepared_keys() const;
    // Copies the bytes into the segment, (re)creating it when it is not
    // attached at exactly their size; returns false (and logs) on failure.
    static bool write_segment(QSharedMemory* segment, const QByteArray& bytes);
    // The whole content of the segment with that key; empty when it cannot be attached.
    QByteArray read_key(const QString& key);

    // Destroys segments older than `age_ms` (by default the expiry); the segment
    // made ahead is not in use yet and stays.
    void purge(qint64 age_ms = expiry_ms);
    // Segments whose minute is over and that wait for the next prepare() to be
    // destroyed: while segments are made ahead, their end is idle work too.
    int retired() const { return int(m_retired.size()); }
    void clear();
    int size() const { return int(m_entries.size()); }
    unsigned counter() const { return m_counter; }

private:
    struct entry {
        std::unique_ptr<QSharedMemory> segment;
        qint64 created_ms;
    };
    unsigned next_number();
    qint64 now() const;
    // A segment under the next free key of that prefix, created at `size`.
    std::unique_ptr<QSharedMemory> create_free(const QString& prefix, int size);
    // The next segment made ahead, for that prefix, at exactly `size`; null when there is none.
    std::unique_ptr<QSharedMemory> take_prepared(const QString& prefix, int size);
    // The segment at `size` under its own key (made again when its size differs); null on failure.
    static std::unique_ptr<QSharedMemory> remade(std::unique_ptr<QSharedMemory> segment, int size);
    static bool touch(QSharedMemory& segment);
    QSharedMemory* keep(std::unique_ptr<QSharedMemory> segment);
    // Takes the expired entries out of the pool into m_retired.
    void retire_expired(qint64 age_ms);

    std::vector<entry> m_entries;
    std::vector<std::unique_ptr<QSharedMemory>> m_retired;
    std::deque<std::unique_ptr<QSharedMemory>> m_ahead;
    QString m_ahead_prefix;
    unsigned m_counter = 0;
    QElapsedTimer m_clock;
    std::function<qint64()> m_now;
};
