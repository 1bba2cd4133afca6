#include "host/ctrl_center.h"

#include "host/host_log.h"

ctrl_center_c::ctrl_center_c(QObject* parent)
    : QObject(parent)
    , m_texts([this] { return m_language; }) {
    qRegisterMetaType<product_kernel_i*>();
}

ctrl_center_c::~ctrl_center_c() {
    // Listeners still registered must stop using this manager.
    const QVector<listener_i*> remaining = m_listeners;
    m_listeners.clear();
    for (listener_i* listener : remaining)
        listener->manager_closing(this);
}

interface_i* ctrl_center_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value)
        return static_cast<ctrl_center_i*>(this);
    if (iid == iid_of<listener_mgr_i>::value)
        return static_cast<listener_mgr_i*>(this);
    if (iid == iid_of<language_source_i>::value)
        return static_cast<language_source_i*>(this);
    return nullptr;
}

void ctrl_center_c::kernel_command(product_kernel_i* kernel, int32_t code, const QString& text) {
    qCDebug(lc_koral) << "kernel command" << code << text;
    m_commands.append({kernel, code, text});
    emit kernel_command_received(kernel, code, text);
}

void ctrl_center_c::set_service(int32_t id, interface_i* service) {
    if (service)
        m_services.insert(id, service);
    else
        m_services.remove(id);
}

void ctrl_center_c::everything_reset(int32_t value) {
    m_reset_calls.append(value);
    emit everything_reset_requested();
}

void ctrl_center_c::set_busy(bool on, int32_t a, int32_t b) {
    m_busy_calls.append({on, a, b});
    if (m_busy == on)
        return;
    m_busy = on;
    emit busy_changed(on);
}

void ctrl_center_c::set_live_mode(bool on) {
    m_live_mode_calls.append(on);
    if (m_live_mode == on)
        return;
    m_live_mode = on;
    emit live_mode_changed(on);
}

void ctrl_center_c::add_listener(listener_i* listener) {
    if (listener && !m_listeners.contains(listener))
        m_listeners.append(listener);
}

void ctrl_center_c::remove_listener(listener_i* listener) {
    m_listeners.removeOne(listener);
}

int32_t ctrl_center_c::current_language() {
    ++m_language_queries;
    return m_language;
}

template <class T, class F>
void ctrl_center_c::notify(F notify) {
    const QVector<listener_i*> round = m_listeners;
    for (listener_i* listener : round) {
        if (!m_listeners.contains(listener))
            continue;
        if (T* target = query<T>(listener))
            notify(target);
    }
}

void ctrl_center_c::set_language(int32_t id) {
    m_language = id;
    language_source_i* source = this;
    notify<language_listener_i>(
        [source](language_listener_i* l) { l->language_changed(source, nullptr); });
    emit language_switched(id);
}

void ctrl_center_c::set_current_kernel(product_kernel_i* kernel) {
    product_kernel_i* left = m_current_kernel;
    m_current_kernel = kernel;
    notify<ctrl_center_listener_i>(
        [left](ctrl_center_listener_i* l) { l->current_kernel_changed(left); });
}

QWidget* ctrl_center_c::profile_object(int32_t slot) {
    if (slot < 0 || slot >= int32_t(m_profile_objects.size())) {
        qCWarning(lc_koral, "The module asked for the tile of profile slot %d, which is no slot",
                  slot);
        return nullptr;
    }
    return m_profile_objects[std::size_t(slot)];
}

void ctrl_center_c::set_profile_object(int slot, QWidget* tile) {
    if (slot >= 0 && slot < int(m_profile_objects.size()))
        m_profile_objects[std::size_t(slot)] = tile;
}

void ctrl_center_c::send_product_event(int32_t product_type) {
    notify<ctrl_center_listener_i>(
        [product_type](ctrl_center_listener_i* l) { l->product_event(product_type); });
}

void ctrl_center_c::send_notice(int32_t value) {
    notify<ctrl_center_listener_i>(
        [value](ctrl_center_listener_i* l) { l->ctrl_center_notice(value); });
}
