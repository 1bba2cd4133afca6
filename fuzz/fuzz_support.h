// Set-up shared by the harnesses: one offscreen GUI application (pictures need
// it), quiet Qt messages and test-mode paths, made once per process.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

inline void fuzz_quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// The folder for files a harness writes; it lives as long as the process.
inline QString fuzz_setup() {
    static QTemporaryDir* dir = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Files the harnesses write (and the shared-memory keys' files) go to memory when the
        // system has a memory file system: saving settings syncs to disk, which would cost
        // more than everything else a run does.
        if (QDir(QStringLiteral("/dev/shm")).exists())
            qputenv("TMPDIR", "/dev/shm");
        QStandardPaths::setTestModeEnabled(true);
        qInstallMessageHandler(fuzz_quiet);
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
        return new QTemporaryDir;
    }();
    return dir->path();
}

// A broken promise of the readers: stop the run so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            std::abort();                                                                          \
    } while (false)

// Writes `bytes` to the one file a harness keeps at `path`. Its time stamp is new on every
// run (an early date that counts up), so Qt's settings cache reads it again; one path for the
// whole run keeps that cache from growing, which would make every run look like a leak.
inline bool fuzz_write_file(const QString& path, const QByteArray& bytes) {
    static qint64 stamp = 0;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    return file.setFileTime(QDateTime::fromMSecsSinceEpoch(++stamp * 1000),
                            QFileDevice::FileModificationTime);
}

// Empties the settings file at `path` and lets Qt's settings cache read it once more, so the
// cache drops what it held of the file (it deletes an empty file's entry). A run then ends with
// as many frees as allocations, and libFuzzer, which scans the whole heap for leaks after every
// run that does not, scans only when something really stays behind.
inline void fuzz_forget_settings(const QString& path) {
    if (fuzz_write_file(path, QByteArray()))
        QSettings(path, QSettings::IniFormat).status();
}

// The input without a copy; valid for the run.
inline QByteArray fuzz_bytes(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}
