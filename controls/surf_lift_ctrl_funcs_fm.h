// The surface and lift tuning's form: surface tuning off/on with "RECALIBRATE", and
// the four lift-off levels, each confirmed through the host's message box.
#pragma once

#include "module/component_interfaces.h"
#include "pages/form_base.h"
#include "ui_surf_lift_ctrl_funcs_fm.h"

#include <QPointer>
#include <QWidget>

class QButtonGroup;
class QRadioButton;
class surf_calibration_fm_c;
class surf_lift_ctrl_funcs_c;

class surf_lift_ctrl_funcs_fm_c : public QWidget,
                                  public form_base_c,
                                  public ctrl_center_listener_i {
    Q_OBJECT

public:
    surf_lift_ctrl_funcs_fm_c(surf_lift_ctrl_funcs_c* control, QWidget* parent);
    ~surf_lift_ctrl_funcs_fm_c() override;

    // Answers ctrl_center_listener_i, then what form_base_c answers.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // Retranslation.
    void update() override;
    void fonts_applied() override;

    // ctrl_center_listener_i: the first product event ends an open dialog or box.
    void product_event(int32_t product_type) override;
    void current_kernel_changed(product_kernel_i*) override {}
    void ctrl_center_notice(int32_t) override {}

    // Shows a value without reporting it.
    void show_surf(bool on);
    void show_lift(int32_t level);

    // The person's actions (the buttons' clicks land here).
    void surf_off_clicked();
    void surf_on_clicked();
    void recalibrate_clicked();
    void lift_clicked(int32_t level);

    ctrl_box_i* box() const { return m_box; }
    surf_calibration_fm_c* calibration_dialog() const { return m_dialog; }
    message_box_i* confirmation_box() const { return m_confirmation; }
    const Ui::surf_lift_ctrl_funcs_fm& ui() const { return m_ui; }
    // The radio button of a lift level; null outside 0..3.
    QRadioButton* lift_button(int32_t level) const;

    // Host texts of the box.
    static constexpr int32_t title_text = 617;
    static constexpr int32_t help_text = 390;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Runs the calibration dialog modally; true when it was accepted.
    bool run_calibration(bool start_now);
    void fit_and_place();

    Ui::surf_lift_ctrl_funcs_fm m_ui;
    surf_lift_ctrl_funcs_c* m_control;
    ctrl_box_i* m_box = nullptr;
    QPointer<surf_calibration_fm_c> m_dialog;
    message_box_i* m_confirmation = nullptr;
    // The two rows are exclusive each on their own, though they share a parent.
    QButtonGroup* m_surf_group;
    QButtonGroup* m_lift_group;
};
