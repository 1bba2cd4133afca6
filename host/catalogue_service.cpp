#include "host/catalogue_service.h"

#include "host/host_log.h"
#include "host/timer_list.h"

catalogue_service_c::catalogue_service_c(timer_list_c* timers, device_list_c* devices,
                                         QObject* parent)
    : QObject(parent)
    , m_timers(timers)
    , m_devices(devices) {
    if (timers) {
        connect(timers, &timer_list_c::timers_changed, this, [this] {
            m_listeners.notify<timer_listener_i>([](timer_listener_i* l) { l->timers_changed(); });
        });
    }
    if (devices)
        connect(devices, &device_list_c::device_changed, this,
                &catalogue_service_c::device_changed);
}

catalogue_service_c::~catalogue_service_c() {
    m_listeners.close(this);
}

interface_i* catalogue_service_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<catalogue_service_i>::value)
        return static_cast<catalogue_service_i*>(this);
    if (iid == iid_of<listener_mgr_i>::value)
        return static_cast<listener_mgr_i*>(this);
    return nullptr;
}

int32_t catalogue_service_c::timer_count() {
    return m_timers ? m_timers->count() : 0;
}

uint32_t catalogue_service_c::timer_identifier(int32_t index) {
    if (index < 0 || index >= timer_count())
        return 0;
    return m_timers->timers().at(index).identifier;
}

QString catalogue_service_c::timer_name(int32_t index) {
    if (index < 0 || index >= timer_count())
        return QString();
    return m_timers->timers().at(index).name;
}

int32_t catalogue_service_c::timer_index(uint32_t identifier) {
    for (int i = 0; i < timer_count(); ++i) {
        if (m_timers->timers().at(i).identifier == identifier)
            return i;
    }
    return -1;
}

int32_t catalogue_service_c::device_count() {
    return m_devices ? m_devices->count() : 0;
}

uint16_t catalogue_service_c::device_product_id(int32_t index) {
    if (index < 0 || index >= device_count())
        return 0;
    return m_devices->devices().at(index).product_id;
}

uint16_t catalogue_service_c::device_identifier(int32_t index) {
    if (index < 0 || index >= device_count())
        return 0;
    return m_devices->devices().at(index).identifier;
}

QString catalogue_service_c::device_name(int32_t index) {
    if (index < 0 || index >= device_count())
        return QString();
    return m_devices->devices().at(index).name;
}

int32_t catalogue_service_c::device_index(uint16_t identifier) {
    for (int i = 0; i < device_count(); ++i) {
        if (m_devices->devices().at(i).identifier == identifier)
            return i;
    }
    return -1;
}

int32_t catalogue_service_c::new_macro() {
    ++m_editor_requests;
    if (!m_editor) {
        qCInfo(lc_koral, "The module asked for the macro editor; this host has none to open");
        return 0;
    }
    return m_editor();
}

void catalogue_service_c::add_listener(listener_i* listener) {
    m_listeners.add(listener);
}

void catalogue_service_c::remove_listener(listener_i* listener) {
    m_listeners.remove(listener);
}

void catalogue_service_c::device_changed(const device_list_c::device_t& device, bool added) {
    m_listeners.notify<relay_fx_kernel_listener_i>([&device, added](relay_fx_kernel_listener_i* l) {
        if (added)
            l->talk_device_added(device.identifier, device.product_id, device.name);
        else
            l->talk_device_removed(device.identifier);
    });
}
