// The advanced page's form: six panels in two columns (advanced sensitivity, lighting,
// surface and lift tuning, sound feedback, polling rate, device reset).
#pragma once

#include "pages/tab_page_fm_base.h"
#include "ui_advanced_ctrl_fm.h"

#include <QWidget>

class advanced_ctrl_c;

class advanced_ctrl_fm_c : public QWidget, public tab_page_fm_base_c {
    Q_OBJECT

public:
    // Fills the parent, puts every control's box into its panel, lays the panels out on
    // the first timer tick and shows itself.
    advanced_ctrl_fm_c(advanced_ctrl_c* page, QWidget* parent);
    ~advanced_ctrl_fm_c() override;

    advanced_ctrl_c* page() const { return m_page; }
    const Ui::advanced_ctrl_fm& ui() const { return m_ui; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Ui::advanced_ctrl_fm m_ui;
    advanced_ctrl_c* m_page;
};
