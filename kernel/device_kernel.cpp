#include "kernel/device_kernel.h"

#include "buttons/macro_store.h"
#include "common/log.h"
#include "common/utilities.h"
#include "kernel/zarek_data.h"
#include "module/global_func.h"
#include "module/macro_interfaces.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QSharedMemory>

device_kernel_c::device_kernel_c() {
    m_prepare_timer.setSingleShot(true);
    m_prepare_timer.setInterval(0);
    QObject::connect(&m_prepare_timer, &QTimer::timeout, [this] { prepare_next_segment(); });
}

device_kernel_c::~device_kernel_c() {
    write_log(QStringLiteral("On device kernel releasing"));
    connect_to_host(false);
    release_effects();
    const QList<listener_i*> listeners = m_listeners;
    for (listener_i* l : listeners)
        l->manager_closing(static_cast<listener_mgr_i*>(this));
    m_listeners.clear();
    write_log(QStringLiteral("On device kernel release finish"));
    release_pages();
    m_pool.clear();
}

interface_i* device_kernel_c::query_interface(const GUID& iid) {
    if (iid == iid_interface_i || iid == iid_product_kernel_i)
        return static_cast<product_kernel_i*>(this);
    if (iid == iid_listener_mgr_i)
        return static_cast<listener_mgr_i*>(this);
    if (iid == iid_ctrl_center_listener_i)
        return static_cast<ctrl_center_listener_i*>(this);
    if (iid == iid_macro_listener_i)
        return static_cast<macro_listener_i*>(this);
    if (iid == iid_listener_i)
        return static_cast<listener_i*>(this);
    return nullptr;
}

void device_kernel_c::release() {
    delete this;
}

void device_kernel_c::connect_to_host(bool on) {
    if (!m_ctrl_center)
        return;
    auto* self = static_cast<product_kernel_i*>(this);
    hub_i* hub = m_ctrl_center->get_hub();
    if (on) {
        connect_listener(m_ctrl_center, self);
        connect_listener(hub, self);
    } else {
        disconnect_listener(m_ctrl_center, self);
        disconnect_listener(hub, self);
    }
}

void device_kernel_c::attach(ctrl_center_i* center, QWidget* parent) {
    const QList<product_function_page_i*> created = create_pages();
    for (product_function_page_i* p : created)
        p->init();
    // The page list starts with the favorites page; the host shows tabs in this order.
    for (int32_t type : {page_type::favorites, page_type::main, page_type::button_assignment,
                         page_type::advanced}) {
        for (product_function_page_i* p : created) {
            if (p->page_id() == type && !m_pages_by_type.contains(type)) {
                m_pages_by_type.insert(type, p);
                m_pages.append(p);
            }
        }
    }
    // A page whose type is not one of the four is still the kernel's to release.
    for (product_function_page_i* p : created) {
        if (!m_pages.contains(p))
            p->release();
    }
    m_ctrl_center = center;
    m_parent = parent;
    connect_to_host(true);
}

product_function_page_i* device_kernel_c::page(int32_t type) {
    return m_pages_by_type.value(type);
}

product_function_page_i* device_kernel_c::page_at(int32_t i) {
    return (i >= 0 && i < m_pages.size()) ? m_pages.at(i) : nullptr;
}

void device_kernel_c::open_page(int32_t type) {
    if (m_current_page && m_current_page->page_id() == type)
        return;
    write_log(QStringLiteral("Open page type : %1").arg(type));
    if (m_current_page)
        close_page();
    m_current_page = page(type);
    if (m_current_page) {
        m_current_page->set_parent_widget(m_parent);
        m_current_page->open_page();
    }
}

void device_kernel_c::close_page() {
    if (!m_current_page)
        return;
    m_current_page->close_page();
    m_current_page = nullptr;
}

void device_kernel_c::release_pages() {
    if (m_current_page)
        close_page();
    const QList<product_function_page_i*> pages = m_pages;
    m_pages.clear();
    m_pages_by_type.clear();
    for (product_function_page_i* p : pages)
        p->release();
}

void device_kernel_c::add_favorite_ctrl(ctrl_funcs_i* ctrl) {
    if (!ctrl)
        return;
    if (!m_favorite_ctrls.contains(ctrl))
        m_favorite_ctrls.append(ctrl);
    add_favorite(ctrl);
}

void device_kernel_c::remove_favorite_ctrl(ctrl_funcs_i* ctrl) {
    m_favorite_ctrls.removeAll(ctrl);
    remove_favorite(ctrl);
}

ctrl_funcs_i* device_kernel_c::favorite_ctrl(uint8_t i) {
    if (i >= m_favorite_ctrls.size())
        return nullptr;
    const int32_t type = favorite_item(i);
    for (ctrl_funcs_i* c : qAsConst(m_favorite_ctrls)) {
        if (c->ctrl_type() == type)
            return c;
    }
    return nullptr;
}

void device_kernel_c::add_favorite(ctrl_funcs_i* ctrl) {
    zarek_data_c* set = data();
    if (!ctrl || !set)
        return;
    const int32_t type = ctrl->ctrl_type();
    if (set->favourites().contains(type))
        return;
    set->favourites().append(type);
    set->save_favourites();
    if (auto* favorites = query<favorites_function_page_i>(page(page_type::favorites)))
        favorites->add_favorite(ctrl);
}

void device_kernel_c::remove_favorite(ctrl_funcs_i* ctrl) {
    zarek_data_c* set = data();
    if (!ctrl || !set)
        return;
    set->favourites().removeOne(ctrl->ctrl_type());
    set->save_favourites();
    if (auto* favorites = query<favorites_function_page_i>(page(page_type::favorites)))
        favorites->remove_favorite(ctrl);
}

void device_kernel_c::send_command(int32_t code, const QString& text) {
    if (m_ctrl_center)
        m_ctrl_center->kernel_command(this, code, text);
}

QString device_kernel_c::publish_blob(QBuffer* buffer) {
    if (!buffer)
        return {};
    const QByteArray& bytes = buffer->data();
    QSharedMemory* segment =
        m_pool.fresh_segment(global_func().shared_memory_prefix(product_type()), bytes.size());
    if (!segment)
        return {};
    shm_pool::write_segment(segment, bytes);
    // Whatever was published, the next profile-set blob finds its segment ready.
    m_prepare_timer.start();
    return segment->key();
}

QString device_kernel_c::publish_set(QByteArray& blob) {
    m_blob_size = blob.size();
    QBuffer buffer(&blob);
    buffer.open(QIODevice::ReadOnly);
    return publish_blob(&buffer);
}

void device_kernel_c::prepare_next_segment() {
    // Before the first load nothing is published, so nothing is made ahead.
    if (m_checksum.isEmpty() || m_blob_size < 1) {
        m_pool.purge();
        return;
    }
    m_pool.prepare(global_func().shared_memory_prefix(product_type()), m_blob_size);
}

uint8_t* device_kernel_c::btn_data(uint8_t slot, uint8_t button) {
    zarek_data_c* set = data();
    if (!set || slot >= 5)
        return nullptr;
    btn_data_map& map = set->data_map(slot);
    auto it = map.find(button);
    return it == map.end() ? nullptr : it->data();
}

void device_kernel_c::add_kernel_listener(listener_i* listener) {
    if (listener && !m_listeners.contains(listener))
        m_listeners.append(listener);
}

void device_kernel_c::remove_kernel_listener(listener_i* listener) {
    m_listeners.removeOne(listener);
}

void device_kernel_c::notify_kernel(int kind) {
    // A listener may leave the list while it is being told.
    const QList<listener_i*> listeners = m_listeners;
    for (listener_i* l : listeners) {
        auto* k = query<product_kernel_listener_i>(l);
        if (!k)
            continue;
        if (kind == 1)
            k->current_profile_changed();
        else if (kind == 0)
            k->data_changed();
        else if (kind == 2)
            k->everything_reset();
    }
}

void device_kernel_c::notify_profile(const std::function<void(product_profile_listener_i*)>& f) {
    const QList<listener_i*> listeners = m_listeners;
    for (listener_i* l : listeners) {
        if (auto* p = query<product_profile_listener_i>(l))
            f(p);
    }
}

QByteArray device_kernel_c::write_and_remember() {
    QByteArray blob;
    if (zarek_data_c* set = data())
        set->write_all(&blob);
    m_checksum =
        QString::fromLatin1(QCryptographicHash::hash(blob, QCryptographicHash::Md5).toHex());
    m_blob_size = blob.size();
    m_prepare_timer.start();
    return blob;
}

void device_kernel_c::refresh_effect(int slot) {
    if (slot >= 0 && slot < m_effects.size() && m_effects.at(slot))
        m_effects.at(slot)->refresh();
}

void device_kernel_c::refresh_effects() {
    for (int i = 0; i < m_effects.size(); ++i)
        refresh_effect(i);
}

void device_kernel_c::release_effects() {
    const QList<profile_led_effect_fm_i*> effects = m_effects;
    m_effects.clear();
    for (profile_led_effect_fm_i* e : effects) {
        if (e)
            e->release();
    }
}

void device_kernel_c::effect_object_destroyed(profile_led_effect_fm_i* effect) {
    // The list is indexed by profile slot: the entry stays, empty.
    for (profile_led_effect_fm_i*& e : m_effects) {
        if (e == effect)
            e = nullptr;
    }
}

void device_kernel_c::reset_pages_profile(int slot) {
    for (product_function_page_i* p : qAsConst(m_pages))
        p->reset_profile(slot, false);
}

void device_kernel_c::on_current_kernel_changed(product_kernel_i* kernel) {
    if (same_object(kernel, static_cast<product_kernel_i*>(this))) {
        release_effects();
        return;
    }
    if (!m_ctrl_center ||
        !same_object(m_ctrl_center->current_kernel(), static_cast<product_kernel_i*>(this)))
        return;
    release_effects();
    for (int slot = 0; slot < 5; ++slot) {
        profile_led_effect_fm_i* effect = create_effect_object();
        if (effect)
            effect->attach(m_ctrl_center->profile_object(slot), slot);
        m_effects.append(effect);
    }
}

bool device_kernel_c::on_macros_changed(const QList<library_item>& items) {
    zarek_data_c* set = data();
    if (!set)
        return false;
    bool any = false;
    for (const library_item& item : items) {
        for (int slot = 0; slot < set->count(); ++slot) {
            btn_assign_rec& assign = set->btn_assign(slot);
            for (int k = 0; k < button_count; ++k) {
                if (assign.get(k).code != macro_button_code)
                    continue;
                const macro_match m = match_and_refresh(product_type(), item, set->macro(slot, k));
                any = any || m.matched;
                if (m.gone)
                    set->restore_default_entry(k, assign.entry(k));
            }
        }
    }
    // The preset files mirror the library: a changed, renamed or deleted macro
    // reaches them whether or not a button of this mouse carries it.
    if (macro_library_i* library = host_macro_library())
        write_preset_macros(library);
    else
        write_log(QStringLiteral("Macros changed, but the host offers no macro library; the "
                                 "preset macro files stay as they are"));
    return any;
}

macro_library_i* device_kernel_c::host_macro_library() const {
    hub_i* hub = m_ctrl_center ? m_ctrl_center->get_hub() : nullptr;
    return hub ? hub->macro_library() : nullptr;
}

void device_kernel_c::write_preset_macros(macro_library_i* library) {
    if (library)
        write_all_preset_files(library_groups(library));
}
