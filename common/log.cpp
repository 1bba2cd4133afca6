#include "common/log.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QTimerEvent>
#include <algorithm>
#include <atomic>

Q_LOGGING_CATEGORY(quil_log, "quil.log", QtInfoMsg)

namespace {

constexpr int prune_interval_ms = 60000;

// The log files of the folder, oldest first: their names start with the creation time.
QStringList log_files(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
    std::sort(names.begin(), names.end());
    return names;
}

// The lock is made before the log and outlives it, so a write during the log's own
// destruction still has a lock to take.
struct log_statics {
    QMutex lock;
    CLog log;
    ~log_statics() { gone.store(true); }

    // Trivially destructible, so it is still readable by destructors that run later.
    static std::atomic<bool> gone;
};

std::atomic<bool> log_statics::gone{false};

log_statics& statics() {
    static log_statics instance;
    return instance;
}

// The lock and the log exist before the host can call into the module.
[[maybe_unused]] const bool statics_created = (statics(), true);

} // namespace

CLog::CLog() = default;

CLog::~CLog() {
    // At process exit the application object may already be gone; the timer is then only
    // forgotten, which needs no event loop.
    if (m_timer_id != 0 && thread() == QThread::currentThread())
        killTimer(m_timer_id);
    m_timer_id = 0;
    if (m_file.isOpen())
        m_stream.flush();
    m_stream.setDevice(nullptr);
    m_file.close();
}

void CLog::init(const QString& base, const QString& name) {
    if (m_timer_id != 0) {
        killTimer(m_timer_id);
        m_timer_id = 0;
    }

    m_folder = base + QStringLiteral("log/") + name + QStringLiteral("/");
    QDir().mkpath(m_folder);

    bool reused = false;
    for (const QString& file_name : log_files(m_folder)) {
        m_stream.setDevice(nullptr);
        m_file.close();
        m_file.setFileName(m_folder + file_name);
        if (!m_file.open(QIODevice::Append | QIODevice::Text))
            continue;
        if (m_file.size() < m_size_limit) {
            reused = true;
            break;
        }
    }
    if (reused) {
        m_stream.setDevice(&m_file);
        m_stream.setCodec("UTF-8");
        m_stream.flush();
    } else {
        create_file();
    }

    m_timer_id = startTimer(prune_interval_ms, Qt::CoarseTimer);
}

void CLog::create_file() {
    // Without a folder the relative name would land in the working directory.
    if (m_folder.isEmpty())
        return;
    // Names have a resolution of one second and order the files by age. A roll-over within
    // the second of an existing file (a burst of entries) takes the next free second instead:
    // every roll-over starts a file of its own. A burst can run ahead of the clock, and the
    // oldest file may just have been pruned, so the new name also follows the newest one:
    // the name order stays the age order and pruning never takes the file being written.
    const QString format = QStringLiteral("yyyy_MM_dd_hh_mm_ss");
    QDateTime when = QDateTime::currentDateTime();
    const QStringList existing = log_files(m_folder);
    if (!existing.isEmpty()) {
        const QDateTime newest = QDateTime::fromString(existing.last().left(format.size()), format);
        if (newest.isValid() && newest >= when.addMSecs(-when.time().msec()))
            when = newest.addSecs(1);
    }
    QString name;
    for (;;) {
        name = when.toString(format) + QStringLiteral(".txt");
        if (!QFileInfo::exists(m_folder + name))
            break;
        when = when.addSecs(1);
    }

    m_stream.setDevice(nullptr);
    m_file.close();
    m_file.setFileName(m_folder + name);
    if (m_file.open(QIODevice::Append | QIODevice::Text)) {
        m_stream.setDevice(&m_file);
        m_stream.setCodec("UTF-8");
        m_stream.flush();
    }

    qCDebug(quil_log).noquote() << "void CLog::create_file()" << m_folder << name;
}

QString CLog::stamp(const QDateTime& when) {
    // Qt's "z" drops trailing zeros in Qt 5 (260 ms would read "26"), so the milliseconds
    // are written as a plain number.
    return when.toString(QStringLiteral("yyyyMMdd_hh:mm:ss:")) +
           QString::number(when.time().msec());
}

void CLog::write(const QString& message, bool echo) {
    // Before init, or when the folder cannot be written, the entry is dropped: without an echo
    // it costs nothing (readers of hostile input log a lot).
    if (!echo && !m_file.isOpen())
        return;
    const QString time = stamp(QDateTime::currentDateTime());
    if (echo) {
        qCInfo(quil_log).noquote() << time;
        qCInfo(quil_log).noquote() << message;
    }

    // Before init, or when the folder cannot be written, the entry is dropped.
    if (!m_file.isOpen())
        return;

    // A failed write (a full disk) must not silence every later entry.
    m_stream.resetStatus();
    m_stream << time << '\n' << message << '\n' << '\n';
    m_stream.flush();

    if (m_file.size() > m_size_limit) {
        // A burst of entries must not pile up files until the next pruning tick: room is
        // made before the new file exists, so the folder never holds more than the limit.
        prune(m_files_to_keep - 1);
        create_file();
    }
}

void CLog::prune() {
    prune(m_files_to_keep);
}

void CLog::prune(int keep) {
    // Without a folder the relative path would name the working directory.
    if (m_folder.isEmpty())
        return;
    const QStringList names = log_files(m_folder);
    const int surplus = names.size() - keep;
    for (int i = 0; i < surplus; ++i)
        QFile::remove(m_folder + names.at(i)); // a failure is retried at the next tick
}

void CLog::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer_id)
        prune();
    else
        QObject::timerEvent(event);
}

CLog& module_log() {
    return statics().log;
}

QMutex& module_log_lock() {
    return statics().lock;
}

void write_log(const QString& message, bool echo) {
    if (log_statics::gone.load())
        return;
    QMutexLocker locker(&module_log_lock());
    module_log().write(message, echo);
}
