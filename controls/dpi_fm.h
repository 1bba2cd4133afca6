// The DPI switcher's form: five rows of check box, host slider and number box, with
// a frame around the active step's row.
#pragma once

#include "module/component_interfaces.h"
#include "pages/form_base.h"
#include "ui_dpi_fm.h"

#include <QMap>
#include <QWidget>

class QCheckBox;
class QSpinBox;
class ctrl_box_i;
class dpi_ctrl_funcs_c;

class dpi_fm_c : public QWidget, public slider_client_i, public form_base_c {
    Q_OBJECT

public:
    // Builds the rows under `parent` and asks the host for the box and the sliders.
    dpi_fm_c(dpi_ctrl_funcs_c* control, QWidget* parent);
    ~dpi_fm_c() override;

    // Answers slider_client_i, then what form_base_c answers.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // Retranslation: the check boxes have no text; the box gets its title and help again.
    void update() override;

    // slider_client_i
    void slider_value_changed(slider_i* slider) override;
    void slider_pressed(slider_i* slider) override;

    // Shows a step's enabled state on its row, then the control stores and reports it
    // (a check-box click does exactly this).
    void apply_step_enabled(int32_t step, bool on);
    // The row's slider and number box take the value.
    void show_step_dpi(int32_t step, int32_t dpi);
    // Marks `step` as the active one when it is not already; `force` applies the marks
    // even then (a new form starts from its first step).
    void show_active_step(int32_t step, bool force = false);

    ctrl_box_i* box() const { return m_box; }
    int32_t shown_active_step() const { return m_active_step; }
    // Widgets of a step; null for a step without a row.
    QSpinBox* number_box(int32_t step) const;
    QCheckBox* check_box(int32_t step) const;
    slider_i* slider(int32_t step) const;
    QWidget* row(int32_t step) const { return m_rows.value(step); }
    bool has_enabled_look(int32_t step) const;

    // Slider text colours of a disabled, an enabled and the active step.
    struct rgb {
        int r, g, b;
    };
    static constexpr rgb disabled_rgb{75, 76, 76};
    static constexpr rgb enabled_rgb{112, 113, 113};
    static constexpr rgb active_rgb{240, 240, 240};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct step_widgets {
        QSpinBox* number_box = nullptr;
        QCheckBox* check_box = nullptr;
        slider_i* slider = nullptr;
        bool enabled_look = false;
    };

    void set_up_step(int32_t step, QWidget* holder, QSpinBox* number_box, QCheckBox* check_box,
                     QWidget* row);
    void number_box_changed(int32_t step, int32_t value);
    int32_t step_of(slider_i* slider) const;
    void set_slider_colour(int32_t step, rgb colour);
    void paint_active_frame();

    Ui::dpi_fm m_ui;
    dpi_ctrl_funcs_c* m_control;
    ctrl_box_i* m_box = nullptr;
    int32_t m_active_step = 0;
    QMap<int32_t, step_widgets> m_steps;
    QMap<int32_t, QWidget*> m_rows;
};
