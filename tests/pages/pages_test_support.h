// Fakes shared by the page suites: a host whose control centre records its listeners,
// speaks a language and hands out texts; a kernel that journals what controls tell it;
// controls and pages that record the calls they receive.
#pragma once

#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "module/kernel_host_interfaces.h"
#include "module/module.h"
#include "module/page_interfaces.h"
#include "pages/ctrl_funcs.h"

#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

// Host texts by language; a missing text reads empty.
class fake_texts final : public text_provider_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return (iid == iid_interface_i) ? this : nullptr;
    }
    void release() override {}
    QString text(int32_t id, int32_t variant) override {
        asked.append({id, variant});
        return table.value(*language).value(id);
    }

    QMap<int32_t, QMap<int32_t, QString>> table;
    const int32_t* language = nullptr;
    QList<QPair<int32_t, int32_t>> asked;
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
    hub_i* get_hub() override { return nullptr; }
    void center_reserved_6() override {}
    text_provider_i* get_text_provider() override { return with_texts ? &texts : nullptr; }
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
    bool with_texts = true;
    int32_t language = 0;
    product_kernel_i* shown = nullptr;
    uint8_t slot = 0xFF;
};

class fake_host final : public module_host_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    void host_reserved_2() override {}
    ctrl_center_i* get_app() override { return with_center ? &center : nullptr; }
    void register_factory(factory_fn, int32_t) override {}
    void unregister_factory(int32_t) override {}
    // No host components: the pages under test need none.
    interface_i* create_instance(int32_t, const GUID&) override { return nullptr; }

    fake_center center;
    bool with_center = true;
};

// The real kernel, with a journal of what its controls and pages tell it.
class journal_kernel final : public zarek_kernel_c {
public:
    explicit journal_kernel(QStringList* journal)
        : zarek_kernel_c(product_type::black)
        , m_journal(journal) {}
    void add_favorite_ctrl(ctrl_funcs_i* ctrl) override {
        m_journal->append(QStringLiteral("kernel add %1").arg(ctrl->ctrl_type()));
        zarek_kernel_c::add_favorite_ctrl(ctrl);
    }
    void remove_favorite_ctrl(ctrl_funcs_i* ctrl) override {
        m_journal->append(QStringLiteral("kernel remove %1").arg(ctrl->ctrl_type()));
        zarek_kernel_c::remove_favorite_ctrl(ctrl);
    }

private:
    QStringList* m_journal;
};

// A control of the module's kind: its box is a child widget of the panel.
class probe_ctrl final : public ctrl_funcs_c {
public:
    probe_ctrl(int32_t type, QStringList* journal, int32_t span = 1, int box_height = 100)
        : m_type(type)
        , m_span(span)
        , m_box_height(box_height)
        , m_journal(journal) {}
    void create_box(QWidget* panel) override {
        m_journal->append(QStringLiteral("create_box %1").arg(m_type));
        if (!panel)
            return;
        delete m_box;
        m_box = new QWidget(panel);
        m_box->setObjectName(QStringLiteral("box_%1").arg(m_type));
        panel->resize(panel->width(), m_box_height);
    }
    void close_box() override {
        m_journal->append(QStringLiteral("close_box %1").arg(m_type));
        delete m_box;
    }
    int32_t ctrl_type() override { return m_type; }
    int32_t box_span() override { return m_span; }
    void favorite_changed() override {
        m_journal->append(QStringLiteral("favorite_changed %1 %2").arg(m_type).arg(is_favorite()));
    }

    QWidget* box() const { return m_box; }

private:
    int32_t m_type;
    int32_t m_span;
    int m_box_height;
    QStringList* m_journal;
    QPointer<QWidget> m_box;
};

// A page that only hands out its controls and records resets.
class probe_page final : public product_function_page_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return (iid == iid_interface_i || iid == iid_product_function_page_i) ? this : nullptr;
    }
    void release() override {}
    void init() override {}
    int32_t page_id() override { return 0; }
    ctrl_funcs_i* ctrl_funcs(int32_t type) override { return controls.value(type); }
    void set_parent_widget(QWidget*) override {}
    void reset_all() override {}
    void reset_profile(int32_t, bool) override {}
    void reset_ctrl(ctrl_funcs_i* ctrl) override { resets.append(ctrl); }
    QPushButton* create_tab_button() override { return nullptr; }
    void open_page() override {}
    void close_page() override {}

    QMap<int32_t, ctrl_funcs_i*> controls;
    QList<ctrl_funcs_i*> resets;
};

// A listener that records what it hears; optionally a DPI listener as well.
class probe_listener final : public listener_i, public dpi_switcher_ctrl_funcs_listener_i {
public:
    explicit probe_listener(QString name, bool dpi = false)
        : m_name(std::move(name))
        , m_dpi(dpi) {}
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_listener_i)
            return static_cast<listener_i*>(this);
        if (m_dpi && iid == iid_dpi_switcher_ctrl_funcs_listener_i)
            return static_cast<dpi_switcher_ctrl_funcs_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i* manager) override {
        closing.append(manager);
        journal->append(m_name + QStringLiteral(" closing"));
    }
    void update() override {}
    void step_enabled_changed(int32_t step, bool on) override {
        journal->append(QStringLiteral("%1 step %2 %3").arg(m_name).arg(step).arg(on));
    }
    void step_dpi_changed(int32_t, int32_t) override {}
    void active_step_changed(int32_t) override {}

    QStringList* journal = nullptr;
    QList<listener_mgr_i*> closing;

private:
    QString m_name;
    bool m_dpi;
};
