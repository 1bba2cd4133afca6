// Timing of the button lists: opening one row's catalogue menu (availability for the row,
// the pop-up and its closing) and relabelling all 40 rows after a language change, each
// beside a floor of plain Qt work of the same shape measured in the same run. Run by hand;
// medians for comparing builds, not for tests.
#include "buttons/btn_list_fm.h"
#include "host/components/menu.h"
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

double median_us(int runs, const std::function<void(int)>& op) {
    using clock = std::chrono::steady_clock;
    for (int i = 0; i < 5; ++i)
        op(i);
    std::vector<double> times;
    times.reserve(size_t(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = clock::now();
        op(i);
        times.push_back(std::chrono::duration<double, std::micro>(clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[size_t(runs / 2)];
}

void report(const char* name, double us, double target_us, double floor_us) {
    std::printf("%-44s median %8.1f us   target %6.0f us (%.2f)   floor %7.1f us (x%.1f)\n", name,
                us, target_us, us / target_us, floor_us, floor_us > 0 ? us / floor_us : 0.0);
}

struct owner final : btn_set_owner_i {
    product_kernel_i* kernel() const override { return k.get(); }
    zarek_data_c* profile_set() const override { return k->data(); }
    jigsawparent1* editor() const override { return nullptr; }
    void clear_select_all() override {}
    std::unique_ptr<zarek_black_kernel_c> k = std::make_unique<zarek_black_kernel_c>();
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    fake_host host;
    fake_hub hub;
    fake_library library;
    for (int g = 0; g < 4; ++g) {
        fake_library::group group{QStringLiteral("Group %1").arg(g), {}};
        for (int m = 0; m < 10; ++m) {
            library_macro_rec r;
            r.set_name(QStringLiteral("Macro %1").arg(m));
            group.macros.append(r);
        }
        library.groups.append(group);
    }
    hub.library = &library;
    host.center.hub = &hub;
    host.center.slot = 0;
    host.center.texts.prefix = QStringLiteral("Text ");
    host.center.texts.table[1] = {{87, QStringLiteral("Linksklick")}};
    host.factory = [](int32_t id, const GUID& iid) -> interface_i* {
        if (id == class_id::menu && iid == iid_menu_i)
            return static_cast<menu_i*>(new menu_c);
        if (id == class_id::menu_entry && iid == iid_menu_entry_i)
            return static_cast<menu_entry_i*>(new menu_entry_c);
        return nullptr;
    };
    quil_init_module(&host);
    {
        owner o;
        zarek_data_c* d = o.k->data();
        d->layout(0).set_layout_value(0x000FFF);
        for (int i = 0; i < 40; ++i)
            d->restore_default_entry(i, d->btn_assign(0).entry(i));
        QWidget window;
        window.resize(800, 420);
        auto* side = new btn_list_fm_c(&o, btn_box_kind::side, &window);
        auto* top = new btn_list_fm_c(&o, btn_box_kind::top, &window);
        top->move(400, 0);
        for (int p = 0; p < 12; ++p) {
            side->add_standard_row(p, 8 + p, true);
            side->add_alter_row(p, 28 + p, true);
        }
        const int standard[] = {0, 1, 2, 4, 3, 5, 6, 7};
        for (int p = 0; p < 8; ++p) {
            top->add_standard_row(p, standard[p], standard[p] > 1);
            top->add_alter_row(p, standard[p] + 20, standard[p] != 5);
        }
        window.setStyleSheet(QStringLiteral("background: #111315;"));
        window.show();
        QCoreApplication::processEvents();
        // "--shot FILE": the two lists as they look, for a person to judge.
        const QStringList args = QCoreApplication::arguments();
        if (args.size() > 2 && args[1] == QLatin1String("--shot")) {
            d->btn_assign(0).set(9, {48, 0, 0});
            side->choose(9, 48, 3);
            d->layout(0).set_layout_value(0x020FEF);
            side->reload();
            top->choose(5, 65, 0);
            window.grab().save(args[2]);
        }
        std::printf("catalogue: %d entries\n", side->catalogue()->entry_count());

        // Floor: a plain menu with as many actions, shown and closed.
        QMenu plain;
        for (int i = 0; i < side->catalogue()->entry_count(); ++i)
            plain.addAction(QStringLiteral("Entry %1").arg(i))->setEnabled(i % 2);
        const double menu_floor = median_us(200, [&](int) {
            plain.popup(window.mapToGlobal(QPoint(10, 30)));
            plain.hide();
        });
        auto* root = static_cast<menu_c*>(side->host_menu());
        const int rows[] = {8, 28, 12, 39};
        report("open one row's menu (rows alternate)",
               median_us(200,
                         [&](int i) {
                             side->click_row(rows[i % 4]);
                             side->open_menu_timer_trigger();
                             root->close_menu();
                         }),
               15000, menu_floor);

        // Floor: forty plain buttons take forty new texts.
        std::vector<std::unique_ptr<QPushButton>> buttons;
        for (int i = 0; i < 40; ++i)
            buttons.push_back(std::make_unique<QPushButton>(&window));
        const double label_floor = median_us(400, [&](int i) {
            for (auto& b : buttons)
                b->setText(QStringLiteral("Label %1").arg(i));
        });
        report("reload 40 rows, texts unchanged",
               median_us(400,
                         [&](int) {
                             side->reload();
                             top->reload();
                         }),
               5000, label_floor);
        int language = 0;
        report("language change: catalogues anew + 40 rows",
               median_us(100,
                         [&](int) {
                             host.center.language = language ^= 1;
                             side->rebuild_catalogue();
                             top->rebuild_catalogue();
                         }),
               5000, label_floor);

        // Floor: a plain widget with the side list's 24 numbers and 24 buttons, made, drawn
        // once and destroyed.
        QImage canvas(400, 360, QImage::Format_ARGB32_Premultiplied);
        const double build_floor = median_us(100, [&](int) {
            QWidget plain;
            plain.resize(372, 360);
            for (int p = 0; p < 24; ++p) {
                (new QLabel(QString::number(p % 12 + 1), &plain))
                    ->setGeometry(p / 12 * 190, 27 * (p % 12), 21, 22);
                (new QPushButton(QStringLiteral("Shift + %1").arg(p), &plain))
                    ->setGeometry(p / 12 * 190 + 25, 27 * (p % 12), 153, 22);
            }
            canvas.fill(Qt::transparent);
            plain.render(&canvas);
        });
        report("side list: made with 24 rows and drawn",
               median_us(100,
                         [&](int) {
                             btn_list_fm_c list(&o, btn_box_kind::side, nullptr);
                             for (int p = 0; p < 12; ++p) {
                                 list.add_standard_row(p, 8 + p, true);
                                 list.add_alter_row(p, 28 + p, true);
                             }
                             list.resize(372, 360);
                             list.layout()->activate();
                             canvas.fill(Qt::transparent);
                             list.render(&canvas);
                         }),
               5000, build_floor);
        delete side;
        delete top;
    }
    quil_exit_module();
    return 0;
}
