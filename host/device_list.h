// The other devices the host knows besides the one shown: the button
// assignment offers functions that talk to them.
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

    explicit device_list_c(QObject* parent = nullptr);

    // A few devices of the maker's other lines, as a desk might hold them.
    static QVector<device_t> sample_devices();

    QVector<device_t> devices() const { return m_devices; }
    int count() const { return m_devices.size(); }
    // The device with that identifier, or null.
    const device_t* find(uint16_t identifier) const;
    // Adds a device; false for an empty name or an identifier already listed.
    bool add(const device_t& device);
    bool remove(uint16_t identifier);
    void clear();

signals:
    void devices_changed();

private:
    QVector<device_t> m_devices;
};
