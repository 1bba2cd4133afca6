#include "kernel/shm_pool.h"

#include "common/log.h"

#include <QSharedMemory>

#include <algorithm>
#include <cstring>

shm_pool::shm_pool() {
    m_clock.start();
}

shm_pool::~shm_pool() = default;

unsigned shm_pool::next_number() {
    // Numbers run 0..10000, then start again at 0.
    if (m_counter > max_number) {
        m_counter = 1;
        return 0;
    }
    return m_counter++;
}

void shm_pool::purge() {
    const qint64 now = m_clock.elapsed();
    auto expired = [now](const entry& e) {
        return now - e.created_ms > expiry_ms;
    };
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(), expired), m_entries.end());
}

void shm_pool::clear() {
    m_entries.clear();
}

QSharedMemory* shm_pool::fresh_segment(const QString& prefix, int size) {
    purge();
    if (prefix.isEmpty())
        return nullptr;
    size = qMax(1, size);

    // One full turn of the numbers is enough: past that every key is taken
    // (or shared memory is unavailable), and trying again would never end.
    for (unsigned attempt = 0; attempt <= max_number; ++attempt) {
        const QString key = prefix + QLatin1Char('_') + QString::number(next_number());
        auto segment = std::make_unique<QSharedMemory>(key);
        bool free_key = segment->create(size, QSharedMemory::ReadWrite);
        if (!free_key && size > 1 && segment->error() != QSharedMemory::AlreadyExists) {
            // The key may be free and only the size refused: a one-byte probe
            // tells which, so a too-large blob does not walk through every key.
            QSharedMemory probe(key);
            free_key = probe.create(1);
        }
        if (free_key) {
            QSharedMemory* result = segment.get();
            m_entries.push_back({std::move(segment), m_clock.elapsed()});
            return result;
        }
        write_log(key + QStringLiteral(" create_share_memory_key fail"), true);
    }
    write_log(QStringLiteral("No free shared-memory key for ") + prefix, true);
    return nullptr;
}

bool shm_pool::write_segment(QSharedMemory* segment, const QByteArray& bytes) {
    if (!segment)
        return false;
    const int size = qMax(1, bytes.size());
    if (!segment->isAttached() || segment->size() != size) {
        if (segment->isAttached())
            segment->detach();
        if (!segment->create(size, QSharedMemory::ReadWrite)) {
            write_log(QStringLiteral("Key: ") + segment->key() + QStringLiteral(" Error: ") +
                          segment->errorString(),
                      true);
            return false;
        }
    }
    segment->lock();
    std::memcpy(segment->data(), bytes.constData(), size_t(bytes.size()));
    segment->unlock();
    return true;
}

QByteArray shm_pool::read_key(const QString& key) {
    if (key.isEmpty())
        return {};
    auto segment = std::make_unique<QSharedMemory>(key);
    QByteArray bytes;
    if (!segment->attach(QSharedMemory::ReadOnly)) {
        write_log(QStringLiteral("Key: ") + key + QStringLiteral(" attach fail: ") +
                  segment->errorString());
    } else if (segment->size() > max_read_bytes) {
        write_log(
            QStringLiteral("Key: ") + key +
            QStringLiteral(" holds %1 bytes, more than any blob; not read").arg(segment->size()));
        segment->detach();
    } else {
        segment->lock();
        bytes = QByteArray(static_cast<const char*>(segment->constData()), segment->size());
        segment->unlock();
        segment->detach();
    }
    m_entries.push_back({std::move(segment), m_clock.elapsed()});
    return bytes;
}
