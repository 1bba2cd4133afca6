// The set-up guide of the side-panel editor: a bubble with five steps, each a title, a
// comment and a picture, stepped through with the arrows or the step dots.
#pragma once

#include "pages/form_base.h"
#include "ui_btn_help_fm.h"

#include <QWidget>

class btn_help_fm_c : public QWidget, public form_base_c {
    Q_OBJECT

public:
    static constexpr int step_count = 5;

    explicit btn_help_fm_c(QWidget* parent = nullptr);

    // Retranslation: the step texts come from the host again and the step is shown anew.
    void update() override;

    // Shows step 1..5.
    void show_step(int step);
    int step() const { return m_step; }
    // One step on, after step 5 back to step 1 (and the other way round).
    void next_step();
    void previous_step();

    // Shows the guide beside the widget it explains: its corner below the widget's left part.
    void show_beside(QWidget* anchor);

protected:
    bool event(QEvent* event) override;

private:
    QRadioButton* step_button(int step) const;

    Ui::btn_help_fm m_ui;
    int m_step = 1;
};
