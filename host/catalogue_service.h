// The host's service 6: what the module's function catalogue asks the host
// for beyond texts and macros. It lists the host's timers and the other
// devices, tells its listeners when either changes, and opens the host's
// macro editor for a new macro.
#pragma once

#include "host/components/listener_list.h"
#include "host/device_list.h"
#include "module/component_interfaces.h"

#include <QObject>
#include <QPointer>
#include <QVector>
#include <functional>

class timer_list_c;

class catalogue_service_c : public QObject, public catalogue_service_i, public listener_mgr_i {
    Q_OBJECT
public:
    // Opens the macro editor for a new macro; 1 when a macro was added.
    using editor_fn = std::function<int32_t()>;

    catalogue_service_c(timer_list_c* timers, device_list_c* devices, QObject* parent = nullptr);
    ~catalogue_service_c() override;

    interface_i* query_interface(const GUID& iid) override;
    // The host owns its service.
    void release() override {}

    // catalogue_service_i
    int32_t timer_count() override;
    uint32_t timer_identifier(int32_t index) override;
    QString timer_name(int32_t index) override;
    int32_t timer_index(uint32_t identifier) override;
    int32_t device_count() override;
    uint16_t device_product_id(int32_t index) override;
    uint16_t device_identifier(int32_t index) override;
    QString device_name(int32_t index) override;
    int32_t device_index(uint16_t identifier) override;
    int32_t new_macro() override;

    // listener_mgr_i
    void add_listener(listener_i* listener) override;
    void remove_listener(listener_i* listener) override;

    // The host's side.
    void set_macro_editor(editor_fn editor) { m_editor = std::move(editor); }
    QVector<listener_i*> listeners() const { return m_listeners.all(); }
    int macro_editor_requests() const { return m_editor_requests; }

private:
    void device_changed(const device_list_c::device_t& device, bool added);

    QPointer<timer_list_c> m_timers;
    QPointer<device_list_c> m_devices;
    editor_fn m_editor;
    listener_list_c m_listeners;
    int m_editor_requests = 0;
};
