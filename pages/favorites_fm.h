// The favorites page's form: one panel per favourite control, laid out in two columns.
#pragma once

#include "pages/tab_page_fm_base.h"

#include <QWidget>

class QLabel;
class QTimer;
class product_kernel_i;

class favorites_fm_c : public QWidget {
    Q_OBJECT

public:
    // Fills the parent (its grid layout, created when the parent has no layout).
    favorites_fm_c(product_kernel_i* kernel, QWidget* parent);
    ~favorites_fm_c() override;

    // Adds a panel with its box for every favourite control that has none yet, in the
    // order of the favourites list, then lays the panels out on the next timer tick.
    // Without any, the form says how to add favourites.
    void fill();
    // Takes the control's panel out (closing its box) and lays out again; without such a
    // panel only the layout runs.
    void remove(ctrl_funcs_i* control);
    // close_box() on every panel's control, in list order.
    void close_panels();
    // The drop shadow under every panel.
    void shadow_panels();
    // The two-column layout of the panels.
    void lay_out();

    const std::vector<panel_entry>& panels() const { return m_panels; }
    // The marked controls in the order of the favourites list; an item without a marked
    // control is left out, so it hides none after it.
    QList<ctrl_funcs_i*> favourite_controls() const;
    // The hint shown while the page is empty.
    QLabel* empty_hint() const { return m_hint; }
    // Each tick lays the panels out again (for boxes that change their height).
    QTimer* relayout_timer() const { return m_relayout_timer; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void timer_triggered();

private:
    bool shows(ctrl_funcs_i* control) const;
    void show_hint();
    void retranslate();

    product_kernel_i* m_kernel;
    QTimer* m_relayout_timer;
    std::vector<panel_entry> m_panels;
    QLabel* m_hint;
};
