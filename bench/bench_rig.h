// What the benchmarks on the built module share: the stand-in host's services
// as koral sets them up, a loaded kernel on the virtual mouse, and medians.
#pragma once

#include "host/ctrl_center.h"
#include "host/hub.h"
#include "host/module_host.h"
#include "host/virtual_mouse.h"
#include "module/kernel_host_interfaces.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

// Before the application exists: off screen, and `home` as the home folder, so that
// the module's per-user files (favourites, log) start from the factory state on every
// run, whatever tests or earlier runs left behind.
inline void prepare_environment(const QString& home) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("HOME", QFile::encodeName(home));
    QStandardPaths::setTestModeEnabled(true);
}

inline double elapsed_us(const std::function<void()>& op) {
    const auto start = std::chrono::steady_clock::now();
    op();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

inline double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The host's control centre, hub and module host, with their files in `folder`.
struct host_rig {
    explicit host_rig(const QString& folder)
        : hub(folder)
        , host(&centre)
        , m_folder(folder) {
        centre.set_hub(&hub);
    }

    // A black-edition kernel attached to `area`, shown, and loaded by the virtual
    // mouse as after the device's first message; null when the module made none.
    product_kernel_i* open_kernel(QWidget* area) {
        auto* kernel = query<product_kernel_i>(host.create_module_object(class_id::black_kernel));
        if (!kernel)
            return nullptr;
        kernel->attach(&centre, area);
        centre.set_current_kernel(kernel);
        mouse = std::make_unique<virtual_mouse_c>(&centre, product_type::black,
                                                  QStringLiteral("QuilBlack"), m_folder);
        mouse->attach(kernel);
        return kernel;
    }
    void close_kernel(product_kernel_i* kernel) {
        if (mouse)
            mouse->detach();
        mouse.reset();
        if (kernel)
            kernel->release();
    }

    ctrl_center_c centre;
    hub_c hub;
    module_host_c host;
    std::unique_ptr<virtual_mouse_c> mouse;

private:
    QString m_folder;
};
