#include "buttons/btn_box_ctrl_funcs.h"

#include "buttons/btn_box_fm_base.h"

#include <QGridLayout>
#include <QTimer>
#include <memory>

btn_box_ctrl_funcs_c::btn_box_ctrl_funcs_c(btn_assignment_c* page)
    : m_page(page) {}

btn_box_ctrl_funcs_c::~btn_box_ctrl_funcs_c() {
    close_box();
}

interface_i* btn_box_ctrl_funcs_c::query_interface(const GUID& iid) {
    if (iid == iid_btn_assignment_ctrl_funcs_i)
        return static_cast<btn_assignment_ctrl_funcs_i*>(this);
    return ctrl_funcs_c::query_interface(iid);
}

void btn_box_ctrl_funcs_c::release() {
    ctrl_funcs_c::release();
}

btn_box_fm_base_c* btn_box_ctrl_funcs_c::form() const {
    return m_form;
}

void btn_box_ctrl_funcs_c::create_box(QWidget* panel) {
    if (!panel)
        return;
    if (!m_form) {
        m_form = make_form(panel);
        // The form's designed height, before any layout squeezes it into a panel.
        m_box_height = m_form->height();
    }
    m_form->setParent(panel);
    // Pages lay their panels out by the panels' geometry: a panel that does not fix its
    // own height (the favourites page's) takes the box's, or the box would be cut off.
    if (panel->height() < m_box_height)
        panel->resize(panel->width(), m_box_height);
    auto* grid = qobject_cast<QGridLayout*>(panel->layout());
    if (!panel->layout()) {
        grid = new QGridLayout(panel);
        grid->setSpacing(0);
        grid->setContentsMargins(0, 0, 0, 0);
    }
    if (grid && grid->indexOf(m_form) < 0)
        grid->addWidget(m_form, 0, 0);
    m_form->show_favorite(is_favorite());
    m_form->setEnabled(m_enabled);
    m_form->show();
}

void btn_box_ctrl_funcs_c::close_box() {
    if (!m_form)
        return;
    std::unique_ptr<btn_box_fm_base_c> form(m_form.data());
    m_form = nullptr;
    // Closed and destroyed where it stands: destruction takes it out of the panel, and a
    // detour through a parentless window would restyle the whole box just before it goes.
    form->hide();
    form->close();
}

void btn_box_ctrl_funcs_c::favorite_changed() {
    if (m_form)
        m_form->show_favorite(is_favorite());
}

void btn_box_ctrl_funcs_c::reload() {
    if (m_form)
        m_form->reload();
}

void btn_box_ctrl_funcs_c::set_favorite_later(bool on) {
    QTimer::singleShot(0, &m_queue, [this, on] { set_favorite(on); });
}

void btn_box_ctrl_funcs_c::set_enabled(bool on) {
    m_enabled = on;
    if (m_form)
        m_form->setEnabled(on);
}
