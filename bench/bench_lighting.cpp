// Timing of the lighting subsystem with the stand-in host's real components: one
// effect tick of all five per-profile previews (each of the four effects), and
// opening the colour palette (first and later openings). Run by hand; the numbers
// are for comparing builds, not for tests.
//
// With --shots DIR it also renders, in both editions, the lighting form in its host
// box (lights on and off, English and German) and the open palette to PNG files,
// which is how the form is reviewed until the advanced page shows it in koral.
// With --show it times nothing and opens the form and the profile tiles on the
// screen, to be tried by hand.
#include "host/components/ctrl_box.h"
#include "host/ctrl_center.h"
#include "host/hub.h"
#include "host/module_host.h"
#include "host/profile_tile.h"
#include "host/texts.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "lighting/led_effect_fm.h"
#include "lighting/led_effect_tool.h"
#include "lighting/lighting_ctrl_funcs.h"
#include "lighting/lighting_ctrl_funcs_fm.h"
#include "lighting/palette_fm.h"
#include "module/module.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

double elapsed_us(const std::function<void()>& op) {
    QElapsedTimer timer;
    timer.start();
    op();
    return timer.nsecsElapsed() / 1000.0;
}

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Lighting bytes 19..30 of a profile: flags, flow, effect, speed, top index and RGB,
// bottom index and RGB.
struct lighting_t {
    uint8_t bytes[12];
};

// Five profiles that between them use every effect, speed and kind of colour.
const lighting_t profiles[5] = {
    {{0x23, 0, 3, 2, 16, 0, 0, 0, 1, 255, 60, 140}}, // breathing, cyan logo, pink pipe (RGB)
    {{0x03, 1, 4, 3, 20, 0, 0, 0, 20, 0, 0, 0}},     // heartbeat, flowing together
    {{0x03, 2, 2, 1, 10, 0, 0, 0, 10, 0, 0, 0}},     // blinking, flowing up
    {{0x03, 3, 1, 2, 5, 0, 0, 0, 24, 0, 0, 0}},      // fully lit, flowing down
    {{0x00, 0, 3, 2, 21, 0, 0, 0, 21, 0, 0, 0}},     // lights off
};

void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// The koral window's page look around whatever is rendered.
std::unique_ptr<QWidget> page_widget(QSize size) {
    auto page = std::make_unique<QWidget>();
    page->setObjectName(QStringLiteral("wg_central"));
    QFile style(QStringLiteral(":/koral/koral.qss"));
    if (style.open(QIODevice::ReadOnly))
        page->setStyleSheet(QString::fromUtf8(style.readAll()));
    page->resize(size);
    page->setAttribute(Qt::WA_DontShowOnScreen);
    return page;
}

struct rig {
    product_kernel_i* kernel = nullptr;
    std::unique_ptr<QWidget> tiles;
    std::vector<profile_tile_c*> tile;
};

rig open_kernel(module_host_c& host, ctrl_center_c& centre, int32_t edition) {
    rig r;
    r.tiles = page_widget(QSize(340, 100));
    auto* row = new QHBoxLayout(r.tiles.get());
    for (int slot = 0; slot < 5; ++slot) {
        r.tile.push_back(new profile_tile_c(slot, r.tiles.get()));
        row->addWidget(r.tile.back());
        centre.set_profile_object(slot, r.tile.back());
    }
    r.tiles->show();
    const int32_t id =
        edition == product_type::white ? class_id::white_kernel : class_id::black_kernel;
    r.kernel = query<product_kernel_i>(host.create_module_object(id));
    if (!r.kernel)
        return r;
    r.kernel->attach(&centre, r.tiles.get());
    for (int i = 1; i < 5; ++i)
        r.kernel->append_profile();
    zarek_data_c* set = profile_set_of(r.kernel);
    for (int slot = 0; slot < 5; ++slot)
        std::copy(std::begin(profiles[slot].bytes), std::end(profiles[slot].bytes),
                  set->settings(slot).data() + lighting_byte::flags);
    // A few colours of the user's own.
    const uint8_t custom[] = {255, 120, 0, 255, 120, 255, 40, 255, 240, 240, 240, 255};
    std::copy(std::begin(custom), std::end(custom), set->block_48());
    centre.set_profile_slot(0);
    centre.set_current_kernel(r.kernel);
    for (profile_tile_c* t : r.tile)
        t->set_state(true, t->slot() == 0);
    return r;
}

void close_kernel(ctrl_center_c& centre, rig& r) {
    centre.set_current_kernel(nullptr);
    r.kernel->release();
    r.kernel = nullptr;
}

void time_ticks(rig& r) {
    std::vector<led_effect_tool_c*> tools;
    for (profile_tile_c* t : r.tile) {
        if (auto* preview = t->findChild<led_effect_fm_c*>())
            tools.push_back(preview->tool());
    }
    std::printf("previews in the five tiles: %d\n", int(tools.size()));
    const char* ticks[] = {"refresh_fully_light", "refresh_blinking", "refresh_breathing",
                           "refresh_heartbeat"};
    const char* names[] = {"fully lit", "blinking", "breathing", "heartbeat"};
    for (int k = 0; k < 4; ++k) {
        const char* method = ticks[k];
        std::vector<double> tick;
        std::vector<double> tick_and_paint;
        for (int i = 0; i < 400; ++i) {
            tick.push_back(elapsed_us([&] {
                for (led_effect_tool_c* tool : tools)
                    QMetaObject::invokeMethod(tool, method, Qt::DirectConnection);
            }));
            tick_and_paint.push_back(elapsed_us([&] {
                for (led_effect_tool_c* tool : tools)
                    QMetaObject::invokeMethod(tool, method, Qt::DirectConnection);
                QApplication::processEvents();
            }));
        }
        std::printf("one %-9s tick, all five previews: %8.1f us  (with their repaint: %8.1f us)\n",
                    names[k], median(tick), median(tick_and_paint));
    }
}

struct lighting_rig {
    std::unique_ptr<QWidget> page;
    QWidget* panel = nullptr;
    lighting_ctrl_funcs_c* ctrl = nullptr;

    ~lighting_rig() {
        if (ctrl)
            ctrl->release();
    }
};

// The lighting control as the advanced page fills it, in a 486 x 328 panel.
std::unique_ptr<lighting_rig> open_lighting(product_kernel_i* kernel) {
    auto r = std::make_unique<lighting_rig>();
    r->page = page_widget(QSize(506, 348));
    r->panel = new QWidget(r->page.get());
    r->panel->setObjectName(QStringLiteral("wg_lighting_ctr"));
    r->panel->setGeometry(10, 10, 486, 328);
    r->page->show();
    r->ctrl = new lighting_ctrl_funcs_c(nullptr);
    r->ctrl->set_context(kernel, nullptr);
    r->ctrl->create_box(r->panel);
    const uint8_t* rec = profile_set_of(kernel)->settings(0).data();
    r->ctrl->set_effect(rec[lighting_byte::effect]);
    r->ctrl->set_effect_speed(rec[lighting_byte::speed]);
    r->ctrl->set_color_flow(rec[lighting_byte::color_flow]);
    r->ctrl->set_lighting_on((rec[lighting_byte::flags] & lighting_flag::lit) != 0);
    r->ctrl->refresh_colors();
    settle();
    return r;
}

// The lighting form built into its box and filled, as the advanced page opens it.
void time_box(lighting_rig& r) {
    std::vector<double> opening;
    for (int i = 0; i < 30; ++i) {
        r.ctrl->close_box();
        settle();
        opening.push_back(elapsed_us([&] {
            r.ctrl->create_box(r.panel);
            r.ctrl->refresh_colors();
            r.panel->repaint();
        }));
    }
    std::printf("building the lighting box: median of 30 %8.1f us\n", median(opening));
}

void time_palette(lighting_rig& r) {
    lighting_ctrl_funcs_fm_c* form = r.ctrl->form();
    std::vector<double> opening;
    for (int i = 0; i < 60; ++i) {
        opening.push_back(elapsed_us([&] {
            form->open_palette(i % 2 == 0);
            // Opened means shown and painted.
            form->palette()->repaint();
            QApplication::processEvents();
        }));
        form->palette()->close();
        settle();
    }
    std::printf("opening the palette: first %8.1f us, median of 60 %8.1f us\n", opening.front(),
                median(opening));
}

bool save(QWidget* widget, const QString& folder, const QString& name) {
    const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool ok = widget->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}

bool shots(ctrl_center_c& centre, rig& r, const QString& folder, const QString& edition) {
    bool ok = true;
    // The module's own German texts, as the host's installation holds them.
    QTranslator german;
    german.load(QStringLiteral(QUIL_BIN_DIR "/data/QuilBlack/language/de.qm"));
    for (int32_t language : {host_texts::english, host_texts::german}) {
        if (language == host_texts::german)
            QCoreApplication::installTranslator(&german);
        else
            QCoreApplication::removeTranslator(&german);
        centre.set_language(language);
        const QString suffix =
            edition + (language == host_texts::german ? QStringLiteral("_de") : QString());
        auto lighting = open_lighting(r.kernel);
        ok = save(lighting->page.get(), folder, QStringLiteral("lighting_on_") + suffix) && ok;

        // The palette opens for the bottom zone (its own RGB colour) under its button.
        lighting_ctrl_funcs_fm_c* form = lighting->ctrl->form();
        form->open_palette(false);
        settle();
        ok = save(form->palette(), folder, QStringLiteral("palette_") + suffix) && ok;
        form->palette()->close();

        lighting->ctrl->set_lighting_on(false);
        form->show_led_colors(0, 0, 0, 0, 0, 0, 0, 0);
        settle();
        ok = save(lighting->page.get(), folder, QStringLiteral("lighting_off_") + suffix) && ok;
    }
    QCoreApplication::removeTranslator(&german);
    centre.set_language(host_texts::english);
    ok = save(r.tiles.get(), folder, QStringLiteral("profile_tiles_") + edition) && ok;
    // The previews are small: a three-times enlargement shows their detail.
    const QString zoomed = QDir(folder).filePath(QStringLiteral("profile_tiles_x3_") + edition +
                                                 QStringLiteral(".png"));
    const QPixmap tiles = r.tiles->grab();
    ok = tiles.scaled(tiles.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
             .save(zoomed) &&
         ok;
    return ok;
}

} // namespace

int show_by_hand(module_host_c& host, ctrl_center_c& centre) {
    rig r = open_kernel(host, centre, product_type::black);
    if (!r.kernel)
        return 1;
    auto lighting = open_lighting(r.kernel);
    // Both were shown off screen: they come back on it.
    lighting->page->hide();
    lighting->page->setAttribute(Qt::WA_DontShowOnScreen, false);
    lighting->page->setWindowTitle(QStringLiteral("Lighting"));
    lighting->page->show();
    r.tiles->hide();
    r.tiles->setAttribute(Qt::WA_DontShowOnScreen, false);
    r.tiles->setWindowTitle(QStringLiteral("Profile tiles"));
    r.tiles->move(lighting->page->x(), lighting->page->y() + lighting->page->height() + 40);
    r.tiles->show();
    QApplication::setQuitOnLastWindowClosed(true);
    const int code = QApplication::exec();
    lighting.reset();
    close_kernel(centre, r);
    return code;
}

int main(int argc, char** argv) {
    const bool by_hand = std::any_of(argv + 1, argv + argc,
                                     [](const char* a) { return std::strcmp(a, "--show") == 0; });
    if (!by_hand)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    Q_INIT_RESOURCE(koral);
    QString folder;
    const QStringList args = QApplication::arguments();
    const int at = args.indexOf(QStringLiteral("--shots"));
    if (at >= 0 && at + 1 < args.size()) {
        folder = args.at(at + 1);
        QDir().mkpath(folder);
    }

    QTemporaryDir dir;
    ctrl_center_c centre;
    hub_c hub(dir.path());
    centre.set_hub(&hub);
    module_host_c host(&centre);
    quil_init_module(&host);
    if (by_hand) {
        const int code = show_by_hand(host, centre);
        quil_exit_module();
        return code;
    }

    int exit_code = 0;
    for (int32_t edition : {product_type::black, product_type::white}) {
        const QString name =
            edition == product_type::white ? QStringLiteral("white") : QStringLiteral("black");
        rig r = open_kernel(host, centre, edition);
        if (!r.kernel) {
            std::fprintf(stderr, "the module made no kernel\n");
            return 1;
        }
        std::printf("%s edition\n", qPrintable(name));
        time_ticks(r);
        {
            QElapsedTimer first;
            first.start();
            auto lighting = open_lighting(r.kernel);
            std::printf("building the lighting box, first time: %8.1f us\n",
                        first.nsecsElapsed() / 1000.0);
            time_palette(*lighting);
            time_box(*lighting);
        }
        if (!folder.isEmpty() && !shots(centre, r, folder, name))
            exit_code = 1;
        close_kernel(centre, r);
    }
    quil_exit_module();
    return exit_code;
}
