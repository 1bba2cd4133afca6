// Timing of the side-panel editor's picture: one composition of the panel with twelve caps
// and one drag-move preview (restore, preview, composition) over a changing slot. Run by
// hand; medians for comparing builds, not for tests.
#include "module/module.h"
#include "side_box_rig.h"
#include "support/fake_host.h"

#include <QApplication>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace side_box_test;

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

void report(const char* name, double us, double target_us) {
    std::printf("%-46s median %8.1f us   target %6.0f us   (%.2f of target)\n", name, us, target_us,
                us / target_us);
}

void set_layout(side_box& box, uint32_t value) {
    btn_layout_rec r = box.data()->layout(0);
    r.set_layout_value(value);
    box.data()->set_layout(r);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    fake_host host;
    quil_init_module(&host);
    {
        side_box box;
        box.window->show();
        jigsawparent1* e = box.editor();

        set_layout(box, 0x000FFF);
        report("compose, twelve single caps", median_us(400, [&](int) { e->recompose(0); }), 1000);
        set_layout(box, 0x3F0FFF);
        e->select_all(true);
        report("compose, six selected doubles", median_us(400, [&](int) { e->recompose(0); }),
               1000);

        // A palette single carried over slots 1..12 in turn: every move previews anew.
        set_layout(box, 0x020D0F);
        drag_payload data(box.single);
        QDragEnterEvent enter(slot_centre(e, 1), Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(e, &enter);
        report("drag-move preview over a new slot",
               median_us(400,
                         [&](int i) {
                             QDragMoveEvent move(slot_centre(e, i % 12 + 1), Qt::MoveAction, &data,
                                                 Qt::LeftButton, Qt::NoModifier);
                             QCoreApplication::sendEvent(e, &move);
                         }),
               2000);
        report("drag-move within one slot",
               median_us(400,
                         [&](int) {
                             QDragMoveEvent move(slot_centre(e, 5), Qt::MoveAction, &data,
                                                 Qt::LeftButton, Qt::NoModifier);
                             QCoreApplication::sendEvent(e, &move);
                         }),
               2000);
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(e, &leave);
    }
    quil_exit_module();
    return 0;
}
