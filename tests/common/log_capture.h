// What the module log received after a point in a test.
#pragma once

#include "common/log.h"

#include <QFile>
#include <QString>
#include <QStringList>

class log_capture {
public:
    log_capture()
        : m_file(module_log().current_file())
        , m_start(QFile(m_file).size()) {}

    // Everything written since construction (or the last `restart`).
    QString text() const {
        QFile file(m_file);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(m_start))
            return QString();
        return QString::fromUtf8(file.readAll());
    }

    // The messages of the entries, each a time-stamp line, a one-line message and an
    // empty line.
    QStringList messages() const {
        const QStringList lines = text().split(QLatin1Char('\n'));
        QStringList out;
        for (int i = 1; i < lines.size(); i += 3)
            out.append(lines[i]);
        return out;
    }

    void restart() { *this = log_capture(); }

private:
    QString m_file;
    qint64 m_start;
};
