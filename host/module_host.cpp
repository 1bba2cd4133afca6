#include "host/module_host.h"

#include "host/components/host_components.h"
#include "host/ctrl_center.h"
#include "host/host_log.h"
#include "host/hub.h"
#include "host/profile_service.h"

#include <utility>

module_host_c::module_host_c(ctrl_center_c* centre, QObject* parent)
    : QObject(parent)
    , m_centre(centre)
    , m_component_context(centre) {
    // Every kernel asks for a profile service of its own when it is made.
    add_component_class(class_id::profile_service, [] {
        return static_cast<interface_i*>(static_cast<profile_service_i*>(new profile_service_c));
    });
    // The boxes, sliders and value controls of the module's pages.
    for (const host_component_class_t& component : host_component_classes(&m_component_context))
        add_component_class(component.class_id, component.make);
    if (!centre)
        return;
    connect(centre, &ctrl_center_c::language_switched, &m_component_context,
            &component_context_c::language_changed);
    // The options the pointer and scroll controls show are the hub's to keep.
    connect(&m_component_context, &component_context_c::hub_option_changed, this,
            [centre](int index, int value) {
                if (auto* hub = dynamic_cast<hub_c*>(centre->get_hub()))
                    hub->set_value(index, value);
            });
}

interface_i* module_host_c::query_interface(const GUID& iid) {
    return iid == iid_of<interface_i>::value ? this : nullptr;
}

ctrl_center_i* module_host_c::get_app() {
    return m_centre;
}

void module_host_c::register_factory(factory_fn factory, int32_t class_id) {
    m_journal.append({call_t::register_factory, class_id});
    if (!factory) {
        qCWarning(lc_koral, "The module registered class 0x%04X without a factory", class_id);
        return;
    }
    m_factories.insert(class_id, factory);
    emit factory_registered(class_id);
}

void module_host_c::unregister_factory(int32_t class_id) {
    m_journal.append({call_t::unregister_factory, class_id});
    if (m_factories.remove(class_id) > 0)
        emit factory_unregistered(class_id);
}

interface_i* module_host_c::create_module_object(int32_t class_id) {
    const factory_fn factory = m_factories.value(class_id);
    return factory ? factory() : nullptr;
}

void module_host_c::add_component_class(int32_t class_id, component_maker maker) {
    m_components.insert(class_id, std::move(maker));
}

interface_i* module_host_c::create_instance(int32_t class_id, const GUID& iid) {
    interface_i* answer = nullptr;
    const auto maker = m_components.constFind(class_id);
    if (maker != m_components.constEnd() && *maker) {
        if (interface_i* object = (*maker)()) {
            answer = object->query_interface(iid);
            // A component that lacks the interface is of no use to the caller.
            if (!answer)
                object->release();
        }
    }
    m_instance_requests.append({class_id, iid, answer != nullptr});
    if (!answer)
        qCDebug(lc_koral, "No host component for class 0x%04X", class_id);
    return answer;
}
