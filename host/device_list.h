// The other devices the host knows besides the one shown: the button
// assignment offers functions that talk to them. A person adds and removes
// them on the device tab; the list lives in a file of the host's data folder.
#pragma once

#include <QObject>
#include <QString>
#include <QVector>
#include <cstdint>

class device_list_c : public QObject {
    Q_OBJECT
public:
    struct device_t {
        QString name;
        uint16_t product_id = 0;
        // Unique within the list; button records carry it.
        uint16_t identifier = 0;
        bool operator==(const device_t& o) const {
            return name == o.name && product_id == o.product_id && identifier == o.identifier;
        }
    };
    static constexpr int max_devices = 32;
    static constexpr int max_name_chars = 64;
    // The file: magic "KDEVICE1" (64-bit), version, count, then per device its
    // name, product id and identifier.
    static constexpr quint64 file_magic = 0x4B44455649434531ull; // "KDEVICE1"
    static constexpr qint32 file_version = 1;
    static constexpr qint64 max_file_bytes = 64 * 1024;

    // `file` empty: the list lives in memory only.
    explicit device_list_c(const QString& file = QString(), QObject* parent = nullptr);

    // A few devices of the maker's other lines, as a desk might hold them.
    static QVector<device_t> sample_devices();

    QVector<device_t> devices() const { return m_devices; }
    int count() const { return m_devices.size(); }
    // The device with that identifier, or null.
    const device_t* find(uint16_t identifier) const;
    // The smallest identifier no device carries (1 upwards).
    uint16_t free_identifier() const;
    // Adds a device; false for an empty name, an identifier of 0 or already
    // listed, or a full list.
    bool add(const device_t& device);
    bool remove(uint16_t identifier);
    void clear();

    QString file() const { return m_file; }
    // As timer_list_c::load: a damaged file is logged, kept aside, and the
    // list stays as it was.
    bool load(bool* existed = nullptr);
    bool save() const;
    static QByteArray to_bytes(const QVector<device_t>& devices);
    static bool from_bytes(const QByteArray& bytes, QVector<device_t>* devices, QString* error);

signals:
    // One device came or went (the device and whether it came).
    void device_changed(const device_list_c::device_t& device, bool added);
    void devices_changed();

private:
    QString m_file;
    QVector<device_t> m_devices;
};
