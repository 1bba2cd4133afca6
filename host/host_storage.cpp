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

QString aside_name(const QString& path, int n) {
    const QString aside = path + QStringLiteral(".damaged");
    return n == 0 ? aside : aside + QLatin1Char('.') + QString::number(n);
}

QString keep_aside(const QString& path) {
    // Each earlier copy moves one number on; only the oldest beyond those kept goes.
    QFile::remove(aside_name(path, kept_aside - 1));
    for (int n = kept_aside - 2; n >= 0; --n) {
        const QString from = aside_name(path, n);
        if (QFile::exists(from) && !QFile::rename(from, aside_name(path, n + 1)))
            qCWarning(lc_koral).noquote()
                << "Cannot move the damaged copy" << from << "on to" << aside_name(path, n + 1);
    }
    const QString aside = aside_name(path, 0);
    if (QFile::rename(path, aside)) {
        qCWarning(lc_koral).noquote() << "The damaged file is kept as" << aside;
        return aside;
    }
    qCWarning(lc_koral).noquote() << "Cannot keep the damaged file" << path
                                  << "aside; the next save replaces it";
    return QString();
}

qint64 bytes_left(const QDataStream& in) {
    const QIODevice* device = in.device();
    if (!device)
        return 0;
    if (device->isSequential())
        return device->bytesAvailable();
    return device->size() - device->pos();
}

QDataStream& write_head(QDataStream& out, quint64 magic, qint32 version, qint32 count) {
    out.setVersion(stream_version);
    return out << magic << version << count;
}

bool read_entries(const QByteArray& bytes, quint64 magic, qint32 version, int max_count,
                  qint64 smallest_entry,
                  const std::function<bool(QDataStream& in, int i, QString* why)>& read_entry,
                  QString* error) {
    QDataStream in(bytes);
    in.setVersion(stream_version);
    const auto fail = [&](const QString& why) {
        *error = QStringLiteral("%1 (at byte %2 of %3)")
                     .arg(why)
                     .arg(bytes.size() - bytes_left(in))
                     .arg(bytes.size());
        return false;
    };
    quint64 stored_magic = 0;
    qint32 stored_version = 0;
    qint32 count = 0;
    in >> stored_magic >> stored_version >> count;
    if (in.status() != QDataStream::Ok)
        return fail(QStringLiteral("the head is cut short"));
    if (stored_magic != magic)
        return fail(QStringLiteral("another kind of file"));
    if (stored_version != version)
        return fail(QStringLiteral("unknown version %1").arg(stored_version));
    if (count < 0 || count > max_count || count * smallest_entry > bytes_left(in))
        return fail(QStringLiteral("%1 entries").arg(count));
    for (int i = 0; i < count; ++i) {
        QString why;
        if (!read_entry(in, i, &why))
            return fail(why);
        if (in.status() != QDataStream::Ok)
            return fail(QStringLiteral("entry %1 is cut short").arg(i));
    }
    if (!in.atEnd())
        return fail(QStringLiteral("bytes follow the last entry"));
    return true;
}

load_t load_checked(const QString& path, qint64 max_bytes, const QString& what,
                    const std::function<bool(const QByteArray& bytes, QString* error)>& parse) {
    if (path.isEmpty() || !QFile::exists(path))
        return load_t::absent;
    bool ok = false;
    const QByteArray bytes = load_file(path, max_bytes, &ok);
    QString error;
    if (ok && (bytes.isEmpty() || parse(bytes, &error)))
        return load_t::loaded;
    if (ok)
        qCWarning(lc_koral).noquote()
            << what << path << "is damaged:" << error << "- what was held stays";
    keep_aside(path);
    return load_t::damaged;
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
