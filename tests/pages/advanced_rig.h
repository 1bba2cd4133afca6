// The advanced page's suites: a kernel that keeps the sensor tuning commands its
// controls send, attached to a host whose components are koral's real widgets.
#pragma once

#include "host/components/component_context.h"
#include "host/components/host_components.h"
#include "kernel/profile_stream.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "module/component_interfaces.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QBuffer>
#include <QDataStream>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

// The black edition's kernel; every tuning command it is asked to send is kept in order.
class tuning_kernel final : public zarek_kernel_c {
public:
    tuning_kernel()
        : zarek_kernel_c(product_type::black) {}

    QString publish_blob(QBuffer* buffer) override {
        const QByteArray bytes = buffer ? buffer->data() : QByteArray();
        if (bytes.size() == 4) {
            QDataStream in(bytes);
            in.setVersion(profile_stream::stream_version);
            qint32 command = -1;
            in >> command;
            m_pending = command;
            return QStringLiteral("tuning");
        }
        ++published_blobs;
        return zarek_kernel_c::publish_blob(buffer);
    }
    void send_command(int32_t code, const QString& text) override {
        commands.append(code);
        if (code == kernel_command::sensor_tuning && text == QLatin1String("tuning"))
            tuning.append(m_pending);
        zarek_kernel_c::send_command(code, text);
    }

    QList<int32_t> tuning;
    QList<int32_t> commands;
    int published_blobs = 0;

private:
    int32_t m_pending = -1;
};

// Host, koral's components and an attached kernel in a shown page area.
struct advanced_rig {
    // `without`: classes the host pretends not to have.
    explicit advanced_rig(QList<int32_t> without = {})
        : withheld(std::move(without)) {
        host.center.slot = 0;
        context = std::make_unique<component_context_c>(&host.center);
        for (const host_component_class_t& c : host_component_classes(context.get()))
            classes.insert(c.class_id, c.make);
        host.factory = [this](int32_t id, const GUID& iid) -> interface_i* {
            if (!offered(id) || !classes.contains(id))
                return nullptr;
            interface_i* object = classes.value(id)();
            interface_i* answer = object ? object->query_interface(iid) : nullptr;
            if (object && !answer)
                object->release();
            return answer;
        };
        quil_init_module(&host);
        area = std::make_unique<QWidget>();
        area->resize(1002, 720);
        area->show();
        kernel = new tuning_kernel;
        kernel->data()->set_favourites_file(dir.filePath(QStringLiteral("favourites.ini")));
        kernel->attach(&host.center, area.get());
    }
    ~advanced_rig() {
        kernel->release();
        area.reset();
        quil_exit_module();
    }
    advanced_rig(const advanced_rig&) = delete;
    advanced_rig& operator=(const advanced_rig&) = delete;

    bool offered(int32_t id) const { return !withheld.contains(id); }
    zarek_data_c* data() const { return kernel->data(); }
    product_function_page_i* page() const { return kernel->page(page_type::advanced); }
    template <class T>
    T* ctrl(int32_t type) const {
        return dynamic_cast<T*>(page()->ctrl_funcs(type));
    }
    template <class T>
    T* child(const QString& name) const {
        return area->findChild<T*>(name);
    }
    listener_i* page_listener() const { return query<listener_i>(page()); }

    QList<int32_t> withheld;
    QTemporaryDir dir;
    fake_host host;
    std::unique_ptr<component_context_c> context;
    QMap<int32_t, std::function<interface_i*()>> classes;
    std::unique_ptr<QWidget> area;
    tuning_kernel* kernel = nullptr;
};
