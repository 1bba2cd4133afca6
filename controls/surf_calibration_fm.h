// The surface calibration dialog: a frameless, draggable modal dialog that starts the
// sensor's surface analysis, animates while it runs and ends in success or failure.
#pragma once

#include "module/component_interfaces.h"
#include "pages/form_base.h"
#include "ui_surf_calibration_fm.h"

#include <QDialog>
#include <QPoint>
#include <QTimer>

class surf_lift_ctrl_funcs_c;

class surf_calibration_fm_c : public QDialog, public form_base_c {
    Q_OBJECT

public:
    enum state_t : int32_t { idle = 0, calibrating = 1, failed = 2, succeeded = 3 };

    // `control` sends the tuning commands; `window` becomes the dialog's parent.
    surf_calibration_fm_c(surf_lift_ctrl_funcs_c* control, QWidget* window);
    ~surf_calibration_fm_c() override;

    void update() override;
    void fonts_applied() override;

    // State 1, command 0, the calibration timer started.
    void start_calibration();
    // A new state, shown at once (label, caption, button, animation).
    void set_state(int32_t state);

    int32_t state() const { return m_state; }
    int32_t frame() const { return m_frame; }
    // The frame shown now, as the resource path of its image.
    static QString frame_path(int32_t frame);
    // The delay of the last calibration timer (5000..10999 ms), 0 before the first.
    int calibration_delay() const { return m_calibration_delay; }
    bool is_dragging() const { return m_dragging; }
    const QTimer& animation_timer() const { return m_animation; }
    const QTimer& calibration_timer() const { return m_calibration; }
    const Ui::surf_calibration_fm& ui() const { return m_ui; }

    // What the dialog's two buttons do.
    void calibrate_clicked();
    void cancel_clicked();
    // The animation timer's tick: shows the current frame and moves on, 99 wrapping to 0.
    void next_frame();

    static constexpr int frame_interval_ms = 50;
    static constexpr int frame_count = 100;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void redraw();
    void show_frame(int32_t frame);

    Ui::surf_calibration_fm m_ui;
    surf_lift_ctrl_funcs_c* m_control;
    int32_t m_state = idle;
    QPoint m_drag_origin;
    QTimer m_animation;
    QString m_start_caption = QStringLiteral("START CALIBRATION");
    QString m_retry_caption = QStringLiteral("RETRY CALIBRATION");
    QString m_continue_caption = QStringLiteral("CONTINUE");
    preset_selector_i* m_title = nullptr;
    bool m_dragging = false;
    int32_t m_frame = 0;
    QTimer m_calibration;
    int m_calibration_delay = 0;
};
