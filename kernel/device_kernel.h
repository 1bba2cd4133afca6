// The model-independent part of a product kernel: pages, listeners, favourite
// controls, the shared-memory channel and the commit of the profile-set blob.
#pragma once

#include "kernel/shm_pool.h"
#include "module/kernel_host_interfaces.h"
#include "module/page_interfaces.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

class zarek_data_c;

class device_kernel_c : public product_kernel_i,
                        public listener_mgr_i,
                        public ctrl_center_listener_i,
                        public macro_listener_i,
                        public listener_i {
public:
    device_kernel_c();
    ~device_kernel_c() override;
    device_kernel_c(const device_kernel_c&) = delete;
    device_kernel_c& operator=(const device_kernel_c&) = delete;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    void attach(ctrl_center_i* center, QWidget* parent) override;
    ctrl_center_i* ctrl_center() override { return m_ctrl_center; }
    product_function_page_i* page(int32_t type) override;
    int32_t page_count() override { return m_pages.size(); }
    product_function_page_i* page_at(int32_t i) override;
    void open_page(int32_t type) override;
    void close_page() override;
    // True once a profile set from the device has been read. Profiles kept
    // because the device's set did not read do not count as loaded (the host
    // can tell its data was refused), yet commits publish them on the next change.
    bool data_loaded() override { return m_data_loaded; }
    void add_favorite_ctrl(ctrl_funcs_i* ctrl) override;
    void remove_favorite_ctrl(ctrl_funcs_i* ctrl) override;
    int32_t favorite_ctrl_count() override { return m_favorite_ctrls.size(); }
    // Every control whose favourite mark is set, in the order they were marked.
    const QList<ctrl_funcs_i*>& favorite_ctrls() const { return m_favorite_ctrls; }
    ctrl_funcs_i* favorite_ctrl(uint8_t i) override;
    void send_command(int32_t code, const QString& text) override;
    QString publish_blob(QBuffer* buffer) override;
    uint8_t* btn_data(uint8_t slot, uint8_t button) override;
    void add_favorite(ctrl_funcs_i* ctrl) override;
    void remove_favorite(ctrl_funcs_i* ctrl) override;
    profile_led_effect_fm_i* create_effect_object() override { return nullptr; }
    void add_kernel_listener(listener_i* listener) override;
    void remove_kernel_listener(listener_i* listener) override;
    void on_current_kernel_changed(product_kernel_i* kernel) override;
    void on_ctrl_center_notice(int32_t) override {}
    bool on_macros_changed(const QList<library_item>& items) override;
    void on_manager_closing(listener_mgr_i*) override {}

    // The open page, or null.
    product_function_page_i* current_page() const { return m_current_page; }
    const QString& checksum() const { return m_checksum; }
    shm_pool& pool() { return m_pool; }
    const QList<listener_i*>& kernel_listeners() const { return m_listeners; }
    int effect_object_count() const { return m_effects.size(); }
    // An effect object that went without release() (its host widget took it along):
    // the kernel forgets it and no longer refreshes or releases it.
    void effect_object_destroyed(profile_led_effect_fm_i* effect);

protected:
    // The edition's profile set; null before it exists.
    virtual zarek_data_c* data() const = 0;
    // The pages of the edition, created for `attach` in the order the edition wants.
    virtual QList<product_function_page_i*> create_pages() { return {}; }

    // Kernel notification: kind 1 current profile, kind 0 data, kind 2 full reset.
    void notify_kernel(int kind);
    // Calls `f` on every kernel listener that takes profile notifications.
    void notify_profile(const std::function<void(product_profile_listener_i*)>& f);
    // Writes the blob, stores its checksum and returns it.
    QByteArray write_and_remember();
    // Publishes a profile-set blob and returns the key of its segment.
    QString publish_set(QByteArray& blob);
    void refresh_effect(int slot);
    void refresh_effects();
    void release_effects();
    void release_pages();
    // Every page resets one profile slot (not the whole page).
    void reset_pages_profile(int slot);
    // The host's macro library (through the hub); null when the host has none.
    macro_library_i* host_macro_library() const;
    // The preset macro files again, one per group of the library as it is now.
    static void write_preset_macros(macro_library_i* library);

    QString m_checksum;
    bool m_data_loaded = false;

private:
    // Secondary interfaces forward to the kernel's own operations.
    void product_event(int32_t type) override { on_product_event(type); }
    void current_kernel_changed(product_kernel_i* kernel) override {
        on_current_kernel_changed(kernel);
    }
    void ctrl_center_notice(int32_t value) override { on_ctrl_center_notice(value); }
    void add_listener(listener_i* listener) override { add_kernel_listener(listener); }
    void remove_listener(listener_i* listener) override { remove_kernel_listener(listener); }
    void manager_closing(listener_mgr_i* manager) override { on_manager_closing(manager); }
    void update() override {}

    void connect_to_host(bool on);
    // Once the event loop is idle, the segment of the next publication is made
    // ahead, at the size of the last profile-set blob.
    void prepare_next_segment();

    ctrl_center_i* m_ctrl_center = nullptr;
    QPointer<QWidget> m_parent;
    product_function_page_i* m_current_page = nullptr;
    shm_pool m_pool;
    QTimer m_prepare_timer;
    int m_blob_size = 0;
    QMap<int32_t, product_function_page_i*> m_pages_by_type;
    QList<product_function_page_i*> m_pages;
    QList<ctrl_funcs_i*> m_favorite_ctrls;
    QList<listener_i*> m_listeners;
    QList<profile_led_effect_fm_i*> m_effects;
};
