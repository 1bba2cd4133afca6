#include "host/host_settings.h"

#include "host/host_log.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString k_language = QStringLiteral("window/language");
const QString k_edition = QStringLiteral("window/edition");
const QString k_profile_folder = QStringLiteral("files/profile_folder");

} // namespace

host_settings_c::host_settings_c(const QString& file)
    : m_file(file.isEmpty() ? default_file() : file) {}

QString host_settings_c::default_file() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("koral.ini"));
}

int32_t host_settings_c::language(int32_t fallback) const {
    const QVariant value = QSettings(m_file, QSettings::IniFormat).value(k_language);
    bool ok = false;
    const int id = value.toInt(&ok);
    if (value.isValid() && (!ok || id < 0)) {
        qCWarning(lc_koral).noquote() << "Settings: the stored language" << value.toString() << "in"
                                      << m_file << "is not a language id; using" << fallback;
        return fallback;
    }
    return ok ? id : fallback;
}

void host_settings_c::set_language(int32_t id) {
    QSettings settings(m_file, QSettings::IniFormat);
    settings.setValue(k_language, id);
}

int32_t host_settings_c::edition(int32_t fallback) const {
    bool ok = false;
    const int type = QSettings(m_file, QSettings::IniFormat).value(k_edition).toInt(&ok);
    // Only the two editions are worth restoring; anything else was not written by us.
    return ok && (type == 8 || type == 9) ? type : fallback;
}

void host_settings_c::set_edition(int32_t product_type) {
    QSettings settings(m_file, QSettings::IniFormat);
    settings.setValue(k_edition, product_type);
}

QString host_settings_c::profile_folder() const {
    const QString last = QSettings(m_file, QSettings::IniFormat).value(k_profile_folder).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void host_settings_c::remember_profile_file(const QString& path) {
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    QSettings settings(m_file, QSettings::IniFormat);
    settings.setValue(k_profile_folder, folder);
}
