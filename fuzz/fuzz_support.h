// Set-up shared by the harnesses: one offscreen GUI application (pictures need
// it), quiet Qt messages and test-mode paths, made once per process.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
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

// The input without a copy; valid for the run.
inline QByteArray fuzz_bytes(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}
