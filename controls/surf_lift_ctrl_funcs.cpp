#include "controls/surf_lift_ctrl_funcs.h"

#include "common/log.h"
#include "common/utilities.h"
#include "controls/surf_calibration_fm.h"
#include "controls/surf_lift_ctrl_funcs_fm.h"
#include "kernel/profile_stream.h"
#include "module/kernel_host_interfaces.h"

#include <QBuffer>
#include <QDataStream>
#include <memory>

surf_lift_ctrl_funcs_c::surf_lift_ctrl_funcs_c() = default;

surf_lift_ctrl_funcs_c::~surf_lift_ctrl_funcs_c() {
    close_box();
}

interface_i* surf_lift_ctrl_funcs_c::query_interface(const GUID& iid) {
    if (iid == iid_surf_lift_ctrl_funcs_i)
        return static_cast<surf_lift_ctrl_funcs_i*>(this);
    return ctrl_funcs_c::query_interface(iid);
}

void surf_lift_ctrl_funcs_c::release() {
    ctrl_funcs_c::release();
}

surf_lift_ctrl_funcs_fm_c* surf_lift_ctrl_funcs_c::form() const {
    return m_form;
}

void surf_lift_ctrl_funcs_c::create_box(QWidget* panel) {
    if (!panel)
        return;
    if (!m_form)
        m_form = new surf_lift_ctrl_funcs_fm_c(this, panel);
    m_form->show_surf(m_surf_on);
    m_form->show_lift(m_lift_level);
    if (ctrl_box_i* box = m_form->box()) {
        box->set_favorite_mark(is_favorite());
        box->attach(panel, m_form);
    }
}

void surf_lift_ctrl_funcs_c::close_box() {
    if (!m_form)
        return;
    std::unique_ptr<surf_lift_ctrl_funcs_fm_c> form(m_form.data());
    m_form = nullptr;
    if (ctrl_box_i* box = form->box())
        box->detach();
}

void surf_lift_ctrl_funcs_c::favorite_changed() {
    if (m_form && m_form->box())
        m_form->box()->set_favorite_mark(is_favorite());
}

void surf_lift_ctrl_funcs_c::set_surf(bool on) {
    if (on == m_surf_on)
        return;
    m_surf_on = on;
    if (m_form)
        m_form->show_surf(on);
}

void surf_lift_ctrl_funcs_c::set_lift(int32_t level) {
    if (level == m_lift_level)
        return;
    m_lift_level = level;
    if (m_form)
        m_form->show_lift(level);
}

void surf_lift_ctrl_funcs_c::calibration_result(uint8_t ok) {
    surf_calibration_fm_c* dialog = m_form ? m_form->calibration_dialog() : nullptr;
    if (!dialog) {
        write_log(QStringLiteral("Calibration result %1 arrived without an open calibration "
                                 "dialog; ignored")
                      .arg(ok));
        return;
    }
    dialog->set_state(ok ? surf_calibration_fm_c::succeeded : surf_calibration_fm_c::failed);
}

void surf_lift_ctrl_funcs_c::reset_requested() {
    if (m_form) {
        send_tuning(tuning_command::surface_off);
        pause(reset_pause_ms);
        send_tuning(tuning_command::lift_off);
    }
    if (product_function_page_i* p = page())
        p->reset_ctrl(this);
}

void surf_lift_ctrl_funcs_c::report_surf(bool on) {
    if (on == m_surf_on)
        return;
    m_surf_on = on;
    for_each_listener<surf_lift_ctrl_funcs_listener_i>(
        [on](surf_lift_ctrl_funcs_listener_i* l) { l->surf_changed(on); });
}

void surf_lift_ctrl_funcs_c::report_lift(int32_t level) {
    if (level == m_lift_level)
        return;
    m_lift_level = level;
    for_each_listener<surf_lift_ctrl_funcs_listener_i>(
        [level](surf_lift_ctrl_funcs_listener_i* l) { l->lift_changed(level); });
}

void surf_lift_ctrl_funcs_c::send_tuning(int32_t command) {
    product_kernel_i* k = kernel();
    if (!k)
        return;
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(profile_stream::stream_version);
        out << qint32(command);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    k->send_command(kernel_command::sensor_tuning, k->publish_blob(&buffer));
}
