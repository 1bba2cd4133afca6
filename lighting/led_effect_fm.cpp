#include "lighting/led_effect_fm.h"

#include "common/log.h"
#include "common/utilities.h"
#include "kernel/device_kernel.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "lighting/led_effect_tool.h"
#include "pages/zarek_page_base.h"

namespace {

constexpr QPoint place_in_tile(5, 20);

const char* const mask_top_on = ":/graphics/profile/Overlay_active-profile_TOP.png";
const char* const mask_top_off = ":/graphics/profile/Overlay_inactive-profile_TOP.png";
const char* const mask_bottom_on = ":/graphics/profile/Overlay_active-profile_BOTTOM.png";
const char* const mask_bottom_off = ":/graphics/profile/Overlay_inactive-profile_BOTTOM.png";

} // namespace

led_effect_fm_c::led_effect_fm_c(product_kernel_i* kernel)
    : m_kernel(kernel) {
    m_ui.setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    m_ui.wg_top_mask->set_pictures(QString::fromLatin1(mask_top_on),
                                   QString::fromLatin1(mask_top_off));
    m_ui.wg_btm_mask->set_pictures(QString::fromLatin1(mask_bottom_on),
                                   QString::fromLatin1(mask_bottom_off));
    hide();
}

led_effect_fm_c::~led_effect_fm_c() {
    if (!m_released) {
        // The host's profile widget went first and took the preview along: the kernel
        // must not touch it again.
        write_log(QStringLiteral("Lighting preview of profile slot %1: destroyed with the "
                                 "host's widget before the kernel released it")
                      .arg(m_slot));
        if (auto* kernel = dynamic_cast<device_kernel_c*>(m_kernel))
            kernel->effect_object_destroyed(this);
    }
    listen(false);
}

interface_i* led_effect_fm_c::query_interface(const GUID& iid) {
    if (iid == iid_interface_i || iid == iid_profile_led_effect_fm_i)
        return static_cast<profile_led_effect_fm_i*>(this);
    if (iid == iid_listener_i)
        return static_cast<listener_i*>(this);
    if (iid == iid_product_kernel_listener_i)
        return static_cast<product_kernel_listener_i*>(this);
    if (iid == iid_lighting_ctrl_funcs_listener_i)
        return static_cast<lighting_ctrl_funcs_listener_i*>(this);
    if (iid == iid_led_effect_tool_client_i)
        return static_cast<led_effect_tool_client_i*>(this);
    return nullptr;
}

void led_effect_fm_c::release() {
    m_released = true;
    delete this;
}

void led_effect_fm_c::listen(bool on) {
    if (on == m_listening)
        return;
    m_listening = on;
    auto* self = static_cast<listener_i*>(this);
    if (on) {
        connect_listener(m_kernel, self);
        // The lighting control reports the user's changes; the kernel does not hear of them.
        product_function_page_i* page = m_kernel ? m_kernel->page(page_type::advanced) : nullptr;
        m_lighting_ctrl = page ? page->ctrl_funcs(ctrl_type::lighting) : nullptr;
        connect_listener(m_lighting_ctrl, self);
    } else {
        disconnect_listener(m_kernel, self);
        disconnect_listener(m_lighting_ctrl, self);
        m_lighting_ctrl = nullptr;
    }
}

void led_effect_fm_c::attach(QWidget* parent, int32_t profile_slot) {
    m_slot = profile_slot;
    if (!m_tool)
        m_tool = new led_effect_tool_c(this);
    m_tool->set_context(m_kernel, uint8_t(profile_slot), this);
    listen(true);
    if (!parent) {
        // Without a parent the preview would become a window of its own.
        write_log(QStringLiteral("Lighting preview: the host gave no widget for profile slot "
                                 "%1; its preview stays hidden")
                      .arg(profile_slot));
        hide();
        return;
    }
    setParent(parent);
    raise();
    move(place_in_tile);
    refresh();
}

bool led_effect_fm_c::masks_enabled() const {
    return m_ui.wg_top_mask->isEnabled() && m_ui.wg_btm_mask->isEnabled();
}

void led_effect_fm_c::refresh() {
    if (!m_kernel || !m_tool || m_slot < 0 || m_kernel->profile_count() <= m_slot) {
        hide();
        return;
    }
    zarek_data_c* set = profile_set_of(m_kernel);
    const uint8_t flags =
        set ? set->settings(zarek_page_base_c::current_profile_slot()).b[lighting_byte::flags] : 0;
    const bool lit = flags != 0;
    if (!lit)
        show_led_colors(0, 0, 0, 0, 0, 0, 0, 0);
    m_ui.wg_top_mask->setEnabled(lit);
    m_ui.wg_btm_mask->setEnabled(lit);
    m_tool->restart();
    if (isHidden() && parentWidget())
        show();
}

void led_effect_fm_c::manager_closing(listener_mgr_i* manager) {
    if (manager && same_object(manager, m_kernel))
        m_kernel = nullptr;
    if (manager && same_object(manager, m_lighting_ctrl))
        m_lighting_ctrl = nullptr;
    if (m_tool && !m_kernel)
        m_tool->set_context(nullptr, uint8_t(m_slot), this);
}

void led_effect_fm_c::show_led_colors(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t a1, uint8_t r2,
                                      uint8_t g2, uint8_t b2, uint8_t a2) {
    // The fields repaint only when their colour changes.
    m_ui.wg_top_bg->set_colour(QColor(r1, g1, b1, a1));
    m_ui.wg_btm_bg->set_colour(QColor(r2, g2, b2, a2));
}
