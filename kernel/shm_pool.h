// Named shared-memory segments through which the kernel and the host exchange blobs.
#pragma once

#include <QElapsedTimer>
#include <QString>
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

    // A segment with a key of the form prefix + "_" + n that no other segment
    // uses right now, created with `size` bytes and attached: the segment that
    // proves the key free is the one that carries the data, so publishing
    // creates it only once. Null for an empty prefix or when no free key can be
    // found; a segment that could not be made that large is returned unmade,
    // and write_segment then reports why. A segment made ahead by prepare() is
    // handed out first; its key took its turn when it was made.
    QSharedMemory* fresh_segment(const QString& prefix, int size = 1);
    // Makes the next fresh segment ahead of time, at `size` bytes, with its pages
    // already backed, so that handing it out costs no more than the copy into it.
    // It joins the pool (and its minute starts) only when it is handed out.
    void prepare(const QString& prefix, int size);
    // The key of the segment made ahead, empty when there is none.
    QString prepared_key() const;
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
    // The segment made ahead, for that prefix, at exactly `size`; null when there is none.
    std::unique_ptr<QSharedMemory> take_prepared(const QString& prefix, int size);
    QSharedMemory* keep(std::unique_ptr<QSharedMemory> segment);
    // Takes the expired entries out of the pool into m_retired.
    void retire_expired(qint64 age_ms);

    std::vector<entry> m_entries;
    std::vector<std::unique_ptr<QSharedMemory>> m_retired;
    std::unique_ptr<QSharedMemory> m_prepared;
    QString m_prepared_prefix;
    unsigned m_counter = 0;
    QElapsedTimer m_clock;
    std::function<qint64()> m_now;
};
