// The product kernel as the host drives it, and what the kernel tells its listeners.
#pragma once

#include "module/interfaces.h"
#include "module/macro_interfaces.h"

#include <QList>

class QBuffer;
class QPixmap;
class QWidget;
class ctrl_funcs_i;
class product_function_page_i;
class profile_led_effect_fm_i;

// A message from the host: a 32-bit code at offset 2 and, from offset 6, the
// zero-terminated key of a shared-memory segment.
struct host_message_rec {
    uint8_t bytes[256];
};

class product_kernel_i : public interface_i {
public:
    virtual void attach(ctrl_center_i* center, QWidget* parent) = 0;                 // 2
    virtual ctrl_center_i* ctrl_center() = 0;                                        // 3
    virtual profile_service_i* profile_service() = 0;                                // 4
    virtual int32_t interface_version() = 0;                                         // 5: 1
    virtual int32_t product_type() = 0;                                              // 6
    virtual product_function_page_i* page(int32_t type) = 0;                         // 7
    virtual int32_t page_count() = 0;                                                // 8
    virtual product_function_page_i* page_at(int32_t i) = 0;                         // 9
    virtual void open_page(int32_t type) = 0;                                        // 10
    virtual void close_page() = 0;                                                   // 11
    virtual int32_t service_query() = 0;                                             // 12
    virtual int32_t max_profiles() = 0;                                              // 13
    virtual int32_t profile_count() = 0;                                             // 14
    virtual uint8_t current_profile() = 0;                                           // 15
    virtual int32_t host_profile() = 0;                                              // 16
    virtual void set_current_profile(uint8_t slot) = 0;                              // 17
    virtual void append_profile() = 0;                                               // 18
    virtual void insert_profile(uint8_t slot) = 0;                                   // 19
    virtual void delete_profile(uint8_t slot) = 0;                                   // 20
    virtual void set_host_profile(int32_t slot) = 0;                                 // 21
    virtual void set_profile_name(uint8_t slot, const QString& name) = 0;            // 22
    virtual void set_profile_byte_106(uint8_t slot, uint8_t value) = 0;              // 23
    virtual void set_profile_path(uint8_t slot, int32_t n, const QString& path) = 0; // 24
    virtual void set_profile_picture(uint8_t slot, const QPixmap& picture) = 0;      // 25
    virtual void send_switch(bool on) = 0;                                           // 26
    virtual void clear_profile_picture(uint8_t slot) = 0;                            // 27
    virtual QString profile_name(uint8_t slot) = 0;                                  // 28
    virtual uint8_t profile_byte_106(uint8_t slot) = 0;                              // 29
    virtual QString profile_path(uint8_t slot, int32_t n) = 0;                       // 30
    virtual QPixmap* profile_picture(uint8_t slot) = 0;                              // 31
    virtual bool device_flag() = 0;                                                  // 32
    virtual bool profile_has_picture(uint8_t slot) = 0;                              // 33
    virtual bool export_profile(QIODevice* device, uint8_t slot) = 0;                // 34
    virtual bool import_profile(QIODevice* device, uint8_t slot) = 0;                // 35
    virtual bool data_loaded() = 0;                                                  // 36
    virtual void add_favorite_ctrl(ctrl_funcs_i* ctrl) = 0;                          // 37
    virtual void remove_favorite_ctrl(ctrl_funcs_i* ctrl) = 0;                       // 38
    virtual int32_t favorite_ctrl_count() = 0;                                       // 39
    virtual ctrl_funcs_i* favorite_ctrl(uint8_t i) = 0;                              // 40
    virtual bool commit() = 0;                                                       // 41
    virtual void send_command(int32_t code, const QString& text) = 0;                // 42
    virtual void on_host_message(const host_message_rec* record) = 0;                // 43
    virtual QString publish_blob(QBuffer* buffer) = 0;                               // 44
    virtual uint8_t* btn_data(uint8_t slot, uint8_t button) = 0;                     // 45
    virtual void add_favorite(ctrl_funcs_i* ctrl) = 0;                               // 46
    virtual void remove_favorite(ctrl_funcs_i* ctrl) = 0;                            // 47
    virtual profile_led_effect_fm_i* create_effect_object() = 0;                     // 48
    virtual int32_t favorite_item(uint8_t i) = 0;                                    // 49
    virtual ~product_kernel_i() = default;                                           // 50, 51
    virtual void add_kernel_listener(listener_i* listener) = 0;                      // 52
    virtual void remove_kernel_listener(listener_i* listener) = 0;                   // 53
    virtual void on_product_event(int32_t type) = 0;                                 // 54
    virtual void on_current_kernel_changed(product_kernel_i* kernel) = 0;            // 55
    virtual void on_ctrl_center_notice(int32_t value) = 0;                           // 56
    virtual bool on_macros_changed(const QList<library_item>& items) = 0;            // 57
    virtual void on_manager_closing(listener_mgr_i* manager) = 0;                    // 58
};

// Profile-level notifications of a kernel.
class product_profile_listener_i : public interface_i {
public:
    virtual void host_profile_changed(product_kernel_i* kernel) = 0;
    virtual void name_changed(product_kernel_i* kernel, uint8_t slot, const QString& name) = 0;
    virtual void profile_appended(product_kernel_i* kernel) = 0;
    virtual void profile_inserted(product_kernel_i* kernel, uint8_t slot) = 0;
    virtual void profile_deleted(product_kernel_i* kernel, uint8_t slot) = 0;
    virtual void byte_106_changed(product_kernel_i* kernel, uint8_t slot, uint8_t value) = 0;
    virtual void profile_replaced(product_kernel_i* kernel, uint8_t slot) = 0;
    virtual void picture_changed(product_kernel_i* kernel, uint8_t slot) = 0;

protected:
    ~product_profile_listener_i() = default;
};

// Host message codes and kernel commands.
namespace host_message {
inline constexpr int32_t data_loaded = 0;
inline constexpr int32_t device_values = 8;
inline constexpr int32_t profile_settings = 14;
inline constexpr int32_t calibration_result = 25;
} // namespace host_message

namespace kernel_command {
inline constexpr int32_t all_data_reset = 2;
inline constexpr int32_t data_changed = 3;
inline constexpr int32_t switch_on = 4;
inline constexpr int32_t switch_off = 5;
inline constexpr int32_t sensor_tuning = 11;
} // namespace kernel_command

// What a sensor-tuning command (kernel command 11) carries: one int.
namespace tuning_command {
inline constexpr int32_t calibration_start = 0;
inline constexpr int32_t calibration_accept = 2;
inline constexpr int32_t calibration_discard = 3;
inline constexpr int32_t surface_off = 4;
// Lift-off distance: level 0 (off) is 5, then levels 3, 2 and 1 count up to 8.
inline constexpr int32_t lift_off = 5;
inline constexpr int32_t lift_normal = 6;
inline constexpr int32_t lift_low = 7;
inline constexpr int32_t lift_extra_low = 8;
} // namespace tuning_command

// Page types.
namespace page_type {
inline constexpr int32_t main = 0;
inline constexpr int32_t button_assignment = 1;
inline constexpr int32_t advanced = 2;
inline constexpr int32_t favorites = 4;
} // namespace page_type
