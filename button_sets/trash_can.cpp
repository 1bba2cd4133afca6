#include "button_sets/trash_can.h"

#include "button_sets/btn_set_owner.h"
#include "button_sets/drag_payload.h"
#include "button_sets/jigsawparent1.h"

#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QString icons = QStringLiteral(":/graphics/button_assignment/buttons/Delete_icon/");
constexpr int tick_ms = 70;
constexpr qreal tilt = 8;

} // namespace

TrashCan::TrashCan(btn_set_owner_i* owner, QWidget* parent)
    : QWidget(parent)
    , m_owner(owner)
    , m_normal(icons + "Delete_normal.png")
    , m_over(icons + "Delete_over.png") {
    m_ui.setupUi(this);
    setFixedSize(108, 108);
    setAcceptDrops(true);
    m_ui.wg_glow->setAttribute(Qt::WA_StyledBackground);
    m_ui.wg_center->setAttribute(Qt::WA_StyledBackground);
    m_ui.wg_center->installEventFilter(this);
    m_timer.setInterval(tick_ms);
    connect(&m_timer, &QTimer::timeout, this, &TrashCan::shake_tick);
}

jigsawparent1* TrashCan::editor() const {
    return m_owner ? m_owner->editor() : nullptr;
}

bool TrashCan::from_editor(QDropEvent* event) const {
    // Only blocks lifted out of the panel go to the bin; palette blocks are never deleted.
    return qobject_cast<jigsawparent1*>(drag_payload::source_of(event)) != nullptr;
}

bool TrashCan::glowing() const {
    return !m_ui.wg_glow->styleSheet().isEmpty();
}

void TrashCan::set_glow(bool on) {
    m_ui.wg_glow->setStyleSheet(
        on ? QStringLiteral("QWidget#wg_glow { background-image: url(%1Glow.png); "
                            "background-repeat: no-repeat; background-position: center; }")
                 .arg(icons)
           : QString());
}

void TrashCan::set_centre_over(bool on) {
    m_ui.wg_center->setStyleSheet(
        on ? QStringLiteral("QWidget#wg_center { background-image: url(%1Delete_over.png); "
                            "background-repeat: no-repeat; background-position: center; }")
                 .arg(icons)
           : QString());
    set_glow(on);
}

void TrashCan::dragEnterEvent(QDragEnterEvent* event) {
    if (!from_editor(event)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    set_glow(true);
    m_drag_over = true;
    QWidget::update();
}

void TrashCan::dragMoveEvent(QDragMoveEvent* event) {
    if (from_editor(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TrashCan::dragLeaveEvent(QDragLeaveEvent*) {
    set_glow(false);
    m_drag_over = false;
    QWidget::update();
}

void TrashCan::dropEvent(QDropEvent* event) {
    if (!from_editor(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    set_glow(false);
    m_drag_over = false;
    shake();
}

bool TrashCan::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_ui.wg_center)
        return QWidget::eventFilter(watched, event);
    jigsawparent1* panel = editor();
    switch (event->type()) {
    case QEvent::Enter:
        if (panel && panel->has_selection())
            set_centre_over(true);
        break;
    case QEvent::Leave:
        set_centre_over(false);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && panel &&
            panel->has_selection()) {
            panel->delete_selected();
            set_centre_over(false);
            shake();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TrashCan::shake() {
    m_angle = 0;
    m_step = 1;
    m_timer.start();
    if (m_owner)
        m_owner->clear_select_all();
    QWidget::update();
}

void TrashCan::shake_tick() {
    switch (m_step) {
    case 1:
        m_angle = -tilt;
        m_step = 2;
        break;
    case 2:
        m_angle = tilt;
        m_step = 3;
        break;
    default:
        m_angle = 0;
        m_step = 0;
        m_timer.stop();
        break;
    }
    QWidget::update();
}

void TrashCan::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_step == 0 && !m_drag_over) {
        p.drawPixmap((width() - m_normal.width()) / 2, (height() - m_normal.height()) / 2,
                     m_normal);
        return;
    }
    p.translate(width() / 2.0, height() / 2.0);
    p.rotate(m_angle);
    p.translate(-width() / 2.0, -height() / 2.0);
    p.drawPixmap((width() - m_over.width()) / 2, (height() - m_over.height()) / 2, m_over);
}
