// The kernel of the Quil mouse: its profile set, its pages and its profile service.
#pragma once

#include "kernel/device_kernel.h"

#include <memory>

// The profile set behind a kernel of this module; null for any other kernel or none.
zarek_data_c* profile_set_of(product_kernel_i* kernel);

class zarek_kernel_c : public device_kernel_c {
public:
    ~zarek_kernel_c() override;

    profile_service_i* profile_service() override { return m_service; }
    int32_t interface_version() override { return 1; }
    int32_t product_type() override { return m_product_type; }
    int32_t service_query() override;
    int32_t max_profiles() override { return 5; }
    int32_t profile_count() override;
    uint8_t current_profile() override;
    int32_t host_profile() override;
    void set_current_profile(uint8_t slot) override;
    void append_profile() override;
    void insert_profile(uint8_t slot) override;
    void delete_profile(uint8_t slot) override;
    void set_host_profile(int32_t slot) override;
    void set_profile_name(uint8_t slot, const QString& name) override;
    void set_profile_byte_106(uint8_t slot, uint8_t value) override;
    void set_profile_path(uint8_t slot, int32_t n, const QString& path) override;
    void set_profile_picture(uint8_t slot, const QPixmap& picture) override;
    void send_switch(bool on) override;
    void clear_profile_picture(uint8_t slot) override;
    QString profile_name(uint8_t slot) override;
    uint8_t profile_byte_106(uint8_t slot) override;
    QString profile_path(uint8_t slot, int32_t n) override;
    QPixmap* profile_picture(uint8_t slot) override;
    bool device_flag() override;
    bool profile_has_picture(uint8_t slot) override;
    bool export_profile(QIODevice* device, uint8_t slot) override;
    bool import_profile(QIODevice* device, uint8_t slot) override;
    bool commit() override;
    void on_host_message(const host_message_rec* record) override;
    int32_t favorite_item(uint8_t i) override;
    void on_product_event(int32_t type) override;
    // A new per-profile lighting preview (led_effect_fm_c) for the host's profile tiles.
    profile_led_effect_fm_i* create_effect_object() override;

    // The full reset of the advanced page: every profile and page back to defaults.
    void reset_everything();

    zarek_data_c* data() const override { return m_data.get(); }

protected:
    explicit zarek_kernel_c(int32_t product_type);

    // The main, advanced, button assignment and favorites pages, in this order.
    QList<product_function_page_i*> create_pages() override;

private:
    bool in_use(uint8_t slot) const;

    int32_t m_product_type;
    std::unique_ptr<zarek_data_c> m_data;
    profile_service_i* m_service = nullptr;
};

