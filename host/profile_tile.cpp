#include "host/profile_tile.h"

#include <QMouseEvent>
#include <QPainter>

profile_tile_c::profile_tile_c(int slot, QWidget* parent)
    : QWidget(parent)
    , m_slot(slot) {
    setObjectName(QStringLiteral("wg_profile_tile_%1").arg(slot + 1));
    setFixedSize(tile_size);
    setAttribute(Qt::WA_Hover);
}

void profile_tile_c::set_state(bool used, bool current) {
    if (used == m_used && current == m_current)
        return;
    m_used = used;
    m_current = current;
    setCursor(used ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void profile_tile_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool hover = m_used && underMouse();
    QPen border(m_current ? QColor(0x3a, 0xa7, 0xc9)
                          : (hover ? QColor(0x3a, 0x3f, 0x47) : QColor(0x23, 0x27, 0x2c)),
                1);
    if (!m_used)
        border = QPen(QColor(0x25, 0x28, 0x2d), 1, Qt::DashLine);
    p.setPen(border);
    // A used tile has the surface of the module's preview overlays, so the preview
    // shows no edge of its own.
    p.setBrush(m_used ? QColor(0x1e, 0x21, 0x26) : QColor(0x13, 0x14, 0x17));
    p.drawRoundedRect(frame, 5, 5);

    QFont number = font();
    number.setPixelSize(11);
    number.setWeight(QFont::Bold);
    p.setFont(number);
    p.setPen(m_current ? QColor(0x3a, 0xa7, 0xc9)
                       : (m_used ? QColor(0xae, 0xb3, 0xba) : QColor(0x4a, 0x4e, 0x55)));
    p.drawText(QRect(0, 2, width(), 18), Qt::AlignCenter, QString::number(m_slot + 1));
}

void profile_tile_c::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_used && rect().contains(event->pos()))
        emit clicked(m_slot);
}
