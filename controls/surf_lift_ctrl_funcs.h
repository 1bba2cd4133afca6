// The surface and lift-off tuning (control type 10): surface tuning on or off with
// its calibration, and the lift-off distance in four levels. Every choice goes to
// the mouse at once as a sensor tuning command; the advanced page stores the state
// device-wide.
#pragma once

#include "pages/ctrl_funcs.h"

#include <QPointer>

class surf_lift_ctrl_funcs_fm_c;

class surf_lift_ctrl_funcs_c : public ctrl_funcs_c, public surf_lift_ctrl_funcs_i {
public:
    surf_lift_ctrl_funcs_c();
    ~surf_lift_ctrl_funcs_c() override;

    // Answers surf_lift_ctrl_funcs_i, then what ctrl_funcs_c answers.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // ctrl_funcs_i
    void create_box(QWidget* panel) override;
    void close_box() override;
    int32_t ctrl_type() override { return ctrl_type::surf_lift; }
    void favorite_changed() override;

    // surf_lift_ctrl_funcs_i: the setters show a changed value and report nothing.
    bool surf_on() override { return m_surf_on; }
    int32_t lift_level() override { return m_lift_level; }
    void set_surf(bool on) override;
    void set_lift(int32_t level) override;
    // The device's answer to a calibration: the open dialog shows success or failure.
    void calibration_result(uint8_t ok) override;

    // The box's reset: surface tuning off (4), a pause, lift off (5), then the page resets.
    void reset_requested() override;

    // The form's side: a changed value is stored and reported; an unchanged one is not.
    void report_surf(bool on);
    void report_lift(int32_t level);
    // Sends a sensor tuning command through the kernel (command 11); nothing without one.
    void send_tuning(int32_t command);

    surf_lift_ctrl_funcs_fm_c* form() const;

    // The pause between the reset's two commands, in milliseconds.
    static constexpr int reset_pause_ms = 100;

private:
    bool m_surf_on = false;
    int32_t m_lift_level = 2;
    QPointer<surf_lift_ctrl_funcs_fm_c> m_form;
};
