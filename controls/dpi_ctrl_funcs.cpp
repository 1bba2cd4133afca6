#include "controls/dpi_ctrl_funcs.h"

#include "controls/dpi_fm.h"

#include <memory>

dpi_ctrl_funcs_c::dpi_ctrl_funcs_c() {
    for (int32_t i = 0; i < step_count; ++i)
        m_steps.insert(i, dpi_step{});
}

dpi_ctrl_funcs_c::~dpi_ctrl_funcs_c() {
    close_box();
}

interface_i* dpi_ctrl_funcs_c::query_interface(const GUID& iid) {
    if (iid == iid_dpi_switcher_ctrl_funcs_i)
        return static_cast<dpi_switcher_ctrl_funcs_i*>(this);
    return ctrl_funcs_c::query_interface(iid);
}

void dpi_ctrl_funcs_c::release() {
    ctrl_funcs_c::release();
}

dpi_fm_c* dpi_ctrl_funcs_c::form() const {
    return m_form;
}

dpi_step& dpi_ctrl_funcs_c::step(int32_t index) {
    auto it = m_steps.find(index);
    if (it == m_steps.end())
        it = m_steps.insert(index, dpi_step{});
    return it.value();
}

void dpi_ctrl_funcs_c::create_box(QWidget* panel) {
    if (!panel)
        return;
    if (!m_form)
        m_form = new dpi_fm_c(this, panel);
    // The form is filled from the copy each time, so the copy outlives closed pages.
    // Applying an enabled state reports it, which keeps the listeners in step with the form.
    const QList<int32_t> indices = m_steps.keys();
    for (int32_t i : indices) {
        m_form->apply_step_enabled(i, step(i).enabled);
        m_form->show_step_dpi(i, step(i).dpi);
    }
    m_form->show_active_step(m_active_step, true);
    if (ctrl_box_i* box = m_form->box()) {
        box->set_favorite_mark(is_favorite());
        box->attach(panel, m_form);
    } else {
        // Without a host box the form fills the panel itself.
        m_form->setGeometry(panel->rect());
        m_form->show();
    }
}

void dpi_ctrl_funcs_c::close_box() {
    if (!m_form)
        return;
    if (ctrl_box_i* box = m_form->box())
        box->detach();
    // Destroyed where it stands: taking it out of its parent first would restyle
    // the whole form once more only to throw it away.
    std::unique_ptr<dpi_fm_c> form(m_form.data());
    m_form = nullptr;
    form->hide();
}

void dpi_ctrl_funcs_c::favorite_changed() {
    if (m_form && m_form->box())
        m_form->box()->set_favorite_mark(is_favorite());
}

void dpi_ctrl_funcs_c::set_active_step(int32_t step) {
    if (step == m_active_step)
        return;
    m_active_step = step;
    // The page sets what it read from the profile: nothing to report back.
    if (m_form)
        m_form->show_active_step(step);
}

bool dpi_ctrl_funcs_c::is_step_enabled(int32_t index) {
    return step(index).enabled;
}

int32_t dpi_ctrl_funcs_c::step_dpi(int32_t index) {
    return step(index).dpi;
}

void dpi_ctrl_funcs_c::set_step_enabled(int32_t index, bool on) {
    if (step(index).enabled == on)
        return;
    step(index).enabled = on;
    if (m_form)
        m_form->apply_step_enabled(index, on);
}

void dpi_ctrl_funcs_c::set_step_dpi(int32_t index, int32_t dpi) {
    if (step(index).dpi == dpi)
        return;
    step(index).dpi = dpi;
    // The number box reports the value it ends up with (within its range).
    if (m_form)
        m_form->show_step_dpi(index, dpi);
}

void dpi_ctrl_funcs_c::store_step_enabled(int32_t index, bool on) {
    step(index).enabled = on;
    for_each_listener<dpi_switcher_ctrl_funcs_listener_i>(
        [index, on](dpi_switcher_ctrl_funcs_listener_i* l) { l->step_enabled_changed(index, on); });
}

void dpi_ctrl_funcs_c::store_step_dpi(int32_t index, int32_t dpi) {
    step(index).dpi = dpi;
    for_each_listener<dpi_switcher_ctrl_funcs_listener_i>(
        [index, dpi](dpi_switcher_ctrl_funcs_listener_i* l) { l->step_dpi_changed(index, dpi); });
}

void dpi_ctrl_funcs_c::store_active_step(int32_t index) {
    if (index == m_active_step)
        return;
    m_active_step = index;
    for_each_listener<dpi_switcher_ctrl_funcs_listener_i>(
        [index](dpi_switcher_ctrl_funcs_listener_i* l) { l->active_step_changed(index); });
}
