// The least host that gives the profile data a macro library: module host,
// control centre and hub with do-nothing operations, and a library that keeps
// groups and a journal of the groups it was asked to create.
#pragma once

#include "module/interfaces.h"
#include "module/macro_interfaces.h"

#include <QStringList>
#include <QVector>

class fake_library : public macro_library_i {
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

class fake_hub : public hub_i {
public:
    macro_library_i* library = nullptr;

    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    void hub_reserved_2() override {}
    macro_library_i* macro_library() override { return library; }
    const uint8_t* hub_bytes() override { return nullptr; }
    void hub_reserved_5() override {}
    void hub_reserved_6() override {}
    void hub_reserved_7() override {}
    void hub_reserved_8() override {}
    void hub_reserved_9() override {}
    void hub_reserved_10() override {}
    void hub_reserved_11() override {}
    void reset_hub_setting(int32_t) override {}
};

class fake_center : public ctrl_center_i {
public:
    hub_i* hub = nullptr;

    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    void kernel_command(product_kernel_i*, int32_t, const QString&) override {}
    void center_reserved_3() override {}
    void center_reserved_4() override {}
    hub_i* get_hub() override { return hub; }
    void center_reserved_6() override {}
    text_provider_i* get_text_provider() override { return nullptr; }
    interface_i* get_service(int32_t) override { return nullptr; }
    product_kernel_i* current_kernel() override { return nullptr; }
    void center_reserved_10() override {}
    uint8_t current_profile_slot() override { return 0xFF; }
    QWidget* profile_object(int32_t) override { return nullptr; }
    void center_reserved_13() override {}
    void center_reserved_14() override {}
    void everything_reset(int32_t) override {}
    void set_busy(bool, int32_t, int32_t) override {}
    void set_live_mode(bool) override {}
};

// Without a control centre, init_module creates the language listener but binds
// it to nothing and no macro library is reachable.
class fake_host : public module_host_i {
public:
    ctrl_center_i* center = nullptr;

    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    void host_reserved_2() override {}
    ctrl_center_i* get_app() override { return center; }
    void register_factory(factory_fn, int32_t) override {}
    void unregister_factory(int32_t) override {}
    interface_i* create_instance(int32_t, const GUID&) override { return nullptr; }
};
