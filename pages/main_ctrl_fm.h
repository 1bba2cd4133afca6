// The main page's form: six panels in two columns (sensitivity, DPI switcher,
// scroll speeds, double-click and pointer speed).
#pragma once

#include "pages/tab_page_fm_base.h"
#include "ui_main_ctrl_fm.h"

#include <QWidget>

class main_ctrl_c;

class main_ctrl_fm_c : public QWidget, public tab_page_fm_base_c {
    Q_OBJECT

public:
    // Fills the parent, puts every control's box into its panel, lays the panels out on
    // the first timer tick and shows itself.
    main_ctrl_fm_c(main_ctrl_c* page, QWidget* parent);
    ~main_ctrl_fm_c() override;

    main_ctrl_c* page() const { return m_page; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Ui::main_ctrl_fm m_ui;
    main_ctrl_c* m_page;
};
