// The button assignment page's form: the side-button box above the top-button box.
#pragma once

#include "ui_btn_assignment_fm.h"

#include <QWidget>

class btn_assignment_c;

class btn_assignment_fm_c : public QWidget {
    Q_OBJECT

public:
    // Fills the parent, puts the side box (type 7) and the top box (type 8) into their
    // panels, gives both panels the drop shadow and shows itself.
    btn_assignment_fm_c(btn_assignment_c* page, QWidget* parent);
    ~btn_assignment_fm_c() override;

    // close_box() on both controls.
    void close_boxes();

    btn_assignment_c* page() const { return m_page; }
    QWidget* side_panel() const { return m_ui.wg_btn_set; }
    QWidget* top_panel() const { return m_ui.wg_top_btn_set; }

private:
    Ui::btn_assignment_fm m_ui;
    btn_assignment_c* m_page;
};
