#include "common/language_listener.h"

#include "common/log.h"
#include "common/platform.h"
#include "module/global_func.h"
#include "module/module.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace {

constexpr int compiler_timeout_ms = 30000;

// A ".ts" kept beside a ".qm" is the translator's working copy: compile it again
// so that a changed text shows at the next language switch without a rebuild.
void refresh_translation(const QString& qm_path) {
    // Only the file's own suffix changes: a folder may carry ".qm" in its name too.
    const QString suffix = QStringLiteral(".qm");
    const QString ts_path =
        qm_path.endsWith(suffix, Qt::CaseSensitive)
            ? qm_path.left(qm_path.size() - suffix.size()) + QStringLiteral(".ts")
            : QString();
    if (QFile::exists(ts_path)) {
        const QString compiler =
            global_func().application_folder() + platform::translation_compiler_name();
        if (!QFile::exists(compiler)) {
            write_log(compiler + QStringLiteral(" not exist"), true);
        } else {
            QProcess process;
            process.start(compiler, QStringList{ts_path});
            if (!process.waitForStarted()) {
                write_log(compiler + QStringLiteral(" cannot be started: ") + process.errorString(),
                          true);
            } else {
                if (!process.waitForFinished(compiler_timeout_ms)) {
                    write_log(compiler + QStringLiteral(" did not finish with ") + ts_path, true);
                    process.kill();
                    process.waitForFinished();
                }
                const QByteArray errors = process.readAllStandardError();
                // The compiler's diagnostics end at the first zero byte, if any.
                const QString text = QString::fromLocal8Bit(errors.constData());
                if (!text.isEmpty())
                    write_log(text, true);
            }
        }
    }
    if (!QFile::exists(qm_path))
        write_log(qm_path + QStringLiteral(" not exist"), true);
}

} // namespace

language_listener_c::language_listener_c() = default;

// The translator takes itself out of the application when it is destroyed.
language_listener_c::~language_listener_c() = default;

interface_i* language_listener_c::query_interface(const GUID& iid) {
    if (iid == iid_interface_i || iid == iid_listener_i)
        return static_cast<listener_i*>(this);
    if (iid == iid_language_listener_i)
        return static_cast<language_listener_i*>(this);
    return nullptr;
}

void language_listener_c::release() {
    delete this;
}

void language_listener_c::manager_closing(listener_mgr_i*) {}

void language_listener_c::update() {
    apply_if_changed();
}

void language_listener_c::language_changed(language_source_i*, void*) {
    apply_if_changed();
}

void language_listener_c::apply_if_changed() {
    if (m_source)
        apply(m_source->current_language(), false);
}

void language_listener_c::bind(interface_i* host_object) {
    if (!host_object)
        return;
    if (language_source_i* source = query<language_source_i>(host_object))
        m_source = source;
    if (listener_mgr_i* manager = query<listener_mgr_i>(host_object))
        manager->add_listener(this);
}

void language_listener_c::unbind(interface_i* host_object) {
    if (!host_object)
        return;
    if (query<language_source_i>(host_object) == m_source)
        m_source = nullptr;
    if (listener_mgr_i* manager = query<listener_mgr_i>(host_object))
        manager->remove_listener(this);
}

void language_listener_c::add_language(int32_t id, const QString& path) {
    m_languages.insert(id, path);
}

void language_listener_c::apply_language() {
    if (m_source)
        apply(m_source->current_language(), true);
}

void language_listener_c::apply(int32_t language, bool again) {
    const auto it = m_languages.constFind(language);
    if (it == m_languages.constEnd())
        return;
    const QString path = it.value();
    if (!again && path == m_applied)
        return;
    refresh_translation(path);

    // Installing the same translator twice would list it twice; take it out first.
    QCoreApplication::removeTranslator(&m_translator);
    // The whole path is the file name: no folder, no delimiters, no suffix to try.
    const bool loaded = m_translator.load(path, QString(), QLatin1String(""), QLatin1String(""));
    if (!loaded && QFile::exists(path))
        write_log(path + QStringLiteral(" cannot be loaded; texts stay untranslated"), true);
    QCoreApplication::installTranslator(&m_translator);
    m_applied = path;
}

void setup_languages(int32_t product_type) {
    language_listener_c* listener = module_language_listener();
    if (!listener)
        return;
    for (const int32_t id : global_func().language_ids())
        listener->add_language(id, global_func().translation_file(product_type, id));
    listener->apply_language();
}
