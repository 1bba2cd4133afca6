#include "host/device_list.h"

#include "host/host_log.h"
#include "host/host_storage.h"

#include <QDataStream>
#include <QFile>
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
    out.setVersion(host_storage::stream_version);
    out << file_magic << file_version << qint32(devices.size());
    for (const device_t& device : devices)
        out << device.name << quint16(device.product_id) << quint16(device.identifier);
    return bytes;
}

bool device_list_c::from_bytes(const QByteArray& bytes, QVector<device_t>* devices,
                               QString* error) {
    QDataStream in(bytes);
    in.setVersion(host_storage::stream_version);
    const auto fail = [&](const QString& why) {
        *error = QStringLiteral("%1 (at byte %2 of %3)")
                     .arg(why)
                     .arg(bytes.size() - host_storage::bytes_left(in))
                     .arg(bytes.size());
        return false;
    };
    quint64 magic = 0;
    qint32 version = 0;
    qint32 count = 0;
    in >> magic >> version >> count;
    if (in.status() != QDataStream::Ok)
        return fail(QStringLiteral("the head is cut short"));
    if (magic != file_magic)
        return fail(QStringLiteral("not a device list"));
    if (version != file_version)
        return fail(QStringLiteral("unknown version %1").arg(version));
    constexpr qint64 smallest_device = 4 + 2 + 2;
    if (count < 0 || count > max_devices || count * smallest_device > host_storage::bytes_left(in))
        return fail(QStringLiteral("%1 devices").arg(count));
    QVector<device_t> read;
    QSet<uint16_t> identifiers;
    for (int i = 0; i < count; ++i) {
        device_t device;
        quint16 product = 0;
        quint16 identifier = 0;
        if (!host_storage::read_text(in, max_name_chars, &device.name))
            return fail(QStringLiteral("the name of device %1 is damaged").arg(i));
        in >> product >> identifier;
        if (in.status() != QDataStream::Ok)
            return fail(QStringLiteral("device %1 is cut short").arg(i));
        device.name = device.name.trimmed();
        device.product_id = product;
        device.identifier = identifier;
        if (device.name.isEmpty() || identifier == 0 || identifiers.contains(identifier))
            return fail(QStringLiteral("device %1 has no name or no unique identifier").arg(i));
        identifiers.insert(identifier);
        read.append(device);
    }
    if (!in.atEnd())
        return fail(QStringLiteral("bytes follow the last device"));
    *devices = read;
    return true;
}

bool device_list_c::load(bool* existed) {
    if (existed)
        *existed = !m_file.isEmpty() && QFile::exists(m_file);
    if (m_file.isEmpty())
        return true;
    bool ok = false;
    const QByteArray bytes = host_storage::load_file(m_file, max_file_bytes, &ok);
    if (!ok) {
        host_storage::keep_aside(m_file);
        return false;
    }
    QVector<device_t> devices;
    QString error;
    if (!bytes.isEmpty() && !from_bytes(bytes, &devices, &error)) {
        qCWarning(lc_koral).noquote() << "The device list" << m_file << "is damaged:" << error
                                      << "- the list keeps what it held";
        host_storage::keep_aside(m_file);
        return false;
    }
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
