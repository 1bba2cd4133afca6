// The host as the module sees it from init_module on: it keeps the module's
// factories and makes the host's own components on request.
#pragma once

#include "host/components/component_context.h"
#include "module/interfaces.h"

#include <QMap>
#include <QObject>
#include <QVector>
#include <functional>

class ctrl_center_c;

class module_host_c : public QObject, public module_host_i {
    Q_OBJECT
public:
    enum class call_t { register_factory, unregister_factory };
    struct journal_entry_t {
        call_t call;
        int32_t class_id;
    };
    struct instance_request_t {
        int32_t class_id;
        GUID iid;
        bool answered;
    };
    // Makes a new host component; null when it cannot.
    using component_maker = std::function<interface_i*()>;

    explicit module_host_c(ctrl_center_c* centre, QObject* parent = nullptr);

    interface_i* query_interface(const GUID& iid) override;
    // The host lives as long as the program; the module never ends it.
    void release() override {}
    void host_reserved_2() override {}
    ctrl_center_i* get_app() override;
    void register_factory(factory_fn factory, int32_t class_id) override;
    void unregister_factory(int32_t class_id) override;
    interface_i* create_instance(int32_t class_id, const GUID& iid) override;

    // The host's side: the module's classes.
    bool has_factory(int32_t class_id) const { return m_factories.contains(class_id); }
    QList<int32_t> registered_classes() const { return m_factories.keys(); }
    // A new object of a module class, or null when the class is not registered
    // or its factory offers nothing.
    interface_i* create_module_object(int32_t class_id);
    QVector<journal_entry_t> journal() const { return m_journal; }

    // The host's own component classes, which the module asks for by class id.
    void add_component_class(int32_t class_id, component_maker maker);
    QVector<instance_request_t> instance_requests() const { return m_instance_requests; }
    // What the host's own components share: texts, language switches, the
    // hub options and the user's edits through them.
    component_context_c* components() { return &m_component_context; }

signals:
    void factory_registered(int class_id);
    void factory_unregistered(int class_id);

private:
    ctrl_center_c* m_centre;
    component_context_c m_component_context;
    QMap<int32_t, factory_fn> m_factories;
    QMap<int32_t, component_maker> m_components;
    QVector<journal_entry_t> m_journal;
    QVector<instance_request_t> m_instance_requests;
};
