// The host's control centre as the page and control suites need it: listeners kept once
// each, a language that can be switched, texts by language and an optional hub.
#pragma once

#include "module/interfaces.h"

#include <QList>
#include <QMap>

// Texts from `table` for the current language; otherwise `prefix` and the id, or empty
// without a prefix.
class fake_texts final : public text_provider_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    QString text(int32_t id, int32_t) override {
        const QMap<int32_t, QString> texts = table.value(*language);
        if (texts.contains(id) || prefix.isEmpty())
            return texts.value(id);
        return prefix + QString::number(id);
    }

    QMap<int32_t, QMap<int32_t, QString>> table;
    QString prefix;
    const int32_t* language = nullptr;
};

class fake_center final : public ctrl_center_i, public listener_mgr_i, public language_source_i {
public:
    fake_center() { texts.language = &language; }
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i)
            return static_cast<ctrl_center_i*>(this);
        if (iid == iid_listener_mgr_i)
            return static_cast<listener_mgr_i*>(this);
        if (iid == iid_language_source_i)
            return static_cast<language_source_i*>(this);
        return nullptr;
    }
    void release() override {}
    void add_listener(listener_i* l) override {
        if (!listeners.contains(l))
            listeners.append(l);
    }
    void remove_listener(listener_i* l) override { listeners.removeOne(l); }
    int32_t current_language() override { return language; }
    void kernel_command(product_kernel_i*, int32_t, const QString&) override {}
    void center_reserved_3() override {}
    void center_reserved_4() override {}
    hub_i* get_hub() override { return hub; }
    void center_reserved_6() override {}
    text_provider_i* get_text_provider() override { return has_texts ? &texts : nullptr; }
    interface_i* get_service(int32_t) override { return nullptr; }
    product_kernel_i* current_kernel() override { return shown; }
    void center_reserved_10() override {}
    uint8_t current_profile_slot() override { return slot; }
    QWidget* profile_object(int32_t) override { return nullptr; }
    void center_reserved_13() override {}
    void center_reserved_14() override {}
    void everything_reset(int32_t) override {}
    void set_busy(bool, int32_t, int32_t) override {}
    void set_live_mode(bool) override {}

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

    QList<listener_i*> listeners;
    fake_texts texts;
    bool has_texts = true;
    hub_i* hub = nullptr;
    int32_t language = 0;
    product_kernel_i* shown = nullptr;
    uint8_t slot = 0xFF;
};
