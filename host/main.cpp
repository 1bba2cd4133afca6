// koral: the stand-in host. Loads the Quil module from the program's folder,
// enters it with the host's services and shows what it offers.
#include "host/catalogue_service.h"
#include "host/ctrl_center.h"
#include "host/device_list.h"
#include "host/host_catalogue.h"
#include "host/host_options.h"
#include "host/host_settings.h"
#include "host/host_storage.h"
#include "host/hub.h"
#include "host/kernel_session.h"
#include "host/koral_app.h"
#include "host/main_window.h"
#include "host/module_host.h"
#include "host/module_loader.h"
#include "host/texts.h"
#include "host/timer_list.h"

#include <QApplication>
#include <QTextStream>

namespace {

// The catalogue names the module file; both editions live in the same one.
QString module_name(const host_catalogue_c& catalogue, int32_t edition) {
    for (int32_t type : {edition, product_type::black, product_type::white}) {
        const host_catalogue_c::product_t* product = catalogue.product(type);
        if (product && !product->dll_name.isEmpty())
            return product->dll_name;
    }
    return QStringLiteral("quil");
}

} // namespace

int main(int argc, char* argv[]) {
    // Chosen before QApplication exists: it picks its platform when it starts.
    const bool without_display = koral_app::choose_platform();
    koral_app::quiet_offscreen_notes();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("koral"));
    QApplication::setApplicationVersion(host_options_c::version());
    koral_app::apply_theme(app);
    QTextStream out(stdout);
    QTextStream err(stderr);

    host_catalogue_c catalogue;
    catalogue.load(host_catalogue_c::default_file());
    host_settings_c settings;
    qt_translation_c qt_texts(&catalogue);

    // The command line speaks the language last chosen, or the one it asks for.
    int32_t language = settings.language(host_texts::english);
    qt_texts.apply(language);
    host_options_c options;
    host_options_c::outcome_t outcome =
        options.parse(QApplication::arguments(), catalogue.languages(), language);
    if (options.language() >= 0 && options.language() != language) {
        language = options.language();
        qt_texts.apply(language);
        outcome = options.parse(QApplication::arguments(), catalogue.languages(), language);
    }
    switch (outcome) {
    case host_options_c::outcome_t::help:
        out << options.message() << Qt::endl;
        return 0;
    case host_options_c::outcome_t::error:
        err << "koral: " << options.message() << Qt::endl;
        return host_options_c::bad_arguments_exit_code;
    case host_options_c::outcome_t::run:
        break;
    }
    if (without_display && !options.wants_screenshots()) {
        err << "koral: " << host_texts::text(host_text::cli_no_display, language) << Qt::endl;
        return 1;
    }

    ctrl_center_c centre;
    centre.set_language(language);
    QObject::connect(&centre, &ctrl_center_c::language_switched, &qt_texts,
                     &qt_translation_c::apply);
    // The hub keeps the host's own settings and the macro library; it outlives
    // every kernel, which leaves it when released.
    hub_c hub(host_storage::data_folder());
    centre.set_hub(&hub);
    module_host_c host(&centre);
    // The host's timers and the other devices on this computer, for the
    // function catalogue; a first run starts with a few of each.
    const QString folder = host_storage::data_folder();
    timer_list_c timers(folder + QStringLiteral("/timers.dat"));
    device_list_c devices(folder + QStringLiteral("/devices.dat"));
    bool existed = true;
    if (timers.load(&existed) && !existed) {
        for (const timer_list_c::timer_t& timer : timer_list_c::sample_timers())
            timers.add(timer);
    }
    if (devices.load(&existed) && !existed) {
        for (const device_list_c::device_t& device : device_list_c::sample_devices())
            devices.add(device);
    }
    catalogue_service_c service(&timers, &devices);
    centre.set_service(host_service::function_catalogue,
                       static_cast<catalogue_service_i*>(&service));
    host.components()->set_timers(&timers);

    const int32_t edition = options.product_type() >= 0 ? options.product_type()
                                                        : settings.edition(product_type::black);
    module_loader_c loader(module_loader_c::module_file(QApplication::applicationDirPath(),
                                                        module_name(catalogue, edition)));
    // A module that cannot be loaded is reported by the loader and in the window.
    const bool loaded = loader.load();
    if (loaded)
        loader.enter(&host);

    int exit_code = 0;
    {
        main_window_c window(&host, &centre, &catalogue, &hub, &timers, &devices);
        service.set_macro_editor([&window] { return window.open_macro_editor(); });
        window.set_module_state(loader.file_name(), loaded, loader.error_string());
        window.select_edition(edition);
        if (options.wants_screenshots()) {
            QString error;
            // The pictures pass through states nobody chose for the mouse; none
            // of them may reach its memory.
            const kernel_session_c::commit_hold hold(window.session());
            if (!window.render_screenshots(options.screenshot_folder(), &error)) {
                err << "koral: " << error << Qt::endl;
                exit_code = 1;
            } else if (!loaded) {
                exit_code = 1;
            }
        } else {
            window.show();
            exit_code = QApplication::exec();
        }
    }
    // The window is gone; the module leaves before the host's services do.
    service.set_macro_editor(nullptr);
    loader.leave();
    centre.set_service(host_service::function_catalogue, nullptr);
    return exit_code;
}
