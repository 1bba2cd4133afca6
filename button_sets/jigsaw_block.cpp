#include "button_sets/jigsaw_block.h"

#include "button_sets/drag_payload.h"
#include "button_sets/hand_cursor.h"
#include "common/log.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

namespace {

QPixmap load(const QString& path) {
    QPixmap pixmap(path);
    if (pixmap.isNull())
        write_log(QStringLiteral("Palette block: image %1 is missing").arg(path));
    return pixmap;
}

} // namespace

JigsawBlock::JigsawBlock(int32_t kind, QWidget* parent)
    : QLabel(parent)
    , m_kind(kind) {
    setAttribute(Qt::WA_Hover);
    setCursor(hand_cursor::cursor(false));
}

void JigsawBlock::set_images(const QString& normal, const QString& over, const QString& lifted) {
    m_normal = load(normal);
    m_over = load(over);
    m_lifted = load(lifted);
    if (!m_normal.isNull())
        setFixedSize(m_normal.size());
    setPixmap(m_normal);
}

void JigsawBlock::set_highlight(bool on) {
    if (!m_carried)
        setPixmap(on ? m_over : m_normal);
}

bool JigsawBlock::event(QEvent* event) {
    if (event->type() == QEvent::HoverEnter)
        set_highlight(true);
    else if (event->type() == QEvent::HoverLeave)
        set_highlight(false);
    return QLabel::event(event);
}

void JigsawBlock::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_press = event->pos();
    QLabel::mousePressEvent(event);
}

void JigsawBlock::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) &&
        (event->pos() - m_press).manhattanLength() >= QApplication::startDragDistance()) {
        drag(event->pos());
        return;
    }
    QLabel::mouseMoveEvent(event);
}

Qt::DropAction JigsawBlock::drag(const QPoint& hot_spot) {
    auto* mime = new drag_payload(this);
    mime->setImageData(m_over.toImage());
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(m_over);
    drag->setHotSpot(hot_spot);
    drag->setDragCursor(hand_cursor::pixmap(true), Qt::MoveAction);
    m_carried = true;
    setPixmap(m_lifted);
    QPointer<JigsawBlock> alive(this);
    const Qt::DropAction result = drag->exec(Qt::MoveAction);
    if (alive) {
        m_carried = false;
        setPixmap(m_normal);
    }
    return result;
}
