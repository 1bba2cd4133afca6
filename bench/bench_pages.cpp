// Timing of the module's pages in the stand-in host, with the host's real
// components: opening and closing each page (first open and reopen), and a
// user's slider move on the DPI switcher until the value is in the profile
// (the chain from the slider to the record is synchronous). Run by hand; the
// numbers are for comparing builds, not for tests.
#include "bench/bench_rig.h"
#include "host/components/slider.h"
#include "host/module_loader.h"
#include "host/widget_helpers.h"
#include "module/page_interfaces.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The floor a page opening is compared with: a plain form of 60 labelled rows (about
// as many widgets as the main page) under one small style sheet, built in the page
// area, shown and laid out, then destroyed.
void open_reference_form(QWidget* area) {
    auto* form = new QWidget(area);
    form->setStyleSheet(QStringLiteral("QLabel { color: #c8c8c8; } QPushButton { padding: 2px; }"));
    auto* grid = new QGridLayout(form);
    for (int row = 0; row < 30; ++row) {
        grid->addWidget(new QLabel(QStringLiteral("Setting %1").arg(row), form), row, 0);
        grid->addWidget(new QPushButton(QStringLiteral("Reset"), form), row, 1);
    }
    form->show();
    QCoreApplication::processEvents();
    delete form;
}

const char* page_name(int32_t type) {
    switch (type) {
    case page_type::main:
        return "main";
    case page_type::button_assignment:
        return "button assignment";
    case page_type::advanced:
        return "advanced";
    case page_type::favorites:
        return "favorites";
    }
    return "?";
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    prepare_environment(dir.path());
    QApplication app(argc, argv);

    host_rig rig(dir.path());
    module_loader_c loader(QStringLiteral(QUIL_BIN_DIR "/quil"));
    if (!loader.load() || !loader.enter(&rig.host)) {
        std::fprintf(stderr, "cannot load the module: %s\n", qPrintable(loader.error_string()));
        return 1;
    }

    // `--window-style`: the page area carries koral's style sheet, as when koral set it
    // on its whole window (its own panels carry it now; the window none).
    QWidget area;
    if (QCoreApplication::arguments().contains(QStringLiteral("--window-style"))) {
        Q_INIT_RESOURCE(koral);
        area.setStyleSheet(koral_style_sheet());
    }
    // `--style-file PATH`: a style sheet of one's own on the page area, to weigh rules.
    const int style_at = QCoreApplication::arguments().indexOf(QStringLiteral("--style-file"));
    if (style_at > 0 && style_at + 1 < QCoreApplication::arguments().size()) {
        QFile style(QCoreApplication::arguments().at(style_at + 1));
        if (!style.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read the style file\n");
            return 2;
        }
        area.setStyleSheet(QString::fromUtf8(style.readAll()));
    }
    area.resize(1002, 720);
    area.show();
    product_kernel_i* kernel = rig.open_kernel(&area);
    if (!kernel) {
        std::fprintf(stderr, "the module made no kernel\n");
        return 1;
    }

    // `--runs N` takes fewer samples, for a run under a profiler; `--page ID` (0 main,
    // 1 button assignment, 2 advanced, 4 favorites) times that page alone and skips the
    // rest, so a profile shows nothing but its opening and closing.
    const QStringList args = QCoreApplication::arguments();
    const int runs_at = args.indexOf(QStringLiteral("--runs"));
    const int runs = runs_at > 0 && runs_at + 1 < args.size()
                         ? qBound(1, args.at(runs_at + 1).toInt(), 1000)
                         : 50;
    const int page_at = args.indexOf(QStringLiteral("--page"));
    bool page_ok = false;
    const int only_page =
        page_at > 0 && page_at + 1 < args.size() ? args.at(page_at + 1).toInt(&page_ok) : -1;
    if (page_at > 0 && !page_ok) {
        std::fprintf(stderr, "--page takes a page id: 0, 1, 2 or 4\n");
        return 2;
    }
    std::vector<double> reference;
    for (int r = 0; r < runs; ++r)
        reference.push_back(elapsed_us([&] { open_reference_form(&area); }));
    const double floor_us = median(reference);
    double main_reopen = 0;
    std::printf("%-18s %8.0f us  (median of %d)\n", "floor: plain form", floor_us, runs);

    for (int32_t i = 0; i < kernel->page_count(); ++i) {
        const int32_t type = kernel->page_at(i)->page_id();
        if (only_page >= 0 && type != only_page)
            continue;
        const double first = elapsed_us([&] {
            kernel->open_page(type);
            QCoreApplication::processEvents();
        });
        kernel->close_page();
        std::vector<double> opens, closes;
        for (int r = 0; r < runs; ++r) {
            opens.push_back(elapsed_us([&] {
                kernel->open_page(type);
                // The form lays itself out on its first timer tick: part of opening.
                QCoreApplication::processEvents();
            }));
            closes.push_back(elapsed_us([&] { kernel->close_page(); }));
        }
        std::printf("%-18s first open %8.0f us   reopen %8.0f us   close %8.0f us  (median of "
                    "%d)\n",
                    page_name(type), first, median(opens), median(closes), runs);
        std::printf("%-18s / floor: first open %.2f, reopen %.2f, close %.2f\n", page_name(type),
                    first / floor_us, median(opens) / floor_us, median(closes) / floor_us);
        if (type == page_type::main)
            main_reopen = median(opens);
    }

    if (only_page >= 0) {
        rig.close_kernel(kernel);
        return 0;
    }

    // The button page with ten button-set presets (the factory has four): the strip, the
    // preset selector and both lists grow with them.
    kernel->open_page(page_type::button_assignment);
    QCoreApplication::processEvents();
    auto* add = area.findChild<QAbstractButton*>(QStringLiteral("btn_add_set"));
    for (int k = 0; add && k < 6; ++k)
        add->click();
    const int tiles = area.findChildren<QWidget*>(QStringLiteral("btn_preset_sub_fm_c")).size();
    kernel->close_page();
    std::vector<double> ten;
    ten.reserve(size_t(runs));
    for (int r = 0; r < runs; ++r) {
        ten.push_back(elapsed_us([&] {
            kernel->open_page(page_type::button_assignment);
            QCoreApplication::processEvents();
        }));
        kernel->close_page();
    }
    std::printf("%-18s reopen %8.0f us with %d presets  (median of %d; %.1f x the main page)\n",
                "button assignment", median(ten), tiles, runs,
                main_reopen > 0 ? median(ten) / main_reopen : 0.0);
    std::printf("%-18s / floor: reopen with %d presets %.2f\n", "button assignment", tiles,
                median(ten) / floor_us);

    kernel->open_page(page_type::main);
    QTest::qWait(20);
    QWidget* row = area.findChild<QWidget*>(QStringLiteral("wg_slider_2"));
    auto* slider = row ? row->findChild<slider_widget_c*>() : nullptr;
    if (!slider) {
        std::fprintf(stderr, "no DPI slider on the main page\n");
        return 1;
    }
    auto* number = area.findChild<QSpinBox*>(QStringLiteral("sb_value_2"));
    const int start_value = number ? number->value() : 0;
    std::vector<double> moves;
    for (int r = 0; r < 400; ++r) {
        const Qt::Key key = (r / 100) % 2 == 0 ? Qt::Key_Right : Qt::Key_Left;
        moves.push_back(elapsed_us([&] { QTest::keyClick(slider, key); }));
        if (r == 99 && number && number->value() != start_value + 1000) {
            std::fprintf(stderr, "the slider moves did not reach the DPI switcher\n");
            return 1;
        }
    }
    std::printf("%-18s %8.1f us  (median of %zu key moves, slider to profile record)\n",
                "slider move", median(moves), moves.size());
    kernel->close_page();
    rig.close_kernel(kernel);
    return 0;
}
