#include "buttons/top_btn_assignment_box_fm.h"

#include "buttons/box_widgets.h"
#include "buttons/btn_list_fm.h"
#include "buttons/top_btn_assignment_ctrl_funcs.h"
#include "kernel/zarek_kernel.h"
#include "module/module.h"

#include <QEvent>

namespace {

// Assignable rows: every row but the two main buttons on the standard layer, and every
// row but button 25 on the Alter-Key[+] layer.
bool standard_assignable(int index) {
    return index != 0 && index != 1;
}
bool alter_assignable(int index) {
    return index != 25;
}

} // namespace

top_btn_assignment_box_fm_c::top_btn_assignment_box_fm_c(top_btn_assignment_ctrl_funcs_c* control,
                                                         QWidget* parent)
    : btn_box_fm_base_c(control, parent)
    , m_top_control(control) {
    m_ui.setupUi(this);
    // The top box is a favourite too, and a person takes it off the favourites tab by its star.
    set_favorite_box(m_ui.cb_favorite);
    set_divider(m_ui.wg_right);
    const QString folder = QStringLiteral(":/graphics/button_assignment/");
    m_ui.wg_title_img->set_pictures(folder + QLatin1String("Top-Button_Assignment_icon.png"),
                                    QString(), picture_widget_c::placement::centre);
    m_ui.lb_func_name->set_colours(box_colour::title, box_colour::title);
    m_ui.lb_func_hint->set_colours(box_colour::hint, box_colour::hint);

    product_kernel_i* k = kernel();
    const bool white = k && k->product_type() == product_type::white;
    m_ui.wg_device->set_pictures(folder + (white ? QLatin1String("QUIL_WHT_TOP_VIEW.png")
                                                 : QLatin1String("QUIL_BLK_TOP_VIEW.png")),
                                 QString(), picture_widget_c::placement::top_left);

    picture_widget_c* const markers[8] = {m_ui.wg_btn_1, m_ui.wg_btn_2, m_ui.wg_btn_3,
                                          m_ui.wg_btn_4, m_ui.wg_btn_5, m_ui.wg_btn_6,
                                          m_ui.wg_btn_7, m_ui.wg_btn_8};
    colour_label_c* const numbers[8] = {m_ui.lb_btn_1, m_ui.lb_btn_2, m_ui.lb_btn_3, m_ui.lb_btn_4,
                                        m_ui.lb_btn_5, m_ui.lb_btn_6, m_ui.lb_btn_7, m_ui.lb_btn_8};
    const QString highlight = folder + QLatin1String("Button_Highlight/Button_Highlight_%1.png");
    m_list = new btn_list_fm_c(this, btn_box_kind::top, m_ui.wg_dropdowns);
    for (int row = 0; row < 8; ++row) {
        const int index = row_buttons[row];
        m_list->add_standard_row(row, index, standard_assignable(index));
        m_list->add_alter_row(row, index + alter_offset, alter_assignable(index + alter_offset));
        picture_widget_c* marker = markers[row];
        marker->set_pictures(highlight.arg(QLatin1String("normal")),
                             highlight.arg(QLatin1String("over")));
        marker->installEventFilter(this);
        m_markers.insert(index, marker);
        numbers[row]->set_colours(box_colour::title, box_colour::title);
    }
    fill_with(m_ui.wg_dropdowns, m_list);
    m_list->set_menu_feedback(this);
    // Each row was labelled from the current profile as it was added; no reload needed.
    set_widget_font(m_ui.lb_func_name, QStringLiteral("EurostileHea"), 15, 1, true);
    set_widget_font(m_ui.lb_func_hint, QStringLiteral("EurostileMed"), 12, 0, false);
    for (colour_label_c* number : numbers)
        set_widget_font(number, QStringLiteral("EurostileHea"), 11, 0, true);
    update();
    bind(module_ctrl_center());
}

top_btn_assignment_box_fm_c::~top_btn_assignment_box_fm_c() {
    if (m_list) {
        m_list->set_menu_feedback(nullptr);
        m_list->manager_closing();
    }
}

interface_i* top_btn_assignment_box_fm_c::query_interface(const GUID& iid) {
    if (iid == iid_main_menu_listener_i)
        return static_cast<main_menu_listener_i*>(this);
    return form_base_c::query_interface(iid);
}

void top_btn_assignment_box_fm_c::release() {
    form_base_c::release();
}

void top_btn_assignment_box_fm_c::update() {
    m_ui.lb_func_name->setText(tr("TOP BUTTON ASSIGNMENT"));
    m_ui.lb_func_hint->setText(
        tr("Point at a number on the mouse to find its row; click a row to choose a function."));
}

void top_btn_assignment_box_fm_c::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        update();
    btn_box_fm_base_c::changeEvent(event);
}

product_kernel_i* top_btn_assignment_box_fm_c::kernel() const {
    return m_top_control ? m_top_control->kernel() : nullptr;
}

zarek_data_c* top_btn_assignment_box_fm_c::profile_set() const {
    return profile_set_of(kernel());
}

void top_btn_assignment_box_fm_c::reload() {
    m_list->reload();
}

picture_widget_c* top_btn_assignment_box_fm_c::marker_of(int button_index) const {
    const int index = button_index >= alter_offset ? button_index - alter_offset : button_index;
    return m_markers.value(index);
}

bool top_btn_assignment_box_fm_c::marker_lit(int button_index) const {
    picture_widget_c* marker = marker_of(button_index);
    return marker && marker->is_lit();
}

void top_btn_assignment_box_fm_c::light(picture_widget_c* marker, bool on) {
    if (marker)
        marker->set_lit(on);
}

void top_btn_assignment_box_fm_c::main_menu_shown(menu_i*) {
    light(marker_of(m_lit_index), false);
    m_lit_index = m_list->current_button_index();
    light(marker_of(m_lit_index), true);
}

void top_btn_assignment_box_fm_c::main_menu_closed(menu_i*) {
    light(marker_of(m_lit_index), false);
    m_lit_index = -1;
}

bool top_btn_assignment_box_fm_c::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        for (auto it = m_markers.cbegin(); it != m_markers.cend(); ++it) {
            if (it.value() != watched)
                continue;
            // The marker of an open menu stays lit until the menu closes.
            if (event->type() == QEvent::Enter || marker_of(m_lit_index) != it.value())
                light(it.value(), event->type() == QEvent::Enter);
        }
    }
    return btn_box_fm_base_c::eventFilter(watched, event);
}
