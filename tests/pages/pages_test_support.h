// Fakes of the page suites around the shared host: a kernel that journals what controls
// tell it, and controls, pages and listeners that record the calls they receive.
#pragma once

#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "module/kernel_host_interfaces.h"
#include "module/module.h"
#include "pages/ctrl_funcs.h"
#include "support/fake_host.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

// The real kernel, with a journal of the favourite controls it is given.
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

// A control of the module's kind: its box is a child widget that sets the panel's height.
class probe_ctrl final : public ctrl_funcs_c {
public:
    probe_ctrl(int32_t type, QStringList* journal, int32_t span = 1, int box_height = 100)
        : m_type(type)
        , m_span(span)
        , m_box_height(box_height)
        , m_journal(journal) {}
    void create_box(QWidget* panel) override {
        m_journal->append(QStringLiteral("create_box %1").arg(m_type));
        delete m_box;
        m_box = new QWidget(panel);
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

// A page that only hands out its controls and records control resets.
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

// A listener that journals what it hears under its name; optionally a DPI listener too.
class probe_listener final : public listener_i, public dpi_switcher_ctrl_funcs_listener_i {
public:
    probe_listener(QString name, QStringList* journal, bool dpi = false)
        : m_name(std::move(name))
        , m_journal(journal)
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
        m_journal->append(m_name + QStringLiteral(" closing"));
    }
    void update() override {}
    void step_enabled_changed(int32_t step, bool on) override {
        m_journal->append(QStringLiteral("%1 step %2 %3").arg(m_name).arg(step).arg(on));
    }
    void step_dpi_changed(int32_t, int32_t) override {}
    void active_step_changed(int32_t) override {}

    QList<listener_mgr_i*> closing;

private:
    QString m_name;
    QStringList* m_journal;
    bool m_dpi;
};
