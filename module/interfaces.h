// The interfaces shared by the module and its host. Each is a table of virtual
// operations in a fixed slot order; query_interface and release always come first.
// Do not reorder, insert or remove operations: hosts call them by position.
#pragma once

// The host is a 32-bit MinGW program: it calls these tables by GCC's layout, where a virtual
// destructor takes two slots (the kernel's slots 50 and 51), and Qt types cross by value. An
// MSVC (or clang-cl) build would shift every later slot and pass Qt types its own way.
#if defined(_MSC_VER)
#error "Build the module and its hosts with MinGW (GCC's ABI), not MSVC: see README, Windows."
#endif

#include "module/interface_ids.h"

#include <QString>
#include <cstdint>

class QIODevice;
class QWidget;
class product_kernel_i;
class macro_library_i;

class interface_i {
public:
    // 0: the sub-object of this object that implements the interface `iid`, or null.
    virtual interface_i* query_interface(const GUID& iid) = 0;
    // 1: destroys the object.
    virtual void release() = 0;

protected:
    ~interface_i() = default;
};

// Asks `object` for interface T; null-safe.
template <class T>
T* query(interface_i* object) {
    return object ? static_cast<T*>(object->query_interface(iid_of<T>::value)) : nullptr;
}

// True when both pointers denote the same object (same interface_i answer).
inline bool same_object(interface_i* a, interface_i* b) {
    if (!a || !b)
        return false;
    return query<interface_i>(a) == query<interface_i>(b);
}

class listener_mgr_i;

class listener_i : public interface_i {
public:
    // 2: the manager is being destroyed; the listener must not use it afterwards.
    virtual void manager_closing(listener_mgr_i* manager) = 0;
    // 3: something the listener watches changed.
    virtual void update() = 0;

protected:
    ~listener_i() = default;
};

class listener_mgr_i : public interface_i {
public:
    // 2: appends unless already present.
    virtual void add_listener(listener_i* listener) = 0;
    // 3: removes the first occurrence; an absent listener is ignored.
    virtual void remove_listener(listener_i* listener) = 0;

protected:
    ~listener_mgr_i() = default;
};

// The host's current-language source (answered by the control centre).
class language_source_i : public interface_i {
public:
    // 2: the current language id.
    virtual int32_t current_language() = 0;

protected:
    ~language_source_i() = default;
};

class language_listener_i : public interface_i {
public:
    // 2: the host's language changed; `source` tells the new language.
    virtual void language_changed(language_source_i* source, void* ignored) = 0;

protected:
    ~language_listener_i() = default;
};

// Texts of the host's user interface, by number, in the user's language.
class text_provider_i : public interface_i {
public:
    // 2: the text with the given id; the second argument is always 0.
    virtual QString text(int32_t id, int32_t variant) = 0;

protected:
    ~text_provider_i() = default;
};

// Notifications of the host's control centre to its listeners.
class ctrl_center_listener_i : public interface_i {
public:
    // 2: something happened to devices of the given product type.
    virtual void product_event(int32_t product_type) = 0;
    // 3: the host now shows another device (current_kernel() names it); `kernel` is the
    // one it no longer shows, null when it showed none.
    virtual void current_kernel_changed(product_kernel_i* kernel) = 0;
    // 4: a notification that the module does not use.
    virtual void ctrl_center_notice(int32_t value) = 0;

protected:
    ~ctrl_center_listener_i() = default;
};

// The host's settings hub: the seven host-kept bytes and the macro library.
class hub_i : public interface_i {
public:
    // 2: the host's own use.
    virtual void hub_reserved_2() = 0;
    // 3: the macro library, or null.
    virtual macro_library_i* macro_library() = 0;
    // 4: the seven hub bytes (pointer speed and friends); null when there are none.
    virtual const uint8_t* hub_bytes() = 0;
    // 5..11: the host's own use.
    virtual void hub_reserved_5() = 0;
    virtual void hub_reserved_6() = 0;
    virtual void hub_reserved_7() = 0;
    virtual void hub_reserved_8() = 0;
    virtual void hub_reserved_9() = 0;
    virtual void hub_reserved_10() = 0;
    virtual void hub_reserved_11() = 0;
    // 12: restores hub setting `type` (2..5) to its default.
    virtual void reset_hub_setting(int32_t type) = 0;

protected:
    ~hub_i() = default;
};

// The seven hub bytes (hub_i operation 4), by index. The host keeps them for
// the whole system; the main page shows and resets them.
namespace hub_byte {
inline constexpr int pointer_precision = 0; // enhanced pointer precision, 0 or 1
inline constexpr int pointer_snap = 1;      // jump to a dialog's default button, 0 or 1
inline constexpr int scroll_by_page = 2;    // vertical scroll by a page instead of lines, 0 or 1
inline constexpr int vertical_scroll = 3;   // lines per notch, 1..10
inline constexpr int horizontal_scroll = 4; // characters per notch, 1..10
inline constexpr int double_click = 5;      // double-click speed, 1 (slow) .. 10 (fast)
inline constexpr int pointer_speed = 6;     // -5..5, a signed byte
inline constexpr int count = 7;
} // namespace hub_byte

// The host's control centre: the kernel's first contact.
class ctrl_center_i : public interface_i {
public:
    // 2: a command from a kernel (2 all data reset, 3 data changed, 4/5 switch, 11 sensor tuning).
    virtual void kernel_command(product_kernel_i* kernel, int32_t code, const QString& text) = 0;
    // 3, 4: the host's own use.
    virtual void center_reserved_3() = 0;
    virtual void center_reserved_4() = 0;
    // 5: the settings hub (also a listener manager), or null.
    virtual hub_i* get_hub() = 0;
    // 6: the host's own use.
    virtual void center_reserved_6() = 0;
    // 7: the text provider, or null.
    virtual text_provider_i* get_text_provider() = 0;
    // 8: a host service by number (6: the function catalogue's service).
    virtual interface_i* get_service(int32_t id) = 0;
    // 9: the kernel shown now, or null.
    virtual product_kernel_i* current_kernel() = 0;
    // 10: the host's own use.
    virtual void center_reserved_10() = 0;
    // 11: the current profile slot; 0xFF for none.
    virtual uint8_t current_profile_slot() = 0;
    // 12: the host's widget for a profile slot; the kernel's lighting preview of the slot
    // lives in it at (5, 20), so it must outlive the kernel's effect objects.
    virtual QWidget* profile_object(int32_t slot) = 0;
    // 13, 14: the host's own use.
    virtual void center_reserved_13() = 0;
    virtual void center_reserved_14() = 0;
    // 15: called by a kernel's full reset, with 0.
    virtual void everything_reset(int32_t value) = 0;
    // 16: (1, 1, 0) before a modal dialog, (0, 1, 0) after it and after a data load.
    virtual void set_busy(bool on, int32_t a, int32_t b) = 0;
    // 17: live preview of lighting on the device.
    virtual void set_live_mode(bool on) = 0;

protected:
    ~ctrl_center_i() = default;
};

// The host application, as the module sees it from init_module on.
class module_host_i : public interface_i {
public:
    using factory_fn = interface_i* (*)();

    // 2: the host's own use.
    virtual void host_reserved_2() = 0;
    // 3: the control centre, or null.
    virtual ctrl_center_i* get_app() = 0;
    // 4, 5: the module's factories, by class id.
    virtual void register_factory(factory_fn factory, int32_t class_id) = 0;
    virtual void unregister_factory(int32_t class_id) = 0;
    // 6: a new host object of the class, asked for interface `iid`; null when unknown.
    virtual interface_i* create_instance(int32_t class_id, const GUID& iid) = 0;

protected:
    ~module_host_i() = default;
};

// The kernel's profile service (host class 0x1301); it also keeps a section of the blob.
class profile_service_i : public interface_i {
public:
    // 2: the kernel and the class id of its profile objects.
    virtual void set_kernel(product_kernel_i* kernel, int32_t profile_class_id) = 0;
    // 3: the host's own use.
    virtual void service_reserved_3() = 0;
    // 4: forwarded by the kernel's operation 12.
    virtual int32_t service_op_4() = 0;
    // 5: a product event for this kernel's product type.
    virtual void product_event() = 0;
    // 6..8: the host's own use.
    virtual void service_reserved_6() = 0;
    virtual void service_reserved_7() = 0;
    virtual void service_reserved_8() = 0;
    // 9: a blob is about to be read.
    virtual void begin_read() = 0;
    // 10, 11: the host's own use.
    virtual void service_reserved_10() = 0;
    virtual void service_reserved_11() = 0;
    // 12: reads the host's section of a profile-set blob.
    virtual void read_section(QIODevice* device) = 0;
    // 13: writes the host's section of a profile-set blob.
    virtual void write_section(QIODevice* device) = 0;

protected:
    ~profile_service_i() = default;
};

// Class ids: the module's own end in 0x02, the host's in 0x01.
namespace class_id {
inline constexpr int32_t white_kernel = 0x0102;
inline constexpr int32_t black_kernel = 0x0202;
inline constexpr int32_t profile = 0x0302;
inline constexpr int32_t slider = 0x0401;
inline constexpr int32_t profile_service = 0x1301;
inline constexpr int32_t message_box = 0x1C01;
inline constexpr int32_t ctrl_box = 0x2A01;
} // namespace class_id

// Product types of the catalogue.
namespace product_type {
inline constexpr int32_t host = 1;
inline constexpr int32_t black = 8;
inline constexpr int32_t white = 9;
} // namespace product_type
