#include "module/module.h"

#include "common/language_listener.h"
#include "common/log.h"
#include "module/factories.h"
#include "module/global_func.h"

namespace {
module_host_i* g_host = nullptr;
language_listener_c* g_language_listener = nullptr;
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
    // The host pointer stays: the host may still release objects it created.
}
