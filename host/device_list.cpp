#include "host/device_list.h"

device_list_c::device_list_c(QObject* parent)
    : QObject(parent) {}

QVector<device_list_c::device_t> device_list_c::sample_devices() {
    return {
        {QStringLiteral("Brenn TKL"), 0x1B20, 0x0101},
        {QStringLiteral("Brenn Full"), 0x1B30, 0x0102},
        {QStringLiteral("Sova Headset"), 0x3D10, 0x0201},
    };
}

const device_list_c::device_t* device_list_c::find(uint16_t identifier) const {
    for (const device_t& device : m_devices) {
        if (device.identifier == identifier)
            return &device;
    }
    return nullptr;
}

bool device_list_c::add(const device_t& device) {
    if (device.name.trimmed().isEmpty() || find(device.identifier))
        return false;
    m_devices.append(device);
    emit devices_changed();
    return true;
}

bool device_list_c::remove(uint16_t identifier) {
    for (int i = 0; i < m_devices.size(); ++i) {
        if (m_devices.at(i).identifier == identifier) {
            m_devices.removeAt(i);
            emit devices_changed();
            return true;
        }
    }
    return false;
}

void device_list_c::clear() {
    while (!m_devices.isEmpty())
        remove(m_devices.constLast().identifier);
}
