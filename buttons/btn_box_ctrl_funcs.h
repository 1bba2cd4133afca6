// What the side-button and the top-button control share: the box form's life in a panel
// of the page's form, its favourite check box and the rereading of its rows.
#pragma once

#include "pages/ctrl_funcs.h"

#include <QObject>
#include <QPointer>

class btn_assignment_c;
class btn_box_fm_base_c;

class btn_box_ctrl_funcs_c : public ctrl_funcs_c, public btn_assignment_ctrl_funcs_i {
public:
    explicit btn_box_ctrl_funcs_c(btn_assignment_c* page);
    ~btn_box_ctrl_funcs_c() override;

    // Answers btn_assignment_ctrl_funcs_i, then what ctrl_funcs_c answers.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // ctrl_funcs_i
    // Builds the box form once, puts it at row 0, column 0 of the panel's grid layout (a
    // grid without spacing and margins is made when the panel has no layout), shows the
    // favourite mark and the form.
    void create_box(QWidget* panel) override;
    // Takes the form out of its panel and destroys it.
    void close_box() override;
    // The buttons span the page.
    int32_t box_span() override { return 2; }
    void favorite_changed() override;

    // btn_assignment_ctrl_funcs_i: the open box rereads the current profile.
    void reload() override;

    // The box's star: applied once the star's own click is over, since unstarring can take
    // the box off the favourites page, which destroys the star.
    void set_favorite_later(bool on);

    // Whether the box takes input (the page says so after a refresh).
    void set_enabled(bool on);
    bool enabled() const { return m_enabled; }

    btn_assignment_c* owner_page() const { return m_page; }
    btn_box_fm_base_c* form() const;

protected:
    // The control's own box form, a child of `panel`.
    virtual btn_box_fm_base_c* make_form(QWidget* panel) = 0;

private:
    btn_assignment_c* m_page;
    QPointer<btn_box_fm_base_c> m_form;
    bool m_enabled = true;
    int m_box_height = 0;
    // Context of queued work: it goes with the control.
    QObject m_queue;
};
