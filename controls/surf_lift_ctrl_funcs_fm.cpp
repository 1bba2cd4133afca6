#include "controls/surf_lift_ctrl_funcs_fm.h"

#include "common/log.h"
#include "common/utilities.h"
#include "controls/surf_calibration_fm.h"
#include "controls/surf_lift_ctrl_funcs.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QApplication>
#include <QButtonGroup>
#include <QRadioButton>

namespace {

constexpr int box_height = 200;
// Where "RECALIBRATE" sits: right edge this far from the form's, top this far down.
constexpr int calibrate_right_margin = 10;
constexpr int calibrate_top = 45;
constexpr int lift_gap = 8;

// The lift confirmation's texts: title, message, question, confirm, cancel.
constexpr int32_t confirmation_texts[] = {628, 629, 630, 631, 632};

QString text(int32_t id) {
    return zarek_page_base_c::host_text(id);
}

} // namespace

surf_lift_ctrl_funcs_fm_c::surf_lift_ctrl_funcs_fm_c(surf_lift_ctrl_funcs_c* control,
                                                     QWidget* parent)
    : QWidget(parent)
    , m_control(control)
    , m_surf_group(new QButtonGroup(this))
    , m_lift_group(new QButtonGroup(this)) {
    m_ui.setupUi(this);
    m_surf_group->addButton(m_ui.rb_surf_off);
    m_surf_group->addButton(m_ui.rb_surf_on);
    for (QRadioButton* button :
         {m_ui.rb_lift_off, m_ui.rb_lift_ex_low, m_ui.rb_lift_low, m_ui.rb_lift_nor})
        m_lift_group->addButton(button);
    setAttribute(Qt::WA_TranslucentBackground);

    if (module_host_i* host = module_host())
        m_box = static_cast<ctrl_box_i*>(host->create_instance(class_id::ctrl_box, iid_ctrl_box_i));
    if (m_box) {
        m_box->set_client(static_cast<ctrl_funcs_i*>(control));
        m_box->set_title(text(title_text));
        m_box->set_help(text(title_text), text(help_text));
        m_box->set_icon(QStringLiteral(":/graphics/controls/functions/SURFLIFT-Icon.png"));
        m_box->set_height(box_height);
    }

    const QString heavy = QStringLiteral("EurostileHea");
    set_widget_font(m_ui.lb_func_name_1, heavy, 15, 0, false);
    set_widget_font(m_ui.lb_func_name_2, heavy, 15, 0, false);
    for (QRadioButton* button : {m_ui.rb_surf_off, m_ui.rb_surf_on, m_ui.rb_lift_off,
                                 m_ui.rb_lift_ex_low, m_ui.rb_lift_low, m_ui.rb_lift_nor})
        set_widget_font(button, heavy, 12, 0, false);
    set_widget_font(m_ui.btn_calibrate, QStringLiteral("EurostileBla"), 14, 0, false);

    // clicked: only the person's clicks, never a check set from code.
    connect(m_ui.rb_surf_off, &QRadioButton::clicked, this,
            &surf_lift_ctrl_funcs_fm_c::surf_off_clicked);
    connect(m_ui.rb_surf_on, &QRadioButton::clicked, this,
            &surf_lift_ctrl_funcs_fm_c::surf_on_clicked);
    connect(m_ui.btn_calibrate, &QPushButton::clicked, this,
            &surf_lift_ctrl_funcs_fm_c::recalibrate_clicked);
    for (int32_t level = 0; level < lift_level::count; ++level) {
        connect(lift_button(level), &QRadioButton::clicked, this,
                [this, level] { lift_clicked(level); });
    }

    bind(module_ctrl_center());
    fit_and_place();
}

surf_lift_ctrl_funcs_fm_c::~surf_lift_ctrl_funcs_fm_c() {
    if (m_dialog)
        m_dialog->reject();
    if (m_confirmation)
        m_confirmation->close_box();
    if (m_box)
        m_box->release();
    m_box = nullptr;
}

interface_i* surf_lift_ctrl_funcs_fm_c::query_interface(const GUID& iid) {
    if (iid == iid_ctrl_center_listener_i)
        return static_cast<ctrl_center_listener_i*>(this);
    return form_base_c::query_interface(iid);
}

void surf_lift_ctrl_funcs_fm_c::release() {
    form_base_c::release();
}

QRadioButton* surf_lift_ctrl_funcs_fm_c::lift_button(int32_t level) const {
    switch (level) {
    case lift_level::off:
        return m_ui.rb_lift_off;
    case lift_level::extra_low:
        return m_ui.rb_lift_ex_low;
    case lift_level::low:
        return m_ui.rb_lift_low;
    case lift_level::normal:
        return m_ui.rb_lift_nor;
    default:
        return nullptr;
    }
}

void surf_lift_ctrl_funcs_fm_c::update() {
    if (m_box) {
        m_box->set_title(text(title_text));
        m_box->set_help(text(title_text), text(help_text));
    }
    m_ui.lb_func_name_1->setText(text(619));
    m_ui.rb_surf_on->setText(text(625));
    m_ui.rb_surf_off->setText(text(626));
    m_ui.lb_func_name_2->setText(text(495));
    m_ui.rb_lift_off->setText(text(327));
    m_ui.rb_lift_low->setText(text(498));
    m_ui.rb_lift_nor->setText(text(569));
    m_ui.rb_lift_ex_low->setText(text(627));
    m_ui.btn_calibrate->setText(text(500));
}

void surf_lift_ctrl_funcs_fm_c::fonts_applied() {
    fit_width_to_text(m_ui.btn_calibrate, 120, 18, Qt::AlignCenter);
    fit_and_place();
}

void surf_lift_ctrl_funcs_fm_c::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fit_and_place();
}

void surf_lift_ctrl_funcs_fm_c::fit_and_place() {
    for (QRadioButton* button : {m_ui.rb_surf_off, m_ui.rb_surf_on, m_ui.rb_lift_off,
                                 m_ui.rb_lift_ex_low, m_ui.rb_lift_low, m_ui.rb_lift_nor})
        fit_width_exact(button, 26, 18);
    // Each row runs left to right from its first button, whatever the language's widths.
    m_ui.rb_surf_on->move(m_ui.rb_surf_off->geometry().right() + 1 + lift_gap,
                          m_ui.rb_surf_on->y());
    int x = m_ui.rb_lift_off->x();
    for (int32_t level :
         {lift_level::off, lift_level::extra_low, lift_level::low, lift_level::normal}) {
        QRadioButton* button = lift_button(level);
        button->move(x, button->y());
        x += button->width() + lift_gap;
    }
    m_ui.btn_calibrate->move(width() - m_ui.btn_calibrate->width() - calibrate_right_margin,
                             calibrate_top);
    m_ui.lb_divider->setFixedWidth(qMax(0, width() - 2 * m_ui.lb_divider->x()));
}

void surf_lift_ctrl_funcs_fm_c::product_event(int32_t) {
    if (m_dialog)
        m_dialog->reject();
    if (m_confirmation)
        m_confirmation->close_box();
}

void surf_lift_ctrl_funcs_fm_c::show_surf(bool on) {
    (on ? m_ui.rb_surf_on : m_ui.rb_surf_off)->setChecked(true);
    m_ui.btn_calibrate->setEnabled(on);
}

void surf_lift_ctrl_funcs_fm_c::show_lift(int32_t level) {
    if (QRadioButton* button = lift_button(level)) {
        button->setChecked(true);
        return;
    }
    // A level the mouse does not have: no button is checked.
    m_lift_group->setExclusive(false);
    for (QAbstractButton* button : m_lift_group->buttons())
        button->setChecked(false);
    m_lift_group->setExclusive(true);
}

void surf_lift_ctrl_funcs_fm_c::surf_off_clicked() {
    m_control->send_tuning(tuning_command::surface_off);
    m_control->report_surf(false);
    m_ui.btn_calibrate->setEnabled(false);
}

void surf_lift_ctrl_funcs_fm_c::surf_on_clicked() {
    if (run_calibration(false)) {
        m_control->report_surf(true);
        m_ui.btn_calibrate->setEnabled(true);
    } else {
        // Surface tuning stays off, as the mouse has it.
        m_ui.rb_surf_off->setChecked(true);
    }
}

void surf_lift_ctrl_funcs_fm_c::recalibrate_clicked() {
    if (run_calibration(true)) {
        m_control->report_surf(true);
        m_ui.btn_calibrate->setEnabled(true);
    }
}

void surf_lift_ctrl_funcs_fm_c::lift_clicked(int32_t level) {
    const int32_t command = tuning_command::for_lift_level(level);
    const int32_t fallback = tuning_command::for_lift_level(m_control->lift_level());
    module_host_i* host = module_host();
    if (m_confirmation) // a click while a box is open (it is modal): ignore
        return;
    m_confirmation = host ? static_cast<message_box_i*>(
                                host->create_instance(class_id::message_box, iid_message_box_i))
                          : nullptr;
    // The mouse already uses the new distance while the person decides.
    m_control->send_tuning(command);
    if (!m_confirmation) {
        // Nobody to ask: the person's click stands, as with any other choice.
        write_log(QStringLiteral("Lift level %1: the host has no message box; taken without "
                                 "confirmation")
                      .arg(level));
        m_control->report_lift(level);
        return;
    }
    const QPointer<surf_lift_ctrl_funcs_fm_c> self(this);
    message_box_i* box = m_confirmation;
    const int32_t answer = box->run(text(confirmation_texts[0]), text(confirmation_texts[1]),
                                    text(confirmation_texts[2]), text(confirmation_texts[3]),
                                    text(confirmation_texts[4]), 0);
    box->release();
    // The form may have gone while the box was open (its closing ended the box).
    if (!self)
        return;
    m_confirmation = nullptr;
    if (answer != 0) {
        m_control->report_lift(level);
        return;
    }
    m_control->send_tuning(fallback);
    show_lift(m_control->lift_level());
}

bool surf_lift_ctrl_funcs_fm_c::run_calibration(bool start_now) {
    ctrl_center_i* center = module_ctrl_center();
    if (center)
        center->set_busy(true, true, false);
    QWidget* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->inherits("QMainWindow")) {
            window = top;
            break;
        }
    }
    const QPointer<surf_calibration_fm_c> dialog = new surf_calibration_fm_c(m_control, window);
    m_dialog = dialog;
    if (start_now)
        dialog->start_calibration();
    const QPointer<surf_lift_ctrl_funcs_fm_c> self(this);
    const int result = dialog->exec();
    if (center)
        center->set_busy(false, true, false);
    delete dialog.data();
    if (!self)
        return false;
    m_dialog = nullptr;
    return result == QDialog::Accepted;
}
