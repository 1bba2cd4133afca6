// The base of the module's controls: context, favourite mark, listeners and the
// reset request of the control's box.
#pragma once

#include "module/kernel_host_interfaces.h"
#include "module/page_interfaces.h"

#include <QList>

// A concrete control implements create_box, close_box and ctrl_type. When it adds
// interfaces of its own it overrides query_interface (its interfaces first, then
// ctrl_funcs_c::query_interface) and release (deferring to ctrl_funcs_c::release).
class ctrl_funcs_c : public ctrl_funcs_i, public listener_mgr_i, public ctrl_funcs_box_fm_client_i {
public:
    ctrl_funcs_c() = default;
    ctrl_funcs_c(const ctrl_funcs_c&) = delete;
    ctrl_funcs_c& operator=(const ctrl_funcs_c&) = delete;

    // Answers interface_i (with the ctrl_funcs_i sub-object), ctrl_funcs_i, listener_mgr_i
    // and ctrl_funcs_box_fm_client_i.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // ctrl_funcs_i
    void set_context(product_kernel_i* kernel, product_function_page_i* page) override;
    void create_box(QWidget* panel) override = 0;
    void close_box() override = 0;
    int32_t ctrl_type() override = 0;
    bool is_favorite() override { return m_favorite; }
    // Stores a changed mark, tells the kernel (when there is one), then favorite_changed().
    void set_favorite(bool on) override;
    int32_t box_span() override { return 1; }
    void favorite_changed() override {}

    // Tells every listener still registered that this manager closes.
    virtual ~ctrl_funcs_c();

    // Own operations, in slot order (listener_mgr_i and the box's client land here).
    // Appends unless present.
    void add_listener(listener_i* listener) override;
    // Removes the first occurrence; an absent listener is ignored.
    void remove_listener(listener_i* listener) override;
    // The box asks for a reset: the page resets this control.
    void reset_requested() override;

    product_kernel_i* kernel() const { return m_kernel; }
    product_function_page_i* page() const { return m_page; }
    const QList<listener_i*>& listeners() const { return m_listeners; }

    // Calls f(T*) for every listener, in registration order, that answers interface T.
    // Works on a copy of the list, so a listener may leave while it is being told.
    template <class T, class F>
    void for_each_listener(F&& f) const {
        const QList<listener_i*> listeners = m_listeners;
        for (listener_i* l : listeners) {
            if (T* t = query<T>(l))
                f(t);
        }
    }

private:
    product_kernel_i* m_kernel = nullptr;
    product_function_page_i* m_page = nullptr;
    bool m_favorite = false;
    QList<listener_i*> m_listeners;
};
