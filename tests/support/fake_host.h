// The host as the white-box suites see it: module host, control centre, hub, texts and
// macro library, each keeping what it was asked so a test can check calls and their order.
// A suite hands out its own host objects through fake_host::factory.
#pragma once

#include "module/interfaces.h"
#include "module/macro_interfaces.h"
#include "module/page_interfaces.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>
#include <tuple>

// Texts from `table` for the current language; otherwise `prefix` and the id, or empty
// without a prefix.
class fake_texts final : public text_provider_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    QString text(int32_t id, int32_t) override {
        const QMap<int32_t, QString> texts = table.value(language ? *language : 0);
        if (texts.contains(id) || prefix.isEmpty())
            return texts.value(id);
        return prefix + QString::number(id);
    }

    QMap<int32_t, QMap<int32_t, QString>> table;
    QString prefix;
    const int32_t* language = nullptr;
};

// Groups of macros, and a journal of the groups it was asked to create.
class fake_library final : public macro_library_i {
public:
    struct group {
        QString name;
        QVector<library_macro_rec> macros;
    };
    QVector<group> groups;
    QStringList added_groups;

    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    int32_t group_count() override { return groups.size(); }
    QString group_name(int32_t g) override { return valid(g) ? groups[g].name : QString(); }
    int32_t find_group(const QString& name) override {
        for (int g = 0; g < groups.size(); ++g) {
            if (groups[g].name == name)
                return g;
        }
        return -1;
    }
    int32_t add_group(const QString& name) override {
        added_groups.append(name);
        groups.append({name, {}});
        return groups.size() - 1;
    }
    int32_t macro_count(int32_t g) override { return valid(g) ? groups[g].macros.size() : 0; }
    const library_macro_rec* macro_record(int32_t g, int32_t i) override {
        return valid(g) && i >= 0 && i < groups[g].macros.size() ? &groups[g].macros[i] : nullptr;
    }
    int32_t add_macro(int32_t g, const library_macro_rec& r) override {
        if (!valid(g))
            return -1;
        groups[g].macros.append(r);
        return groups[g].macros.size() - 1;
    }
    bool replace_macro(int32_t g, int32_t i, const library_macro_rec& r) override {
        if (!macro_record(g, i))
            return false;
        groups[g].macros[i] = r;
        return true;
    }

private:
    bool valid(int32_t g) const { return g >= 0 && g < groups.size(); }
};

// The settings hub: seven bytes, an optional macro library, listeners kept once each, and
// like the host's hub a listener of the value controls. Resets and reported values go to
// `journal` as "hub reset <type>" and "hub value <type> <value>".
class fake_hub final : public hub_i,
                       public listener_mgr_i,
                       public listener_i,
                       public value_ctrl_funcs_listener_i {
public:
    fake_hub() = default;
    fake_hub(const fake_hub&) = delete;
    fake_hub& operator=(const fake_hub&) = delete;

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i)
            return static_cast<hub_i*>(this);
        if (iid == iid_listener_mgr_i)
            return static_cast<listener_mgr_i*>(this);
        if (iid == iid_listener_i)
            return static_cast<listener_i*>(this);
        if (iid == iid_value_ctrl_funcs_listener_i)
            return static_cast<value_ctrl_funcs_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void hub_reserved_2() override {}
    macro_library_i* macro_library() override { return library; }
    const uint8_t* hub_bytes() override { return bytes.data(); }
    void hub_reserved_5() override {}
    void hub_reserved_6() override {}
    void hub_reserved_7() override {}
    void hub_reserved_8() override {}
    void hub_reserved_9() override {}
    void hub_reserved_10() override {}
    void hub_reserved_11() override {}
    void reset_hub_setting(int32_t type) override {
        journal->append(QStringLiteral("hub reset %1").arg(type));
    }
    void add_listener(listener_i* l) override {
        if (!listeners.contains(l))
            listeners.append(l);
    }
    void remove_listener(listener_i* l) override { listeners.removeOne(l); }
    void manager_closing(listener_mgr_i*) override {}
    void update() override {}
    void value_changed(int32_t type, int32_t value) override {
        journal->append(QStringLiteral("hub value %1 %2").arg(type).arg(value));
    }

    std::array<uint8_t, 7> bytes{};
    macro_library_i* library = nullptr;
    QList<listener_i*> listeners;
    // Where the lines go: `calls` unless pointed at a journal shared with other fakes.
    QStringList calls;
    QStringList* journal = &calls;
};

// The control centre: listeners kept once each, a language that can be switched, texts by
// language, an optional hub, the kernel and profile slot it shows, and journals of what
// kernels told it. Listener calls go to `journal` as "add_listener" and "remove_listener".
class fake_center final : public ctrl_center_i, public listener_mgr_i, public language_source_i {
public:
    struct command {
        int32_t code;
        QString text;
    };

    fake_center() { texts.language = &language; }
    fake_center(const fake_center&) = delete;
    fake_center& operator=(const fake_center&) = delete;

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i)
            return static_cast<ctrl_center_i*>(this);
        if (offers_manager && iid == iid_listener_mgr_i)
            return static_cast<listener_mgr_i*>(this);
        if (offers_source && iid == iid_language_source_i)
            return static_cast<language_source_i*>(this);
        return nullptr;
    }
    void release() override {}
    void add_listener(listener_i* l) override {
        journal->append(QStringLiteral("add_listener"));
        if (!listeners.contains(l))
            listeners.append(l);
    }
    void remove_listener(listener_i* l) override {
        journal->append(QStringLiteral("remove_listener"));
        listeners.removeOne(l);
    }
    int32_t current_language() override {
        ++language_queries;
        return language;
    }
    void kernel_command(product_kernel_i*, int32_t code, const QString& text) override {
        commands.append({code, text});
    }
    void center_reserved_3() override {}
    void center_reserved_4() override {}
    hub_i* get_hub() override { return hub; }
    void center_reserved_6() override {}
    text_provider_i* get_text_provider() override { return has_texts ? &texts : nullptr; }
    interface_i* get_service(int32_t id) override { return services.value(id); }
    product_kernel_i* current_kernel() override { return shown; }
    void center_reserved_10() override {}
    uint8_t current_profile_slot() override { return slot; }
    QWidget* profile_object(int32_t slot) override {
        return slot >= 0 && slot < int32_t(tiles.size()) ? tiles[std::size_t(slot)] : nullptr;
    }
    void center_reserved_13() override {}
    void center_reserved_14() override {}
    void everything_reset(int32_t value) override { resets.append(value); }
    void set_busy(bool on, int32_t a, int32_t b) override { busy.append({on, a, b}); }
    void set_live_mode(bool on) override { live_modes.append(on); }

    // What the host hands out as this object: its identity.
    interface_i* object() { return static_cast<ctrl_center_i*>(this); }

    // Switches the language and tells every listener that takes language notifications.
    void switch_language(int32_t id) {
        language = id;
        const QList<listener_i*> copy = listeners;
        for (listener_i* l : copy) {
            if (auto* ll = query<language_listener_i>(l))
                ll->language_changed(this, nullptr);
        }
    }
    // Tells every listener that the host shows another kernel.
    void show_kernel(product_kernel_i* kernel) {
        shown = kernel;
        const QList<listener_i*> copy = listeners;
        for (listener_i* l : copy) {
            if (auto* cl = query<ctrl_center_listener_i>(l))
                cl->current_kernel_changed(kernel);
        }
    }

    // Which faces query_interface offers besides the centre itself.
    bool offers_manager = true;
    bool offers_source = true;
    QList<listener_i*> listeners;
    fake_texts texts;
    bool has_texts = true;
    hub_i* hub = nullptr;
    // Host services by number (get_service); none by default.
    QMap<int32_t, interface_i*> services;
    int32_t language = 0;
    int language_queries = 0;
    product_kernel_i* shown = nullptr;
    uint8_t slot = 0xFF;
    // The host's widgets of the five profile slots (profile_object); none by default.
    std::array<QWidget*, 5> tiles{};

    QList<command> commands;
    QList<std::tuple<bool, int32_t, int32_t>> busy;
    QList<int32_t> resets;
    QList<bool> live_modes;
    // Where the listener calls go: `calls` unless pointed at a journal shared with other fakes.
    QStringList calls;
    QStringList* journal = &calls;
};

// The module host: its own control centre (get_app answers `app`, which may be pointed
// elsewhere or at nothing), host objects from `factory`, the class ids it was asked for, and
// factory (un)registrations in `journal` as "register 0102", "register 0102 (null)" and
// "unregister 0102".
class fake_host : public module_host_i {
public:
    using factory_t = std::function<interface_i*(int32_t class_id, const GUID& iid)>;

    fake_host() = default;
    fake_host(const fake_host&) = delete;
    fake_host& operator=(const fake_host&) = delete;
    virtual ~fake_host() = default;

    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    void host_reserved_2() override {}
    ctrl_center_i* get_app() override { return app; }
    void register_factory(factory_fn f, int32_t class_id) override {
        journal->append(QStringLiteral("register %1%2").arg(hex(class_id)).arg(f ? "" : " (null)"));
    }
    void unregister_factory(int32_t class_id) override {
        journal->append(QStringLiteral("unregister %1").arg(hex(class_id)));
    }
    interface_i* create_instance(int32_t class_id, const GUID& iid) override {
        created.append(class_id);
        return factory ? factory(class_id, iid) : nullptr;
    }

    fake_center center;
    ctrl_center_i* app = &center;
    factory_t factory;
    QList<int32_t> created;
    // Where the lines go: `calls` unless pointed at a journal shared with other fakes.
    QStringList calls;
    QStringList* journal = &calls;

private:
    static QString hex(int32_t class_id) {
        return QStringLiteral("%1").arg(class_id, 4, 16, QLatin1Char('0'));
    }
};
