#include "common/log.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QTimerEvent>
#include <algorithm>
#include <atomic>

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
    const QString name =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy_MM_dd_hh_mm_ss")) +
        QStringLiteral(".txt");
    const QString path = m_folder + name;

    // Names have a resolution of one second. When the file to roll over from already carries
    // this second's name, keep appending to it: the entries stay in order and nothing is lost,
    // and the next roll-over after the clock moves on starts a fresh file.
    if (!(m_file.isOpen() && m_file.fileName() == path)) {
        m_stream.setDevice(nullptr);
        m_file.close();
        m_file.setFileName(path);
        if (m_file.open(QIODevice::Append | QIODevice::Text)) {
            m_stream.setDevice(&m_file);
            m_stream.setCodec("UTF-8");
            m_stream.flush();
        }
    }

    qDebug().noquote() << "void CLog::create_file()" << m_folder << name;
}

void CLog::write(const QString& message, bool echo) {
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_hh:mm:ss:z"));
    if (echo) {
        qDebug().noquote() << stamp;
        qDebug().noquote() << message;
    }

    // Before init, or when the folder cannot be written, the entry is dropped.
    if (!m_file.isOpen())
        return;

    // A failed write (a full disk) must not silence every later entry.
    m_stream.resetStatus();
    m_stream << stamp << '\n' << message << '\n' << '\n';
    m_stream.flush();

    if (m_file.size() > m_size_limit)
        create_file();
}

void CLog::prune() {
    // Without a folder the relative path would name the working directory.
    if (m_folder.isEmpty())
        return;
    const QStringList names = log_files(m_folder);
    const int surplus = names.size() - m_files_to_keep;
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
