// Start-up and memory of the built module in the stand-in host: the median of
// init_module (catalogue inflate and parse, test values, log, language listener,
// pictures, factories) against a floor measured in the same run (reading and
// inflating settings.xml and reading its XML once), and the resident memory
// that loading the module, a kernel and opening every page once add to the host.
// Run by hand; the numbers are for comparing builds, not for tests.
#include "bench/bench_rig.h"
#include "host/module_loader.h"
#include "module/page_interfaces.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// `op` timed `runs` times, `after` (untimed) following each run.
double median_us(int runs, const std::function<void()>& op, const std::function<void()>& after) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        times.push_back(elapsed_us(op));
        after();
    }
    return median(times);
}

// Resident set of this process in MiB, from /proc (-1 where there is none).
double resident_mib() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// The least any catalogue reader does: read the file, inflate it, walk its XML.
void read_catalogue_floor(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader xml(qUncompress(file.readAll()));
    while (!xml.atEnd())
        xml.readNext();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A home of its own: the module's per-user files (favourites, log) start from the
    // factory state on every run, whatever tests or earlier runs left behind.
    QTemporaryDir dir;
    qputenv("HOME", QFile::encodeName(dir.path()));
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);

    host_rig rig(dir.path());
    QWidget area;
    area.resize(1002, 720);
    area.show();
    QCoreApplication::processEvents();
    const double host_mib = resident_mib();

    module_loader_c loader(QStringLiteral(QUIL_BIN_DIR "/quil"));
    if (!loader.load()) {
        std::fprintf(stderr, "cannot load the module: %s\n", qPrintable(loader.error_string()));
        return 1;
    }
    const double loaded_mib = resident_mib();

    constexpr int runs = 50;
    const QString catalogue = QStringLiteral(QUIL_BIN_DIR "/settings.xml");
    read_catalogue_floor(catalogue);
    const double floor_us = median_us(
        runs, [&] { read_catalogue_floor(catalogue); }, [] {});
    const double init_us = median_us(
        runs, [&] { loader.enter(&rig.host); }, [&] { loader.leave(); });
    std::printf("%-34s %10.1f us  (median of %d)\n", "floor: read settings.xml", floor_us, runs);
    std::printf("%-34s %10.1f us  (median of %d)\n", "init_module", init_us, runs);
    std::printf("init_module / floor: %.2f\n", init_us / floor_us);

    loader.enter(&rig.host);
    const double entered_mib = resident_mib();
    product_kernel_i* kernel = rig.open_kernel(&area);
    if (!kernel) {
        std::fprintf(stderr, "the module made no kernel\n");
        return 1;
    }
    QCoreApplication::processEvents();
    const double kernel_mib = resident_mib();
    for (int32_t i = 0; i < kernel->page_count(); ++i) {
        kernel->open_page(kernel->page_at(i)->page_id());
        QCoreApplication::processEvents();
        kernel->close_page();
    }
    QCoreApplication::processEvents();
    const double pages_mib = resident_mib();

    std::printf("resident memory of the host alone   %8.1f MiB (the floor)\n", host_mib);
    std::printf("  + loading the module              %8.1f MiB\n", loaded_mib - host_mib);
    std::printf("  + init_module                     %8.1f MiB\n", entered_mib - loaded_mib);
    std::printf("  + a kernel, attached and loaded   %8.1f MiB\n", kernel_mib - entered_mib);
    std::printf("  + every page opened once          %8.1f MiB\n", pages_mib - kernel_mib);
    std::printf("added by the module: %.1f MiB, %.2f x the host alone\n", pages_mib - host_mib,
                (pages_mib - host_mib) / host_mib);

    rig.close_kernel(kernel);
    loader.leave();
    return 0;
}
