#include "buttons/btn_assignment.h"

#include "buttons/btn_assignment_ctrl_func.h"
#include "buttons/btn_assignment_fm.h"
#include "buttons/default_presets.h"
#include "buttons/top_btn_assignment_ctrl_funcs.h"
#include "common/log.h"
#include "kernel/zarek_data.h"

#include <memory>

namespace {

// Button indices of each control, standard layer first, then the Alter-Key[+] layer.
constexpr int side_first = 8, side_last = 19;
constexpr int top_first = 0, top_last = 7;
constexpr int alter_offset = 20;

void restore_defaults(zarek_data_c* data, int slot, int first, int last) {
    btn_assign_rec& assign = data->btn_assign(slot);
    for (int layer = 0; layer <= alter_offset; layer += alter_offset) {
        for (int i = first; i <= last; ++i)
            data->restore_default_entry(i + layer, assign.entry(i + layer));
    }
}

} // namespace

btn_assignment_c::btn_assignment_c(product_kernel_i* kernel)
    : zarek_page_base_c(kernel) {}

btn_assignment_c::~btn_assignment_c() {
    const QMap<int32_t, ctrl_funcs_i*> ctrls = m_ctrls;
    m_ctrls.clear();
    for (ctrl_funcs_i* ctrl : ctrls) {
        ctrl->close_box();
        ctrl->release();
    }
    // Every box is closed already: the form goes without touching the controls again.
    if (m_form) {
        std::unique_ptr<btn_assignment_fm_c> form(m_form.data());
        m_form = nullptr;
        form->hide();
        form->setParent(nullptr);
    }
}

interface_i* btn_assignment_c::query_interface(const GUID& iid) {
    if (iid == iid_product_function_page_i)
        return static_cast<product_function_page_i*>(this);
    return zarek_page_base_c::query_interface(iid);
}

void btn_assignment_c::release() {
    zarek_page_base_c::release();
}

btn_assignment_fm_c* btn_assignment_c::form() const {
    return m_form;
}

void btn_assignment_c::init() {
    // A second init replaces the controls instead of leaking the first ones.
    const QMap<int32_t, ctrl_funcs_i*> earlier = m_ctrls;
    m_ctrls.clear();
    for (ctrl_funcs_i* ctrl : earlier) {
        ctrl->close_box();
        ctrl->release();
    }
    ctrl_funcs_i* side = new btn_assignment_ctrl_func_c(this);
    ctrl_funcs_i* top = new top_btn_assignment_ctrl_funcs_c(this);
    m_ctrls.insert(ctrl_type::button_assignment, side);
    m_ctrls.insert(ctrl_type::top_button_assignment, top);
    side->set_context(kernel(), this);
    top->set_context(kernel(), this);
}

ctrl_funcs_i* btn_assignment_c::ctrl_funcs(int32_t type) {
    return m_ctrls.value(type);
}

void btn_assignment_c::set_parent_widget(QWidget* parent) {
    if (parent)
        m_parent = parent;
}

void btn_assignment_c::load_default_presets() {
    if (!kernel())
        return;
    ::load_default_presets(profile_set());
}

void btn_assignment_c::reset_all() {
    load_default_presets();
    for (int32_t slot = 0; slot < max_profile_slots; ++slot)
        reset_profile(slot, true);
    refresh_box(ctrl_type::button_assignment);
    refresh_box(ctrl_type::top_button_assignment);
}

void btn_assignment_c::reset_profile(int32_t profile_index, bool) {
    if (!kernel() || !zarek_data_c::valid_slot(profile_index))
        return;
    reset_ctrl_for(ctrl_type::button_assignment, profile_index);
    reset_ctrl_for(ctrl_type::top_button_assignment, profile_index);
}

void btn_assignment_c::reset_ctrl(ctrl_funcs_i* ctrl) {
    if (!ctrl)
        return;
    const int32_t type = ctrl->ctrl_type();
    reset_ctrl_for(type, current_profile_slot());
    refresh_box(type);
}

void btn_assignment_c::reset_ctrl_for(int32_t type, int32_t slot) {
    zarek_data_c* data = profile_set();
    if (!data || !zarek_data_c::valid_slot(slot))
        return;
    switch (type) {
    case ctrl_type::button_assignment: {
        const btn_layout_rec preset = side_default_preset(uint8_t(slot));
        data->layout(slot) = preset;
        if (!is_default_preset(data->saved_layouts(), preset))
            data->saved_layouts().append(preset);
        restore_defaults(data, slot, side_first, side_last);
        break;
    }
    case ctrl_type::top_button_assignment:
        restore_defaults(data, slot, top_first, top_last);
        break;
    default:
        write_log(QStringLiteral("Button assignment: no reset for control type %1").arg(type));
        break;
    }
}

void btn_assignment_c::refresh_box(int32_t type) {
    ctrl_funcs_i* ctrl = m_ctrls.value(type);
    if (!ctrl)
        return;
    if (auto* box = query<btn_assignment_ctrl_funcs_i>(ctrl))
        box->reload();
    // The boxes are usable while the kernel holds a profile set of this module.
    zarek_data_c* data = profile_set();
    if (auto* own = dynamic_cast<btn_box_ctrl_funcs_c*>(ctrl))
        own->set_enabled(data != nullptr);
    if (data)
        ctrl->set_favorite(data->favourites().contains(type));
}

QPushButton* btn_assignment_c::create_tab_button() {
    return create_text_tab_button(title_text);
}

void btn_assignment_c::open_page() {
    // A page is shown inside the host's window only.
    if (!m_parent || m_form)
        return;
    m_form = new btn_assignment_fm_c(this, m_parent);
}

void btn_assignment_c::close_page() {
    if (!m_form)
        return;
    m_form->close_boxes();
    m_form->close();
    // Destroyed in its parent, which it leaves as it goes; taking it out first would restyle
    // it as a window of its own.
    std::unique_ptr<btn_assignment_fm_c> form(m_form.data());
    m_form = nullptr;
}

void btn_assignment_c::update() {
    refresh_box(ctrl_type::button_assignment);
    refresh_box(ctrl_type::top_button_assignment);
}

void btn_assignment_c::language_changed(language_source_i* source, void* ignored) {
    if (QPushButton* button = tab_button())
        button->setText(host_text(title_text));
    zarek_page_base_c::language_changed(source, ignored);
}
