// The module's rolling plain-text log.
#pragma once

#include <QFile>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QTextStream>

class QDateTime;
class QMutex;

// The module's debug output: echoed entries (info, shown by default) and notes about the
// log's own files (debug, shown only when "quil.log.debug=true" is among the logging rules).
Q_DECLARE_LOGGING_CATEGORY(quil_log)

class CLog : public QObject {
    Q_OBJECT
public:
    CLog();
    ~CLog() override;

    // Points the log at base + "log/" + name + "/", opens a file there and starts pruning.
    void init(const QString& base, const QString& name);
    // Appends one entry: a time-stamp line, the message and an empty line.
    void write(const QString& message, bool echo);
    // Starts a new file named after the current local time.
    void create_file();

    QString folder() const { return m_folder; }
    QString current_file() const { return m_file.fileName(); }
    bool is_open() const { return m_file.isOpen(); }

    // Removes the oldest files beyond the number to keep (the pruning timer's work).
    void prune();

    // An entry's time-stamp line: "yyyyMMdd_hh:mm:ss:" and the milliseconds without leading
    // zeros (260 ms is "260", 26 ms is "26").
    static QString stamp(const QDateTime& when);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void prune(int keep);

    QFile m_file;
    QTextStream m_stream;
    QString m_folder;
    qint64 m_size_limit = 2000000;
    int m_files_to_keep = 5;
    int m_timer_id = 0;
};

// The module-wide log object and its lock, created at static initialisation.
CLog& module_log();
QMutex& module_log_lock();

// Writes one entry to the module log under the module-wide lock; `echo` also
// sends it to the debug output.
void write_log(const QString& message, bool echo = false);
