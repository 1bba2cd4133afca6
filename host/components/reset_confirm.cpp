#include "host/components/reset_confirm.h"

#include "host/components/button_texts.h"
#include "host/components/component_context.h"
#include "host/components/component_style.h"
#include "host/host_log.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int k_arrow = 8;  // height of the arrow
constexpr int k_shadow = 6; // room for the soft edge

} // namespace

reset_confirm_fm_c::reset_confirm_fm_c(component_context_c* context, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
    , m_context(context) {
    setObjectName(QStringLiteral("reset_confirm_fm_c"));
    setAttribute(Qt::WA_TranslucentBackground);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16 + k_shadow, 12 + k_arrow + k_shadow, 16 + k_shadow,
                               14 + k_shadow);
    column->setSpacing(6);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lb_reset_title"));
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lb_reset_text"));
    m_text->setWordWrap(true);
    m_text->setFixedWidth(230);
    column->addWidget(m_title);
    column->addWidget(m_text);
    column->addSpacing(6);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addStretch(1);
    m_no = new QPushButton(this);
    m_no->setObjectName(QStringLiteral("btn_reset_no"));
    m_yes = new QPushButton(this);
    m_yes->setObjectName(QStringLiteral("btn_reset_yes"));
    for (QPushButton* button : {m_no, m_yes}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumWidth(72);
        row->addWidget(button);
    }
    m_yes->setDefault(true);
    column->addLayout(row);
    setStyleSheet(QStringLiteral(R"(
QLabel#lb_reset_title { color: #eceef1; font-size: 11px; font-weight: 800; letter-spacing: 2px; }
QLabel#lb_reset_text { color: #b4b9c0; font-size: 12px; }
QPushButton {
    background: #262a30; color: #dcdfe3; border: 1px solid #353a42; border-radius: 4px;
    padding: 5px 12px; font-size: 11px; font-weight: 700; letter-spacing: 1px;
}
QPushButton:hover { background: #2d3239; border-color: #4a5059; }
QPushButton#btn_reset_yes { background: #a8473f; border-color: #c0554c; color: #ffffff; }
QPushButton#btn_reset_yes:hover { background: #bb5148; }
)"));
    connect(m_yes, &QPushButton::clicked, this, [this] { answer(1); });
    connect(m_no, &QPushButton::clicked, this, [this] { answer(0); });
    if (context)
        connect(context, &component_context_c::language_changed, this,
                &reset_confirm_fm_c::retranslate);
    retranslate();
}

void reset_confirm_fm_c::retranslate() {
    const auto text = [this](int32_t id) {
        return m_context ? m_context->text(id) : QString();
    };
    m_title->setText(text(button_text::reset_title));
    m_text->setText(text(button_text::reset_text));
    m_yes->setText(text(button_text::reset_yes));
    m_no->setText(text(button_text::reset_no));
    adjustSize();
}

void reset_confirm_fm_c::open_at(QWidget* anchor) {
    adjustSize();
    const QRect target(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    QRect area;
    if (const QScreen* screen = anchor->screen())
        area = screen->availableGeometry();
    // The bubble's arrow points at the anchor's centre; the bubble hangs below
    // it, its right part over the anchor, and flips above when the screen ends.
    m_points_up = !area.isValid() || target.bottom() + height() <= area.bottom();
    int x = target.center().x() - (width() - 40);
    if (area.isValid())
        x = qBound(area.left(), x, qMax(area.left(), area.right() - width()));
    const int y = m_points_up ? target.bottom() + 2 : target.top() - height() - 2;
    m_arrow_x = qBound(k_shadow + 16, target.center().x() - x, width() - k_shadow - 16);
    // The arrow sits on the side facing the anchor.
    QMargins margins = layout()->contentsMargins();
    if (m_points_up) {
        margins.setTop(12 + k_arrow + k_shadow);
        margins.setBottom(14 + k_shadow);
    } else {
        margins.setTop(12 + k_shadow);
        margins.setBottom(14 + k_arrow + k_shadow);
    }
    layout()->setContentsMargins(margins);
    move(x, y);
    m_answered = false;
    m_answer = 0;
    show();
    m_yes->setFocus();
}

void reset_confirm_fm_c::answer(int value) {
    m_answer = value;
    close();
}

void reset_confirm_fm_c::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_answered)
        return;
    m_answered = true;
    emit answered(m_answer);
}

void reset_confirm_fm_c::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        answer(0);
        return;
    }
    QWidget::keyPressEvent(event);
}

void reset_confirm_fm_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(rect()).adjusted(k_shadow, k_shadow + (m_points_up ? k_arrow : 0),
                                                -k_shadow, -k_shadow - (m_points_up ? 0 : k_arrow));
    QPainterPath bubble;
    bubble.addRoundedRect(body, 7, 7);
    QPainterPath arrow;
    const double ax = m_arrow_x;
    if (m_points_up) {
        arrow.moveTo(ax - k_arrow, body.top() + 1);
        arrow.lineTo(ax, body.top() - k_arrow);
        arrow.lineTo(ax + k_arrow, body.top() + 1);
    } else {
        arrow.moveTo(ax - k_arrow, body.bottom() - 1);
        arrow.lineTo(ax, body.bottom() + k_arrow);
        arrow.lineTo(ax + k_arrow, body.bottom() - 1);
    }
    arrow.closeSubpath();
    const QPainterPath shape = bubble.united(arrow);
    // A soft edge under the bubble, then the bubble.
    for (int i = k_shadow; i > 0; --i) {
        p.setPen(QPen(QColor(0, 0, 0, 14), i * 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape.translated(0, 2));
    }
    p.setPen(QPen(QColor(0x3a, 0x3f, 0x47), 1));
    p.setBrush(QColor(0x20, 0x23, 0x28));
    p.drawPath(shape);
    // A warm line along the top says that this undoes settings.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc0, 0x55, 0x4c));
    p.drawRoundedRect(QRectF(body.left() + 14, body.top() + 6, 24, 2), 1, 1);
}

// ---------------------------------------------------------------------------
// reset_confirm_c

reset_confirm_c::reset_confirm_c(component_context_c* context)
    : m_context(context) {}

reset_confirm_c::~reset_confirm_c() {
    if (m_bubble) {
        disconnect(m_bubble, nullptr, this, nullptr);
        delete m_bubble.data();
    }
}

interface_i* reset_confirm_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<reset_confirm_i>::value)
        return static_cast<reset_confirm_i*>(this);
    return nullptr;
}

void reset_confirm_c::release() {
    m_journal.record(QStringLiteral("release"));
    // Released while it tells its client: go once the answer is through.
    if (m_delivering > 0) {
        m_released = true;
        m_client = nullptr;
        return;
    }
    delete this;
}

void reset_confirm_c::set_client(reset_to_default_fm_client_i* client) {
    m_journal.record(QStringLiteral("set_client"), {client != nullptr});
    m_client = client;
}

void reset_confirm_c::show_at(QWidget* anchor) {
    m_journal.record(QStringLiteral("show_at"),
                     {anchor ? anchor->objectName() : QStringLiteral("null")});
    if (!anchor) {
        qCWarning(lc_koral, "The reset confirmation was asked to show without a button");
        return;
    }
    if (!m_bubble) {
        m_bubble = new reset_confirm_fm_c(m_context);
        connect(m_bubble, &reset_confirm_fm_c::answered, this, &reset_confirm_c::deliver);
    }
    if (m_bubble->isVisible())
        return;
    m_bubble->open_at(anchor);
}

void reset_confirm_c::close_confirm() {
    m_journal.record(QStringLiteral("close_confirm"));
    if (m_bubble && m_bubble->isVisible())
        m_bubble->close();
}

void reset_confirm_c::deliver(int answer) {
    m_journal.record(QStringLiteral("answer"), {answer});
    ++m_delivering;
    if (m_client)
        m_client->reset_answer(answer);
    --m_delivering;
    if (m_released)
        deleteLater();
}
