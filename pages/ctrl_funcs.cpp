#include "pages/ctrl_funcs.h"

ctrl_funcs_c::~ctrl_funcs_c() {
    const QList<listener_i*> listeners = m_listeners;
    m_listeners.clear();
    for (listener_i* l : listeners)
        l->manager_closing(static_cast<listener_mgr_i*>(this));
}

interface_i* ctrl_funcs_c::query_interface(const GUID& iid) {
    if (iid == iid_interface_i || iid == iid_ctrl_funcs_i)
        return static_cast<ctrl_funcs_i*>(this);
    if (iid == iid_listener_mgr_i)
        return static_cast<listener_mgr_i*>(this);
    if (iid == iid_ctrl_funcs_box_fm_client_i)
        return static_cast<ctrl_funcs_box_fm_client_i*>(this);
    return nullptr;
}

void ctrl_funcs_c::release() {
    delete this;
}

void ctrl_funcs_c::set_context(product_kernel_i* kernel, product_function_page_i* page) {
    m_kernel = kernel;
    m_page = page;
}

void ctrl_funcs_c::set_favorite(bool on) {
    // Pages repeat the mark on every refresh; only a change reaches the kernel.
    if (on == m_favorite)
        return;
    m_favorite = on;
    if (m_kernel) {
        if (on)
            m_kernel->add_favorite_ctrl(this);
        else
            m_kernel->remove_favorite_ctrl(this);
    }
    favorite_changed();
}

void ctrl_funcs_c::add_listener(listener_i* listener) {
    if (listener && !m_listeners.contains(listener))
        m_listeners.append(listener);
}

void ctrl_funcs_c::remove_listener(listener_i* listener) {
    m_listeners.removeOne(listener);
}

void ctrl_funcs_c::reset_requested() {
    if (m_page)
        m_page->reset_ctrl(this);
}
