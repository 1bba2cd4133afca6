// The trash can beside the side-panel editor: blocks dragged out of the panel are dropped
// on it, and a click on it deletes the selected blocks. It shakes when it takes something.
#pragma once

#include "ui_trash_can.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class btn_set_owner_i;
class jigsawparent1;

class TrashCan : public QWidget {
    Q_OBJECT

public:
    // `owner` (may be null) leads to the editor and the box's "SELECT ALL" check box.
    TrashCan(btn_set_owner_i* owner, QWidget* parent);

    // Angle 0, step 1, then -8, +8 and 0 degrees on three 70 ms ticks.
    void shake();
    int shake_step() const { return m_step; }
    qreal angle() const { return m_angle; }
    bool glowing() const;
    bool drag_over() const { return m_drag_over; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void shake_tick();
    void set_glow(bool on);
    void set_centre_over(bool on);
    jigsawparent1* editor() const;
    bool from_editor(QDropEvent* event) const;

    Ui::trash_can m_ui;
    btn_set_owner_i* m_owner;
    QPixmap m_normal;
    QPixmap m_over;
    QTimer m_timer;
    int m_step = 0;
    qreal m_angle = 0;
    bool m_drag_over = false;
};
