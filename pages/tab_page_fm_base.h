// The panels of a page form and their two-column layout.
#pragma once

#include "module/page_interfaces.h"

#include <QMap>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

// A panel of a form and the control whose box sits in it. Neither is owned.
struct panel_entry {
    QPointer<QWidget> panel;
    ctrl_funcs_i* control = nullptr;
};

// Space around and between the panels.
inline constexpr int panel_gap = 10;

// Lays the panels out inside `form`: boxes of span 1 fill two columns, always the
// shorter one next, any other span takes the full width below both columns. A panel
// with a first child widget and an integer property "changing_height" takes that
// height. Then the form's minimum height and height become the bottom of the lower
// column (10 without panels), and the form's parent widget's minimum height follows.
void layout_panels(QWidget* form, const std::vector<panel_entry>& panels);

// close_box() on the control of every entry, in list order.
void close_panel_boxes(const std::vector<panel_entry>& panels);
// The drop shadow under every panel; a panel that has its shadow keeps it.
void shadow_panel_list(const std::vector<panel_entry>& panels);

// The end of a page (its destructor): `listener` leaves the controls of the types in
// `listened`, and each control closes its box and is released, in type order. The list
// is emptied first, so nothing that runs meanwhile reaches a released control.
void release_page_ctrls(QMap<int32_t, ctrl_funcs_i*>& ctrls, listener_i* listener,
                        const QList<int32_t>& listened);

// Takes a page's open form out of its parent and destroys it, forgetting it first; its
// boxes must be closed already (release_page_ctrls), so the form does not touch the
// controls again.
template <class form_t>
void discard_form(QPointer<form_t>& form) {
    std::unique_ptr<form_t> owned(form.data());
    form = nullptr;
    if (!owned)
        return;
    owned->hide();
    owned->setParent(nullptr);
}

// A page's close_page(): the boxes in the open form's panels close, the form closes,
// leaves its parent and is destroyed; the page forgets it first.
template <class form_t>
void close_form(QPointer<form_t>& form) {
    if (!form)
        return;
    form->close_panels();
    form->close();
    discard_form(form);
}

// Puts the form into its parent's grid layout at row 0, column 0 unless it is there
// already; a parent without a layout first gets a grid with spacing 0 and margins 0.
void place_in_parent_grid(QWidget* form);

// Second base of the main and advanced forms (beside QWidget). The form adds its panels
// when it opens, calls schedule_layout(this) and shadow_panels(), shows itself, and calls
// relayout_on_resize(this) from its resizeEvent; it calls close_panels() when it closes.
class tab_page_fm_base_c {
public:
    tab_page_fm_base_c() = default;
    tab_page_fm_base_c(const tab_page_fm_base_c&) = delete;
    tab_page_fm_base_c& operator=(const tab_page_fm_base_c&) = delete;
    virtual ~tab_page_fm_base_c();

    // Puts the page's control of `type` into the panel and remembers both; nothing when
    // the page, the panel or the control is missing.
    void add_panel(product_function_page_i* page, int32_t type, QWidget* panel);
    // close_box() on every entry's control, in list order.
    void close_panels();
    // The drop shadow under every panel.
    void shadow_panels();
    // The two-column layout of this list inside `form`.
    void lay_out_panels(QWidget* form);
    // Lays out on the first timer tick (1 ms) after now.
    void schedule_layout(QWidget* form);
    // Lays out while the form is visible (call from resizeEvent).
    void relayout_on_resize(QWidget* form);

    const std::vector<panel_entry>& panels() const { return m_panels; }

private:
    std::vector<panel_entry> m_panels;
};
