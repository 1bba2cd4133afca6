#include "host/module_loader.h"

#include "host/host_log.h"

#include <QDir>
#include <QStringList>

module_loader_c::module_loader_c(const QString& file)
    : m_library(file) {}

module_loader_c::~module_loader_c() {
    if (m_entered)
        leave();
}

QString module_loader_c::module_file(const QString& folder, const QString& dll_name) {
    return QDir(folder).filePath(dll_name);
}

QString module_loader_c::file_name() const {
    return m_library.fileName();
}

bool module_loader_c::load() {
    if (is_loaded())
        return true;
    m_error.clear();
    if (!m_library.load()) {
        m_error = m_library.errorString();
        qCWarning(lc_koral).noquote() << "Cannot load the module:" << m_error;
        return false;
    }
    m_init = reinterpret_cast<init_fn>(m_library.resolve("init_module"));
    m_exit = reinterpret_cast<exit_fn>(m_library.resolve("exit_module"));
    if (!m_init || !m_exit) {
        QStringList missing;
        if (!m_init)
            missing << QStringLiteral("init_module");
        if (!m_exit)
            missing << QStringLiteral("exit_module");
        m_error = QStringLiteral("%1 is not a device module: it does not export %2")
                      .arg(m_library.fileName(), missing.join(QStringLiteral(" and ")));
        qCWarning(lc_koral).noquote() << m_error;
        m_init = nullptr;
        m_exit = nullptr;
        return false;
    }
    return true;
}

bool module_loader_c::enter(module_host_i* host) {
    if (!is_loaded() || m_entered)
        return false;
    m_entered = true;
    m_init(host);
    return true;
}

bool module_loader_c::leave() {
    if (!m_entered)
        return false;
    m_entered = false;
    m_exit();
    return true;
}
