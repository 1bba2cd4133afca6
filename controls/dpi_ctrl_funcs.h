// The DPI switcher: the mouse's five DPI steps with their enable switches and the
// active step. The control keeps its own copy of the steps; the page fills it from
// the current profile and stores whatever the control reports.
#pragma once

#include "pages/ctrl_funcs.h"

#include <QMap>
#include <QPointer>

class dpi_fm_c;

// One DPI step as the control keeps it.
struct dpi_step {
    bool enabled = true;
    int32_t dpi = 200;
};

class dpi_ctrl_funcs_c : public ctrl_funcs_c, public dpi_switcher_ctrl_funcs_i {
public:
    dpi_ctrl_funcs_c();
    ~dpi_ctrl_funcs_c() override;

    // Answers dpi_switcher_ctrl_funcs_i, then what ctrl_funcs_c answers.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // ctrl_funcs_i
    // Builds the form in the panel, fills it from the copy (every step's enabled state
    // is reported as it is applied) and lets the box take the form.
    void create_box(QWidget* panel) override;
    void close_box() override;
    int32_t ctrl_type() override { return ctrl_type::dpi_switcher; }
    void favorite_changed() override;

    // dpi_switcher_ctrl_funcs_i
    int32_t active_step() override { return m_active_step; }
    // Shows the step as active; listeners are not told.
    void set_active_step(int32_t step) override;
    bool is_step_enabled(int32_t step) override;
    int32_t step_dpi(int32_t step) override;
    // A change is reported to the listeners only while a form shows it.
    void set_step_enabled(int32_t step, bool on) override;
    void set_step_dpi(int32_t step, int32_t dpi) override;

    // What the form tells the control about the user's input; each is reported at once.
    void store_step_enabled(int32_t step, bool on);
    void store_step_dpi(int32_t step, int32_t dpi);
    void store_active_step(int32_t step);

    // The open form, or null.
    dpi_fm_c* form() const;
    const QMap<int32_t, dpi_step>& steps() const { return m_steps; }

    static constexpr int32_t step_count = 5;

private:
    // The step's entry; a step that is not there yet starts as {true, 200}.
    dpi_step& step(int32_t index);

    QPointer<dpi_fm_c> m_form;
    int32_t m_active_step = 0;
    QMap<int32_t, dpi_step> m_steps;
};
