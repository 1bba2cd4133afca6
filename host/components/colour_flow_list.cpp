#include "host/components/colour_flow_list.h"

#include "host/components/component_context.h"
#include "host/components/component_style.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

Q_LOGGING_CATEGORY(lc_flow_list, "koral.components")

namespace {

constexpr int k_border = 1;
constexpr int k_text_left = 30;
constexpr int k_text_right = 16;

} // namespace

// ---------------------------------------------------------------------------
// colour_flow_popup_c

colour_flow_popup_c::colour_flow_popup_c(QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint) {
    setObjectName(QStringLiteral("wg_colour_flow_popup"));
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void colour_flow_popup_c::set_items(const QStringList& items, int current) {
    m_items = items;
    m_current = (current >= 0 && current < items.size()) ? current : -1;
    m_highlight = m_current >= 0 ? m_current : (items.isEmpty() ? -1 : 0);
    updateGeometry();
    update();
}

QRect colour_flow_popup_c::row_rect(int row) const {
    return QRect(k_border, k_border + 4 + row * row_height, width() - 2 * k_border, row_height);
}

int colour_flow_popup_c::row_at(const QPoint& point) const {
    for (int row = 0; row < m_items.size(); ++row) {
        if (row_rect(row).contains(point))
            return row;
    }
    return -1;
}

QSize colour_flow_popup_c::sizeHint() const {
    const QFontMetrics metrics(font());
    int text = 0;
    for (const QString& item : m_items)
        text = qMax(text, metrics.horizontalAdvance(item));
    const int width = qMax(m_min_width, text + k_text_left + k_text_right + 2 * k_border);
    return QSize(width, m_items.size() * row_height + 8 + 2 * k_border);
}

void colour_flow_popup_c::open_below(QWidget* anchor) {
    if (!anchor)
        return;
    setFont(anchor->font());
    m_min_width = anchor->width();
    resize(sizeHint());
    QPoint pos = anchor->mapToGlobal(QPoint(0, anchor->height() + 2));
    if (const QScreen* screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        pos.setX(qBound(area.left(), pos.x(), qMax(area.left(), area.right() - width())));
        // No room below: open above the anchor.
        if (pos.y() + height() > area.bottom())
            pos.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height() - 2);
    }
    move(pos);
    show();
    setFocus(Qt::PopupFocusReason);
}

void colour_flow_popup_c::paintEvent(QPaintEvent*) {
    using namespace component_style;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(QColor(0x3a, 0x3f, 0x47), 1));
    p.setBrush(QColor(0x1d, 0x20, 0x25));
    p.drawRoundedRect(frame, 6, 6);

    const QFontMetrics metrics(font());
    for (int row = 0; row < m_items.size(); ++row) {
        const QRect r = row_rect(row).adjusted(4, 0, -4, 0);
        if (row == m_highlight) {
            p.setPen(Qt::NoPen);
            p.setBrush(surface_raised.lighter(115));
            p.drawRoundedRect(QRectF(r).adjusted(0, 1, 0, -1), 4, 4);
        }
        if (row == m_current) {
            // The chosen item: a check in the accent colour before its text.
            QPainterPath check;
            const QPointF at(r.left() + 10, r.center().y() + 0.5);
            check.moveTo(at + QPointF(0, 0));
            check.lineTo(at + QPointF(3.5, 3.5));
            check.lineTo(at + QPointF(10, -4));
            p.setPen(QPen(accent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(check);
        }
        p.setPen(row == m_current ? text_bright : (row == m_highlight ? text_bright : text_normal));
        const QRect text_rect(r.left() + k_text_left - 4, r.top(),
                              r.width() - (k_text_left - 4) - k_text_right, r.height());
        p.drawText(text_rect, Qt::AlignVCenter | Qt::AlignLeft,
                   metrics.elidedText(m_items.at(row), Qt::ElideRight, text_rect.width()));
    }
}

void colour_flow_popup_c::mouseMoveEvent(QMouseEvent* event) {
    const int row = row_at(event->pos());
    if (row >= 0 && row != m_highlight) {
        m_highlight = row;
        update();
    }
}

void colour_flow_popup_c::leaveEvent(QEvent*) {
    if (m_highlight != m_current) {
        m_highlight = m_current;
        update();
    }
}

void colour_flow_popup_c::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int row = row_at(event->pos());
    if (row >= 0)
        choose(row);
}

void colour_flow_popup_c::keyPressEvent(QKeyEvent* event) {
    const int last = m_items.size() - 1;
    switch (event->key()) {
    case Qt::Key_Up:
        m_highlight = qMax(0, m_highlight - 1);
        break;
    case Qt::Key_Down:
        m_highlight = qMin(last, m_highlight + 1);
        break;
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        m_highlight = last >= 0 ? 0 : -1;
        break;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        m_highlight = last;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_highlight >= 0)
            choose(m_highlight);
        return;
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    update();
}

void colour_flow_popup_c::choose(int row) {
    close();
    emit chosen(row);
}

// ---------------------------------------------------------------------------
// colour_flow_list_c

colour_flow_list_c::colour_flow_list_c(component_context_c* context)
    : m_context(context) {}

colour_flow_list_c::~colour_flow_list_c() {
    if (m_anchor)
        m_anchor->removeEventFilter(this);
    delete m_popup.data();
}

interface_i* colour_flow_list_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<colour_flow_list_i>::value)
        return static_cast<colour_flow_list_i*>(this);
    return nullptr;
}

void colour_flow_list_c::release() {
    m_journal.record(QStringLiteral("release"));
    if (m_released)
        return;
    m_released = true;
    if (m_notifying > 0) {
        // Released by the client while it hears from us: finish the event first.
        if (m_popup)
            m_popup->hide();
        deleteLater();
        return;
    }
    delete this;
}

void colour_flow_list_c::attach(QAbstractButton* anchor, combobox_fm_client_i* client) {
    m_journal.record(QStringLiteral("attach"),
                     {anchor ? anchor->objectName() : QStringLiteral("null"), client != nullptr});
    if (m_anchor) {
        m_anchor->removeEventFilter(this);
        disconnect(m_anchor, nullptr, this, nullptr);
    }
    m_anchor = anchor;
    m_client = client;
    if (!anchor)
        return;
    connect(anchor, &QAbstractButton::clicked, this, &colour_flow_list_c::open);
    anchor->installEventFilter(this);
}

void colour_flow_list_c::select(int32_t index) {
    m_journal.record(QStringLiteral("select"), {index});
    if (index < -1 || index >= m_items.size()) {
        qCWarning(lc_flow_list, "Colour-flow list: item %d to select does not exist (%d items)",
                  index, int(m_items.size()));
        return;
    }
    m_current = index;
}

void colour_flow_list_c::list_reserved_4() {
    m_journal.record(QStringLiteral("list_reserved_4"));
}

void colour_flow_list_c::set_text(int32_t index, const QString& text) {
    m_journal.record(QStringLiteral("set_text"), {index, text});
    if (index < 0 || index >= max_items) {
        qCWarning(lc_flow_list, "Colour-flow list: item %d is outside 0..%d; its text is ignored",
                  index, max_items - 1);
        return;
    }
    while (m_items.size() <= index)
        m_items.append(QString());
    m_items[index] = text;
}

void colour_flow_list_c::list_reserved_6() {
    m_journal.record(QStringLiteral("list_reserved_6"));
}

void colour_flow_list_c::list_reserved_7() {
    m_journal.record(QStringLiteral("list_reserved_7"));
}

void colour_flow_list_c::list_reserved_8() {
    m_journal.record(QStringLiteral("list_reserved_8"));
}

void colour_flow_list_c::list_reserved_9() {
    m_journal.record(QStringLiteral("list_reserved_9"));
}

int32_t colour_flow_list_c::current_index() {
    m_journal.record(QStringLiteral("current_index"));
    return m_current;
}

QString colour_flow_list_c::text(int32_t index) {
    m_journal.record(QStringLiteral("text"), {index});
    return (index >= 0 && index < m_items.size()) ? m_items.at(index) : QString();
}

void colour_flow_list_c::open() {
    if (!m_anchor || m_items.isEmpty() || m_released)
        return;
    if (!m_popup) {
        m_popup = new colour_flow_popup_c;
        connect(m_popup, &colour_flow_popup_c::chosen, this, &colour_flow_list_c::choose);
    }
    m_popup->set_items(m_items, m_current);
    m_popup->open_below(m_anchor);
}

void colour_flow_list_c::choose(int index) {
    if (index < 0 || index >= m_items.size() || m_released)
        return;
    m_current = index;
    if (m_popup)
        m_popup->hide();
    if (!m_client)
        return;
    const QPointer<component_context_c> context = m_context;
    ++m_notifying;
    m_client->item_chosen(this, index);
    --m_notifying;
    if (context)
        context->report_user_change();
}

bool colour_flow_list_c::eventFilter(QObject* watched, QEvent* event) {
    // The keyboard opens the list as a combo box does: Alt+Down or F4.
    if (watched == m_anchor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool alt_down = key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier);
        if (alt_down || key->key() == Qt::Key_F4) {
            open();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
