#include "host/host_storage.h"

#include "host/host_log.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace host_storage {

QString data_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString module_log_folder() {
    return QFileInfo(data_folder()).path() + QStringLiteral("/VANTOR/KORAL/log/Quil");
}

bool save_file(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qCWarning(lc_koral).noquote() << "Cannot create the folder of" << path;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lc_koral).noquote() << "Cannot write" << path << ":" << file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        qCWarning(lc_koral).noquote() << "Cannot write" << path << ":" << file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

QByteArray load_file(const QString& path, qint64 max_bytes, bool* ok) {
    *ok = true;
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lc_koral).noquote() << "Cannot read" << path << ":" << file.errorString();
        *ok = false;
        return {};
    }
    if (file.size() > max_bytes) {
        qCWarning(lc_koral).noquote() << path << "holds" << file.size() << "bytes, more than the"
                                      << max_bytes << "it may; it is not read";
        *ok = false;
        return {};
    }
    // Read at most one byte beyond the limit: a file that grows meanwhile is refused too.
    QByteArray bytes = file.read(max_bytes + 1);
    if (bytes.size() > max_bytes) {
        qCWarning(lc_koral).noquote() << path << "grew beyond" << max_bytes << "bytes; not read";
        *ok = false;
        return {};
    }
    return bytes;
}

void keep_aside(const QString& path) {
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    if (QFile::rename(path, aside))
        qCWarning(lc_koral).noquote() << "The damaged file is kept as" << aside;
    else
        qCWarning(lc_koral).noquote()
            << "Cannot keep the damaged file" << path << "aside; the next save replaces it";
}

qint64 bytes_left(const QDataStream& in) {
    const QIODevice* device = in.device();
    if (!device)
        return 0;
    if (device->isSequential())
        return device->bytesAvailable();
    return device->size() - device->pos();
}

bool read_bytes(QDataStream& in, int max_bytes, QByteArray* bytes) {
    bytes->clear();
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok)
        return false;
    // A null byte array is written as 0xFFFFFFFF.
    if (length == 0xFFFFFFFFu)
        return true;
    if (length > quint32(max_bytes) || qint64(length) > bytes_left(in)) {
        in.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    QByteArray read(int(length), Qt::Uninitialized);
    if (in.readRawData(read.data(), int(length)) != int(length)) {
        in.setStatus(QDataStream::ReadPastEnd);
        return false;
    }
    *bytes = read;
    return true;
}

bool read_text(QDataStream& in, int max_chars, QString* text) {
    text->clear();
    // A string travels as a byte array of UTF-16 code units, big-endian.
    QByteArray raw;
    if (!read_bytes(in, 2 * max_chars, &raw))
        return false;
    if (raw.isNull())
        return true; // a null string
    if (raw.size() % 2 != 0) {
        in.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    QString decoded(raw.size() / 2, Qt::Uninitialized);
    for (int i = 0; i < decoded.size(); ++i) {
        const auto high = uchar(raw.at(2 * i));
        const auto low = uchar(raw.at(2 * i + 1));
        decoded[i] = QChar(ushort(high << 8 | low));
    }
    *text = decoded;
    return true;
}

} // namespace host_storage
