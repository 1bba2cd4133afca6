#include "module/module.h"

#include "common/language_listener.h"
#include "common/log.h"
#include "module/factories.h"
#include "module/global_func.h"

#include <QFile>
#include <QFileInfo>
#include <QResource>

namespace {
module_host_i* g_host = nullptr;
language_listener_c* g_language_listener = nullptr;
// The pictures file registered by init_module; empty while none is.
QString g_graphics_file;

// The pictures are a file beside the translations rather than part of the
// library. Without it the pages still work, only without their images.
void unregister_graphics();

void register_graphics() {
    const QString file = global_func().graphics_file();
    if (file == g_graphics_file)
        return;
    unregister_graphics();
    if (!QFileInfo(file).isFile()) {
        write_log(file + QStringLiteral(" not exist; the pages show no pictures"), true);
        return;
    }
    // A binary resource file starts with "qres"; anything else is refused before Qt reads it
    // whole (Qt keeps the bytes of a file it then refuses).
    QFile probe(file);
    const bool resource_file = probe.open(QIODevice::ReadOnly) && probe.read(4) == "qres";
    probe.close();
    if (!resource_file || !QResource::registerResource(file)) {
        write_log(file + QStringLiteral(" is not a resource file; the pages show no pictures"),
                  true);
        return;
    }
    g_graphics_file = file;
}

void unregister_graphics() {
    if (g_graphics_file.isEmpty())
        return;
    if (!QResource::unregisterResource(g_graphics_file))
        write_log(QStringLiteral("Cannot unregister ") + g_graphics_file);
    g_graphics_file.clear();
}
} // namespace

module_host_i* module_host() {
    return g_host;
}

ctrl_center_i* module_ctrl_center() {
    return g_host ? g_host->get_app() : nullptr;
}

language_listener_c* module_language_listener() {
    return g_language_listener;
}

void quil_init_module(module_host_i* host) {
    global_func().load_catalogue();
    global_func().load_test_values();
    module_log().init(global_func().module_data_folder(), QString::fromLatin1(module_product_name));

    g_host = host;
    if (!host)
        return;
    register_graphics();

    // A host that enters twice keeps the one listener it has.
    if (!g_language_listener)
        g_language_listener = new language_listener_c;
    g_language_listener->bind(host->get_app());

    host->register_factory(&create_white_kernel, class_id::white_kernel);
    host->register_factory(&create_black_kernel, class_id::black_kernel);
    host->register_factory(&create_profile, class_id::profile);
}

void quil_exit_module() {
    if (!g_host)
        return;
    if (g_language_listener) {
        g_language_listener->unbind(g_host->get_app());
        g_language_listener->release();
        g_language_listener = nullptr;
    }
    g_host->unregister_factory(class_id::white_kernel);
    g_host->unregister_factory(class_id::black_kernel);
    g_host->unregister_factory(class_id::profile);
    unregister_graphics();
    // The host pointer stays: the host may still release objects it created.
}
