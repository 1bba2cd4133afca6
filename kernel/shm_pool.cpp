#include "kernel/shm_pool.h"

#include "common/log.h"
#include "common/platform.h"

#include <QSharedMemory>

#include <algorithm>
#include <cstring>

namespace {

// A key taken by a segment that a killed run left behind (nobody attached, its
// creator gone) is freed again; a segment somebody may still use is left alone.
bool reclaim_leftover(const QSharedMemory& segment) {
    if (segment.error() != QSharedMemory::AlreadyExists)
        return false;
    const platform::leftover_segment left = platform::reclaim_leftover_segment(segment.nativeKey());
    if (left.state == platform::leftover_segment::reclaimed) {
        write_log(QStringLiteral("Key: ") + segment.key() +
                      QStringLiteral(" was left by process %1, which has ended; reclaimed")
                          .arg(left.creator),
                  true);
        return true;
    }
    if (left.state == platform::leftover_segment::not_removed)
        write_log(QStringLiteral("Key: ") + segment.key() +
                      QStringLiteral(" was left by process %1, which has ended; cannot remove it")
                          .arg(left.creator),
                  true);
    return false;
}

bool create_reclaiming(QSharedMemory& segment, int size) {
    return segment.create(size, QSharedMemory::ReadWrite) ||
           (reclaim_leftover(segment) && segment.create(size, QSharedMemory::ReadWrite));
}

} // namespace

shm_pool::shm_pool(std::function<qint64()> now_ms)
    : m_now(std::move(now_ms)) {
    m_clock.start();
}

shm_pool::~shm_pool() = default;

qint64 shm_pool::now() const {
    return m_now ? m_now() : m_clock.elapsed();
}

unsigned shm_pool::next_number() {
    // Numbers run 0..10000, then start again at 0.
    if (m_counter > max_number) {
        m_counter = 1;
        return 0;
    }
    return m_counter++;
}

void shm_pool::retire_expired(qint64 age_ms) {
    const qint64 at = now();
    auto expired = [at, age_ms](const entry& e) {
        return at - e.created_ms > age_ms;
    };
    auto first = std::stable_partition(m_entries.begin(), m_entries.end(),
                                       [&](const entry& e) { return !expired(e); });
    for (auto it = first; it != m_entries.end(); ++it)
        m_retired.push_back(std::move(it->segment));
    m_entries.erase(first, m_entries.end());
}

void shm_pool::purge(qint64 age_ms) {
    retire_expired(age_ms);
    m_retired.clear();
}

void shm_pool::clear() {
    m_entries.clear();
    m_retired.clear();
    m_ahead.clear();
    m_ahead_prefix.clear();
}

QSharedMemory* shm_pool::keep(std::unique_ptr<QSharedMemory> segment) {
    QSharedMemory* result = segment.get();
    m_entries.push_back({std::move(segment), now()});
    return result;
}

std::unique_ptr<QSharedMemory> shm_pool::create_free(const QString& prefix, int size) {
    // One full turn of the numbers is enough: past that every key is taken
    // (or shared memory is unavailable), and trying again would never end.
    for (unsigned attempt = 0; attempt <= max_number; ++attempt) {
        const QString key = prefix + QLatin1Char('_') + QString::number(next_number());
        auto segment = std::make_unique<QSharedMemory>(key);
        bool free_key = create_reclaiming(*segment, size);
        if (!free_key && size > 1 && segment->error() != QSharedMemory::AlreadyExists) {
            // The key may be free and only the size refused: a one-byte probe
            // tells which, so a too-large blob does not walk through every key.
            QSharedMemory probe(key);
            free_key = create_reclaiming(probe, 1);
        }
        if (free_key)
            return segment;
        write_log(key + QStringLiteral(" create_share_memory_key fail"), true);
    }
    write_log(QStringLiteral("No free shared-memory key for ") + prefix, true);
    return nullptr;
}

std::unique_ptr<QSharedMemory> shm_pool::remade(std::unique_ptr<QSharedMemory> segment, int size) {
    if (segment->isAttached() && segment->size() == size)
        return segment;
    // Made for another size: the key is still this pool's and keeps its turn,
    // so the segment is made again under it, at the size asked for.
    if (segment->isAttached())
        segment->detach();
    if (segment->create(size, QSharedMemory::ReadWrite))
        return segment;
    write_log(segment->key() + QStringLiteral(" create_share_memory_key fail: ") +
                  segment->errorString(),
              true);
    return nullptr;
}

std::unique_ptr<QSharedMemory> shm_pool::take_prepared(const QString& prefix, int size) {
    if (m_ahead.empty() || m_ahead_prefix != prefix)
        return nullptr;
    std::unique_ptr<QSharedMemory> segment = std::move(m_ahead.front());
    m_ahead.pop_front();
    return remade(std::move(segment), size);
}

QSharedMemory* shm_pool::fresh_segment(const QString& prefix, int size) {
    // A segment made ahead means the host's idle time comes back after this
    // publication and prepares the next one: what expired ends there, not here.
    if (!m_ahead.empty() && m_ahead_prefix == prefix)
        retire_expired(expiry_ms);
    else
        purge();
    if (prefix.isEmpty())
        return nullptr;
    size = qMax(1, size);
    std::unique_ptr<QSharedMemory> segment = take_prepared(prefix, size);
    if (!segment)
        segment = create_free(prefix, size);
    return segment ? keep(std::move(segment)) : nullptr;
}

void shm_pool::prepare(const QString& prefix, int size) {
    purge();
    if (prefix.isEmpty() || size < 1)
        return;
    if (m_ahead_prefix != prefix) {
        // Those made for another prefix are given up (their numbers stay unused).
        m_ahead.clear();
        m_ahead_prefix = prefix;
    }
    // One made ahead for another size keeps its key and is made again at this one.
    for (auto it = m_ahead.begin(); it != m_ahead.end();) {
        if ((*it)->isAttached() && (*it)->size() == size) {
            ++it;
            continue;
        }
        std::unique_ptr<QSharedMemory> segment = remade(std::move(*it), size);
        if (segment && touch(*segment)) {
            *it = std::move(segment);
            ++it;
        } else {
            // Its number is lost; the ones behind it keep their order.
            it = m_ahead.erase(it);
        }
    }
    while (m_ahead.size() < ahead_count) {
        std::unique_ptr<QSharedMemory> segment = create_free(prefix, size);
        if (!segment)
            return;
        if (!segment->isAttached()) {
            // The key was free but not at this size; the publication itself will
            // try again and report it.
            write_log(QStringLiteral("Key: ") + segment->key() +
                      QStringLiteral(" not made ahead: ") + segment->errorString());
            return;
        }
        touch(*segment);
        m_ahead.push_back(std::move(segment));
    }
}

bool shm_pool::touch(QSharedMemory& segment) {
    if (!segment.isAttached())
        return false;
    // The operating system backs a new segment page by page on its first
    // writes; touching every page now keeps that out of the publication.
    std::memset(segment.data(), 0, size_t(segment.size()));
    return true;
}

QString shm_pool::prepared_key() const {
    return m_ahead.empty() ? QString() : m_ahead.front()->key();
}

QStringList shm_pool::prepared_keys() const {
    QStringList keys;
    for (const auto& segment : m_ahead)
        keys.append(segment->key());
    return keys;
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
    // A host that only sends messages must not make the pool grow: every
    // segment read is kept for the same minute as those published.
    purge();
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
    keep(std::move(segment));
    return bytes;
}
