// The host's control centre: the module's first contact for everything that
// is not a factory. It delivers language and device notifications to its
// listeners and takes the kernels' commands.
#pragma once

#include "host/text_provider.h"
#include "module/interfaces.h"

#include <QHash>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QVector>
#include <QWidget>
#include <array>

// Kernels cross the centre's signals as opaque handles.
Q_DECLARE_OPAQUE_POINTER(product_kernel_i*)
Q_DECLARE_METATYPE(product_kernel_i*)

class ctrl_center_c : public QObject,
                      public ctrl_center_i,
                      public listener_mgr_i,
                      public language_source_i {
    Q_OBJECT
public:
    struct command_t {
        product_kernel_i* kernel;
        int32_t code;
        QString text;
    };
    struct busy_t {
        bool on;
        int32_t a;
        int32_t b;
    };

    explicit ctrl_center_c(QObject* parent = nullptr);
    ~ctrl_center_c() override;

    // interface_i, shared by all three faces; ctrl_center_i is the identity.
    interface_i* query_interface(const GUID& iid) override;
    // The host owns its centre for the whole session; the module never ends it.
    void release() override {}

    // ctrl_center_i
    void kernel_command(product_kernel_i* kernel, int32_t code, const QString& text) override;
    void center_reserved_3() override {}
    void center_reserved_4() override {}
    hub_i* get_hub() override { return m_hub; }
    void center_reserved_6() override {}
    text_provider_i* get_text_provider() override { return &m_texts; }
    interface_i* get_service(int32_t id) override { return m_services.value(id); }
    product_kernel_i* current_kernel() override { return m_current_kernel; }
    void center_reserved_10() override {}
    uint8_t current_profile_slot() override { return m_profile_slot; }
    // The host's tile of a profile slot (0..4), where the kernel's lighting preview of
    // that slot lives; null for another slot or while no tile is set.
    QWidget* profile_object(int32_t slot) override;
    void center_reserved_13() override {}
    void center_reserved_14() override {}
    void everything_reset(int32_t value) override;
    void set_busy(bool on, int32_t a, int32_t b) override;
    void set_live_mode(bool on) override;

    // listener_mgr_i
    void add_listener(listener_i* listener) override;
    void remove_listener(listener_i* listener) override;

    // language_source_i: the module asks this when it hears of a switch.
    int32_t current_language() override;

    // The host's side.
    int32_t language() const { return m_language; }
    // Stores the language and tells every listener that takes language notices.
    void set_language(int32_t id);
    void set_profile_slot(uint8_t slot) { m_profile_slot = slot; }
    // The service handed out under a number (null removes it); the host owns it.
    void set_service(int32_t id, interface_i* service);
    // The widget handed out as profile_object(slot); it must outlive every kernel shown.
    void set_profile_object(int slot, QWidget* tile);
    // The settings hub the centre hands out (null for none); the host owns it.
    void set_hub(hub_i* hub) { m_hub = hub; }
    // Shows another kernel (null for none) and tells the listeners which kernel is no
    // longer shown (null when none was): that kernel lets go of its per-profile previews,
    // and the kernel now shown makes its own.
    void set_current_kernel(product_kernel_i* kernel);
    void send_product_event(int32_t product_type);
    void send_notice(int32_t value);

    QVector<listener_i*> listeners() const { return m_listeners; }
    QVector<command_t> commands() const { return m_commands; }
    QVector<busy_t> busy_calls() const { return m_busy_calls; }
    QVector<int32_t> reset_calls() const { return m_reset_calls; }
    bool is_busy() const { return m_busy; }
    bool live_mode() const { return m_live_mode; }
    // Every set_live_mode call, in order.
    QVector<bool> live_mode_calls() const { return m_live_mode_calls; }
    // How often the module asked for the current language.
    int language_queries() const { return m_language_queries; }

signals:
    void language_switched(int id);
    void kernel_command_received(product_kernel_i* kernel, int code, const QString& text);
    void busy_changed(bool on);
    void live_mode_changed(bool on);
    void everything_reset_requested();

private:
    // Calls `notify` on every listener that answers T, in the order they joined.
    // A listener that leaves during the round is not called afterwards.
    template <class T, class F>
    void notify(F notify);

    text_provider_c m_texts;
    QVector<listener_i*> m_listeners;
    QVector<command_t> m_commands;
    QVector<busy_t> m_busy_calls;
    QVector<int32_t> m_reset_calls;
    QVector<bool> m_live_mode_calls;
    std::array<QPointer<QWidget>, 5> m_profile_objects;
    product_kernel_i* m_current_kernel = nullptr;
    hub_i* m_hub = nullptr;
    QHash<int32_t, interface_i*> m_services;
    int32_t m_language = 0;
    int m_language_queries = 0;
    uint8_t m_profile_slot = 0xFF;
    bool m_busy = false;
    bool m_live_mode = true;
};
