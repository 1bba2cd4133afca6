#include "host/device_list.h"

#include "host/host_log.h"
#include "host/host_storage.h"

#include <QDataStream>
#include <QSet>

device_list_c::device_list_c(const QString& file, QObject* parent)
    : QObject(parent)
    , m_file(file) {}

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

uint16_t device_list_c::free_identifier() const {
    uint16_t candidate = 1;
    while (find(candidate) && candidate < 0xFFFF)
        ++candidate;
    return candidate;
}

bool device_list_c::add(const device_t& device) {
    const QString name = device.name.trimmed().left(max_name_chars);
    if (name.isEmpty() || device.identifier == 0 || find(device.identifier) ||
        m_devices.size() >= max_devices)
        return false;
    const device_t added{name, device.product_id, device.identifier};
    m_devices.append(added);
    save();
    emit device_changed(added, true);
    emit devices_changed();
    return true;
}

bool device_list_c::remove(uint16_t identifier) {
    for (int i = 0; i < m_devices.size(); ++i) {
        if (m_devices.at(i).identifier == identifier) {
            const device_t gone = m_devices.takeAt(i);
            save();
            emit device_changed(gone, false);
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

QByteArray device_list_c::to_bytes(const QVector<device_t>& devices) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    host_storage::write_head(out, file_magic, file_version, devices.size());
    for (const device_t& device : devices)
        out << device.name << quint16(device.product_id) << quint16(device.identifier);
    return bytes;
}

bool device_list_c::from_bytes(const QByteArray& bytes, QVector<device_t>* devices,
                               QString* error) {
    QVector<device_t> read;
    QSet<uint16_t> identifiers;
    const bool ok = host_storage::read_entries(
        bytes, file_magic, file_version, max_devices, 4 + 2 + 2,
        [&](QDataStream& in, int i, QString* why) {
            device_t device;
            if (!host_storage::read_text(in, max_name_chars, &device.name)) {
                *why = QStringLiteral("the name of device %1 is damaged").arg(i);
                return false;
            }
            in >> device.product_id >> device.identifier;
            device.name = device.name.trimmed();
            if (device.name.isEmpty() || device.identifier == 0 ||
                identifiers.contains(device.identifier)) {
                *why = QStringLiteral("device %1 has no name or no unique identifier").arg(i);
                return false;
            }
            identifiers.insert(device.identifier);
            read.append(device);
            return true;
        },
        error);
    if (ok)
        *devices = read;
    return ok;
}

bool device_list_c::load(bool* existed) {
    QVector<device_t> devices;
    const host_storage::load_t outcome =
        host_storage::load_checked(m_file, max_file_bytes, QStringLiteral("The device list"),
                                   [&devices](const QByteArray& bytes, QString* error) {
                                       return from_bytes(bytes, &devices, error);
                                   });
    if (existed)
        *existed = outcome != host_storage::load_t::absent;
    if (outcome == host_storage::load_t::damaged)
        return false;
    // Listeners hear of every device that went and came.
    const QVector<device_t> before = m_devices;
    m_devices = devices;
    for (const device_t& device : before) {
        if (!m_devices.contains(device))
            emit device_changed(device, false);
    }
    for (const device_t& device : qAsConst(m_devices)) {
        if (!before.contains(device))
            emit device_changed(device, true);
    }
    emit devices_changed();
    return true;
}

bool device_list_c::save() const {
    if (m_file.isEmpty())
        return true;
    return host_storage::save_file(m_file, to_bytes(m_devices));
}
