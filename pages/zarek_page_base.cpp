#include "pages/zarek_page_base.h"

#include "common/utilities.h"
#include "kernel/zarek_kernel.h"
#include "module/module.h"
#include "pages/tab_button.h"

#include <QFontMetrics>

zarek_page_base_c::zarek_page_base_c(product_kernel_i* kernel)
    : m_kernel(kernel) {
    connect_listener(m_kernel, static_cast<listener_i*>(this));
    connect_listener(module_ctrl_center(), static_cast<listener_i*>(this));
}

zarek_page_base_c::~zarek_page_base_c() {
    disconnect_listener(m_kernel, static_cast<listener_i*>(this));
    disconnect_listener(module_ctrl_center(), static_cast<listener_i*>(this));
}

interface_i* zarek_page_base_c::query_interface(const GUID& iid) {
    if (iid == iid_interface_i || iid == iid_listener_i)
        return static_cast<listener_i*>(this);
    if (iid == iid_language_listener_i)
        return static_cast<language_listener_i*>(this);
    if (iid == iid_ctrl_center_listener_i)
        return static_cast<ctrl_center_listener_i*>(this);
    if (iid == iid_product_kernel_listener_i)
        return static_cast<product_kernel_listener_i*>(this);
    return nullptr;
}

void zarek_page_base_c::release() {
    delete this;
}

void zarek_page_base_c::manager_closing(listener_mgr_i*) {}

void zarek_page_base_c::update() {}

void zarek_page_base_c::language_changed(language_source_i*, void*) {
    if (!m_tab_button)
        return;
    const QString text = m_tab_button->text();
    // An icon tab has no title and keeps the width it was given.
    if (text.isEmpty())
        return;
    m_tab_button->setFixedWidth(m_tab_button->fontMetrics().horizontalAdvance(text) +
                                tab_button_text_margin);
}

void zarek_page_base_c::product_event(int32_t) {}

void zarek_page_base_c::current_kernel_changed(product_kernel_i*) {
    ctrl_center_i* center = m_kernel ? m_kernel->ctrl_center() : nullptr;
    product_kernel_i* shown = center ? center->current_kernel() : nullptr;
    // The host takes the buttons of the device it stops showing; ours may be gone.
    if (!shown || !same_object(shown, m_kernel))
        m_tab_button = nullptr;
}

void zarek_page_base_c::ctrl_center_notice(int32_t) {}

void zarek_page_base_c::current_profile_changed() {
    update();
}

void zarek_page_base_c::data_changed() {
    update();
}

void zarek_page_base_c::everything_reset() {}

QString zarek_page_base_c::host_text(int32_t text_id) {
    ctrl_center_i* center = module_ctrl_center();
    text_provider_i* texts = center ? center->get_text_provider() : nullptr;
    return texts ? texts->text(text_id, 0) : QString();
}

uint8_t zarek_page_base_c::current_profile_slot() {
    ctrl_center_i* center = module_ctrl_center();
    const uint8_t slot = center ? center->current_profile_slot() : 0xFF;
    return slot == 0xFF ? 0 : slot;
}

QPushButton* zarek_page_base_c::create_text_tab_button(int32_t text_id) {
    return create_tab_button_with(host_text(text_id), text_tab_images());
}

QPushButton* zarek_page_base_c::create_tab_button_with(const QString& title,
                                                       const tab_images& images) {
    m_tab_button = new_tab_button(title, images);
    return m_tab_button;
}

zarek_data_c* zarek_page_base_c::profile_set() const {
    return profile_set_of(m_kernel);
}
