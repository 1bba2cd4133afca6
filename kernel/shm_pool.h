// Named shared-memory segments through which the kernel and the host exchange blobs.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <vector>

class QSharedMemory;

class shm_pool {
public:
    static constexpr qint64 expiry_ms = 60000;
    static constexpr unsigned max_number = 10000;
    // Far above any blob the module exchanges; a larger segment is not read.
    static constexpr int max_read_bytes = 64 * 1024 * 1024;

    shm_pool();
    ~shm_pool();
    shm_pool(const shm_pool&) = delete;
    shm_pool& operator=(const shm_pool&) = delete;

    // A segment with a key of the form prefix + "_" + n that no other segment
    // uses right now, created with `size` bytes and attached: the segment that
    // proves the key free is the one that carries the data, so publishing
    // creates it only once. Null for an empty prefix or when no free key can be
    // found; a segment that could not be made that large is returned unmade,
    // and write_segment then reports why.
    QSharedMemory* fresh_segment(const QString& prefix, int size = 1);
    // Copies the bytes into the segment, (re)creating it when it is not
    // attached at exactly their size; returns false (and logs) on failure.
    static bool write_segment(QSharedMemory* segment, const QByteArray& bytes);
    // The whole content of the segment with that key; empty when it cannot be attached.
    QByteArray read_key(const QString& key);

    // Destroys segments older than the expiry.
    void purge();
    void clear();
    int size() const { return int(m_entries.size()); }
    unsigned counter() const { return m_counter; }

private:
    struct entry {
        std::unique_ptr<QSharedMemory> segment;
        qint64 created_ms;
    };
    unsigned next_number();

    std::vector<entry> m_entries;
    unsigned m_counter = 0;
    QElapsedTimer m_clock;
};
