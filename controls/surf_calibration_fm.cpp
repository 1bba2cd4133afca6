#include "controls/surf_calibration_fm.h"

#include "common/log.h"
#include "common/utilities.h"
#include "controls/surf_lift_ctrl_funcs.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTime>

namespace {

QString text(int32_t id) {
    return zarek_page_base_c::host_text(id);
}

} // namespace

surf_calibration_fm_c::surf_calibration_fm_c(surf_lift_ctrl_funcs_c* control, QWidget* window)
    : QDialog(window, Qt::Dialog | Qt::FramelessWindowHint)
    , m_control(control) {
    // Polished before its contents are made: a style the host gives its dialogs when
    // they are polished reaches the contents as they are built, as a style of the
    // window behind it would.
    ensurePolished();
    m_ui.setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setModal(true);

    if (module_host_i* host = module_host())
        m_title = static_cast<preset_selector_i*>(
            host->create_instance(class_id::preset_selector, iid_preset_selector_i));
    if (m_title)
        m_title->attach(m_ui.wg_title);
    else
        write_log(QStringLiteral("Calibration dialog: the host has no title component"));

    const QString heavy = QStringLiteral("EurostileHea");
    const QString black = QStringLiteral("EurostileBla");
    set_widget_font(m_ui.lb_header, heavy, 16, 0, false);
    for (QWidget* label :
         {static_cast<QWidget*>(m_ui.lb_surface_analiysis),
          static_cast<QWidget*>(m_ui.lb_bef_calibrate), static_cast<QWidget*>(m_ui.lb_calibrating),
          static_cast<QWidget*>(m_ui.lb_calibration_failed),
          static_cast<QWidget*>(m_ui.lb_calibration_success), static_cast<QWidget*>(m_ui.lb_text)})
        set_widget_font(label, heavy, 14, 0, false);
    set_widget_font(m_ui.btn_calibrate, black, 14, 0, false);
    set_widget_font(m_ui.btn_cancel, black, 14, 0, false);

    m_animation.setInterval(frame_interval_ms);
    connect(&m_animation, &QTimer::timeout, this, &surf_calibration_fm_c::next_frame);
    m_calibration.setSingleShot(true);
    m_calibration.setTimerType(Qt::CoarseTimer);
    connect(&m_calibration, &QTimer::timeout, this, [this] { set_state(succeeded); });

    connect(m_ui.btn_calibrate, &QPushButton::clicked, this,
            &surf_calibration_fm_c::calibrate_clicked);
    connect(m_ui.btn_cancel, &QPushButton::clicked, this, &surf_calibration_fm_c::cancel_clicked);
    connect(m_ui.btn_close, &QPushButton::clicked, this, &QDialog::reject);

    bind(module_ctrl_center());
    redraw();
}

surf_calibration_fm_c::~surf_calibration_fm_c() {
    if (m_title) {
        m_title->attach(nullptr);
        m_title->release();
    }
    m_title = nullptr;
}

void surf_calibration_fm_c::update() {
    m_start_caption = text(581);
    m_retry_caption = text(203);
    m_continue_caption = text(202);
    m_ui.lb_header->setText(text(617));
    m_ui.lb_surface_analiysis->setText(text(619));
    m_ui.lb_bef_calibrate->setText(text(620));
    m_ui.lb_calibrating->setText(text(621));
    m_ui.lb_calibration_failed->setText(text(622));
    m_ui.lb_calibration_success->setText(text(623));
    m_ui.lb_text->setText(text(624));
    m_ui.btn_cancel->setText(text(1));
    if (m_title)
        m_title->set_texts(text(617), text(618));
    redraw();
}

void surf_calibration_fm_c::fonts_applied() {
    fit_width_to_text(m_ui.btn_calibrate, 120, 18, Qt::AlignCenter);
    fit_width_to_text(m_ui.btn_cancel, 92, 18, Qt::AlignRight);
}

QString surf_calibration_fm_c::frame_path(int32_t frame) {
    return QStringLiteral(
               ":/graphics/controls/Quil_SURF_animation/Quil-SURFLIFT_rotation_BLACK_%1.png")
        .arg(frame, 5, 10, QLatin1Char('0'));
}

void surf_calibration_fm_c::start_calibration() {
    m_state = calibrating;
    m_control->send_tuning(tuning_command::start_calibration);
    // A stand-in for the sensor's own report: success after 5 to 11 seconds.
    QRandomGenerator random(quint32(QTime::currentTime().msec()));
    m_calibration_delay = int(random.generate() % 6000) + 5000;
    write_log(QStringLiteral("Surface calibration timer: %1 ms").arg(m_calibration_delay));
    m_calibration.start(m_calibration_delay);
    redraw();
}

void surf_calibration_fm_c::set_state(int32_t state) {
    m_state = state;
    redraw();
}

void surf_calibration_fm_c::calibrate_clicked() {
    switch (m_state) {
    case idle:
    case failed:
        start_calibration();
        break;
    case succeeded:
        set_state(idle);
        m_control->send_tuning(tuning_command::accept_calibration);
        accept();
        break;
    default: // calibrating: the button is disabled
        break;
    }
}

void surf_calibration_fm_c::cancel_clicked() {
    if (m_state == succeeded)
        m_control->send_tuning(tuning_command::discard_calibration);
    reject();
}

void surf_calibration_fm_c::redraw() {
    m_ui.lb_bef_calibrate->setVisible(m_state == idle);
    m_ui.lb_calibrating->setVisible(m_state == calibrating);
    m_ui.lb_calibration_failed->setVisible(m_state == failed);
    m_ui.lb_calibration_success->setVisible(m_state == succeeded);
    m_ui.btn_calibrate->setText(m_state == failed      ? m_retry_caption
                                : m_state == succeeded ? m_continue_caption
                                                       : m_start_caption);
    m_ui.btn_calibrate->setEnabled(m_state != calibrating);
    fit_width_to_text(m_ui.btn_calibrate, 120, 18, Qt::AlignCenter);
    if (m_state == calibrating) {
        if (!m_animation.isActive())
            m_animation.start();
        return;
    }
    m_animation.stop();
    m_frame = 0;
    show_frame(0);
}

void surf_calibration_fm_c::show_frame(int32_t frame) {
    m_ui.wg_animate->setStyleSheet(
        QStringLiteral("QWidget#wg_animate { border-image: url(%1); }").arg(frame_path(frame)));
}

void surf_calibration_fm_c::next_frame() {
    show_frame(m_frame);
    m_frame = (m_frame + 1) % frame_count;
}

void surf_calibration_fm_c::mousePressEvent(QMouseEvent* event) {
    m_drag_origin = event->pos();
    m_dragging = true;
    QDialog::mousePressEvent(event);
}

void surf_calibration_fm_c::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging)
        move(event->globalPos() - m_drag_origin);
    QDialog::mouseMoveEvent(event);
}

void surf_calibration_fm_c::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}
