// The device tab's list of the other devices on this computer. A person
// connects one of the catalogue's products or disconnects a device; the
// module hears of each through the host's talk notices.
#pragma once

#include <QFrame>
#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class device_list_c;
class host_catalogue_c;

class talk_devices_panel_c : public QFrame {
    Q_OBJECT
public:
    talk_devices_panel_c(device_list_c* devices, const host_catalogue_c* catalogue,
                         std::function<QString(int32_t)> text, QWidget* parent = nullptr);

    void refresh();
    // What the buttons do: connect a product of the catalogue (by type) or
    // disconnect the selected device.
    bool connect_product(int32_t product_type);
    bool disconnect_selected();
    void select(uint16_t identifier);

private:
    void fill_products();

    device_list_c* m_devices;
    const host_catalogue_c* m_catalogue;
    std::function<QString(int32_t)> m_text;
    QLabel* m_title = nullptr;
    QLabel* m_note = nullptr;
    QTreeWidget* m_list = nullptr;
    QComboBox* m_products = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
};
