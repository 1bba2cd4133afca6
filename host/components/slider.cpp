#include "host/components/slider.h"

#include "host/components/component_context.h"
#include "host/components/component_style.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtMath>

namespace {

constexpr char k_object_property[] = "host_slider_object";

QFont mark_font() {
    QFont font;
    font.setPixelSize(10);
    font.setWeight(QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    return font;
}

// Draws `paint`'s picture of `rect` from a pixmap made once per size, sub-pixel offset,
// look and pixel ratio: every slider of every page opening draws the same rounded
// groove and fill, and stroking them anew was most of painting a slider.
template <class Paint>
void draw_kept(QPainter& p, const QRectF& rect, const QString& look, qreal ratio, Paint paint) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const QRect box = rect.toAlignedRect();
    const QPointF shift = rect.topLeft() - QPointF(box.topLeft());
    const QString key = QStringLiteral("slider_bar/%1/%2x%3+%4+%5@%6")
                            .arg(look)
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(shift.x())
                            .arg(shift.y())
                            .arg(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap(box.size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter kept(&pixmap);
        kept.setRenderHint(QPainter::Antialiasing);
        paint(kept, QRectF(shift, rect.size()));
        kept.end();
        QPixmapCache::insert(key, pixmap);
    }
    p.drawPixmap(box.topLeft(), pixmap);
}

} // namespace

// ---------------------------------------------------------------------------
// slider_widget_c

slider_widget_c::slider_widget_c(QWidget* parent)
    : QWidget(parent)
    , m_text_colour(component_style::text_dim) {
    setObjectName(QStringLiteral("sld_host_slider"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

int slider_widget_c::normalised(int value) const {
    value = qBound(m_min, value, m_max);
    const int steps = qRound(double(value - m_min) / m_step);
    int snapped = m_min + steps * m_step;
    // The last grid point may lie past the maximum when the range is not a
    // whole number of steps.
    while (snapped > m_max)
        snapped -= m_step;
    return qMax(m_min, snapped);
}

void slider_widget_c::set_range(int max, int min, int step) {
    if (max < min)
        std::swap(max, min);
    m_min = min;
    m_max = max;
    m_step = qMax(1, step);
    m_value = normalised(m_value);
    update();
}

void slider_widget_c::set_value(int value) {
    const int shown = normalised(value);
    if (shown == m_value)
        return;
    m_value = shown;
    update();
}

void slider_widget_c::set_marks(const QVector<mark_t>& marks) {
    m_marks = marks;
    updateGeometry();
    update();
}

void slider_widget_c::set_geometry_parts(int groove_height, int handle_width, int handle_height,
                                         int mark_gap) {
    m_groove_height = qBound(2, groove_height, 40);
    m_handle_width = qBound(4, handle_width, 80);
    m_handle_height = qBound(4, handle_height, 80);
    m_mark_gap = qBound(0, mark_gap, 60);
    updateGeometry();
    update();
}

void slider_widget_c::set_margins(int horizontal, int vertical) {
    m_margin_h = qBound(0, horizontal, 100);
    m_margin_v = qBound(0, vertical, 100);
    updateGeometry();
    update();
}

void slider_widget_c::set_style_variant(int variant) {
    m_variant = variant;
    update();
}

void slider_widget_c::set_handle_pixmap(const QPixmap& pixmap) {
    m_handle = pixmap;
    updateGeometry();
    update();
}

void slider_widget_c::set_text_colour(const QColor& colour) {
    m_text_colour = colour;
    update();
}

int slider_widget_c::groove_left() const {
    return m_margin_h + handle_rect().width() / 2;
}

int slider_widget_c::groove_right() const {
    return qMax(groove_left() + 1, width() - 1 - m_margin_h - handle_rect().width() / 2);
}

int slider_widget_c::groove_centre_y() const {
    const int handle = m_handle.isNull() ? m_handle_height
                                         : qRound(m_handle.height() / m_handle.devicePixelRatioF());
    return m_margin_v + qMax(handle, m_groove_height) / 2 + 2;
}

int slider_widget_c::x_of(int value) const {
    if (m_max == m_min)
        return groove_left();
    const double t = double(value - m_min) / (m_max - m_min);
    return groove_left() + qRound(t * (groove_right() - groove_left()));
}

int slider_widget_c::value_at(int x) const {
    const double span = groove_right() - groove_left();
    const double t = qBound(0.0, (x - groove_left()) / span, 1.0);
    return normalised(m_min + qRound(t * (m_max - m_min)));
}

QRect slider_widget_c::handle_rect() const {
    QSize size(m_handle_width, m_handle_height);
    if (!m_handle.isNull())
        size = size.expandedTo(m_handle.size() / m_handle.devicePixelRatioF());
    QRect rect(QPoint(0, 0), size);
    // Positioned without handle_rect() itself: groove_left() depends on the size only.
    const int left = m_margin_h + size.width() / 2;
    const int right = qMax(left + 1, width() - 1 - m_margin_h - size.width() / 2);
    const double t = m_max == m_min ? 0.0 : double(m_value - m_min) / (m_max - m_min);
    rect.moveCenter(QPoint(left + qRound(t * (right - left)), groove_centre_y()));
    return rect;
}

QPoint slider_widget_c::handle_centre(int value) const {
    return QPoint(x_of(normalised(value)), groove_centre_y());
}

QSize slider_widget_c::sizeHint() const {
    int height = groove_centre_y() + handle_rect().height() / 2 + 2;
    bool labels = false;
    bool ticks = false;
    for (const mark_t& mark : m_marks) {
        ticks = true;
        labels = labels || !mark.label.isEmpty();
    }
    if (labels)
        height = qMax(height, groove_centre_y() + m_mark_gap + QFontMetrics(mark_font()).height());
    else if (ticks)
        height = qMax(height, groove_centre_y() + m_groove_height / 2 + 7);
    return QSize(200, height + m_margin_v);
}

QSize slider_widget_c::minimumSizeHint() const {
    return QSize(2 * (m_margin_h + handle_rect().width()) + 20, sizeHint().height());
}

void slider_widget_c::paintEvent(QPaintEvent*) {
    using namespace component_style;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const int cy = groove_centre_y();
    const int left = groove_left();
    const int right = groove_right();
    const qreal gh = m_groove_height;

    // Groove.
    const qreal ratio = devicePixelRatioF();
    const QRectF groove_rect(left - gh / 2, cy - gh / 2, right - left + gh, gh);
    draw_kept(p, groove_rect, QStringLiteral("groove"), ratio, [gh](QPainter& q, QRectF r) {
        q.setPen(QPen(groove_border, 1));
        q.setBrush(groove);
        q.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), gh / 2, gh / 2);
    });

    // Filled part: from zero when the range spans it, else from the minimum.
    const int origin = (m_min < 0 && m_max > 0) ? x_of(0) : left;
    const int handle_x = x_of(m_value);
    if (handle_x != origin || origin == left) {
        const qreal from = qMin(origin, handle_x) - (origin == left ? gh / 2 : 0);
        const qreal to = qMax(origin, handle_x);
        const QRectF fill(from, cy - gh / 2 + 1, to - from, gh - 2);
        const QString look = enabled ? QStringLiteral("fill") : QStringLiteral("fill_off");
        draw_kept(p, fill, look, ratio, [gh, enabled](QPainter& q, QRectF r) {
            QLinearGradient gradient(r.topLeft(), r.topRight());
            gradient.setColorAt(0, enabled ? accent_dark : QColor(0x30, 0x33, 0x39));
            gradient.setColorAt(1, enabled ? accent : QColor(0x3c, 0x40, 0x47));
            q.setPen(Qt::NoPen);
            q.setBrush(gradient);
            q.drawRoundedRect(r, (gh - 2) / 2, (gh - 2) / 2);
        });
    }

    // Step notches on the groove (stepped look), for short ranges only.
    const int steps = (m_max - m_min) / m_step;
    if (m_variant == 1 && steps > 0 && steps <= 20) {
        p.setPen(Qt::NoPen);
        for (int v = m_min; v <= m_max; v += m_step) {
            p.setBrush(v <= m_value && enabled ? QColor(0xd8, 0xf1, 0xf8, 150)
                                               : QColor(0x50, 0x55, 0x5d));
            p.drawEllipse(QPointF(x_of(v), cy), 1.3, 1.3);
        }
    }

    // Marks: ticks under the groove and their labels below.
    if (!m_marks.isEmpty()) {
        p.setFont(mark_font());
        const QFontMetrics metrics(p.font());
        const int tick_top = cy + int(gh / 2) + 3;
        const int label_top = cy + m_mark_gap;
        for (const mark_t& mark : m_marks) {
            if (mark.value < m_min || mark.value > m_max)
                continue;
            const int x = x_of(mark.value);
            const bool passed = enabled && mark.value <= m_value;
            p.setPen(QPen(passed ? QColor(0x3f, 0x6f, 0x80) : QColor(0x3a, 0x3f, 0x47), 1));
            p.drawLine(QPointF(x + 0.5, tick_top),
                       QPointF(x + 0.5, qMax(tick_top + 2, label_top - 2)));
            if (mark.label.isEmpty())
                continue;
            const int w = metrics.horizontalAdvance(mark.label);
            const int lx = qBound(0, x - w / 2, qMax(0, width() - w));
            p.setPen(enabled ? m_text_colour : text_disabled);
            // At a point, not in a box: a box sends the text through a full layout pass.
            p.drawText(QPointF(lx + 0.5, label_top + metrics.ascent()), mark.label);
        }
    }

    // Handle.
    const QRect handle = handle_rect();
    const bool active = m_dragging || (m_keyboard_focus && hasFocus() && enabled);
    if (active) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(accent.red(), accent.green(), accent.blue(), m_dragging ? 70 : 40));
        const qreal r = qMax(handle.width(), handle.height()) / 2.0 + 4;
        p.drawEllipse(QPointF(handle.center()) + QPointF(0.5, 0.5), r, r);
    }
    if (!m_handle.isNull()) {
        if (!enabled)
            p.setOpacity(0.45);
        const QSize logical = m_handle.size() / m_handle.devicePixelRatioF();
        QRect target(QPoint(0, 0), logical);
        target.moveCenter(handle.center());
        p.drawPixmap(target, m_handle);
        p.setOpacity(1.0);
    } else {
        const qreal d = qMin(handle.width(), handle.height());
        const QPointF c = QPointF(handle.center()) + QPointF(0.5, 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawEllipse(c + QPointF(0, 1.2), d / 2, d / 2);
        QRadialGradient knob(c - QPointF(d * 0.2, d * 0.25), d * 0.8);
        knob.setColorAt(0, enabled ? QColor(0xfa, 0xfb, 0xfc) : QColor(0x5c, 0x60, 0x67));
        knob.setColorAt(1, enabled ? QColor(0xb9, 0xbe, 0xc5) : QColor(0x3a, 0x3e, 0x44));
        p.setBrush(knob);
        p.setPen(QPen(QColor(0x0b, 0x0c, 0x0e), 1));
        p.drawEllipse(c, d / 2 - 0.5, d / 2 - 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? accent : text_disabled);
        p.drawEllipse(c, d * 0.16, d * 0.16);
    }
}

void slider_widget_c::edit(int value) {
    value = normalised(value);
    if (value == m_value)
        return;
    m_value = value;
    update();
    emit value_edited(value);
}

void slider_widget_c::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPointer<slider_widget_c> self(this);
    emit pressed();
    if (!self)
        return;
    const QRect handle = handle_rect().adjusted(-2, -2, 2, 2);
    if (handle.contains(event->pos())) {
        // Grabbed the handle: it keeps its offset to the cursor while dragged.
        m_drag_offset = event->pos().x() - handle.center().x();
    } else {
        m_drag_offset = 0;
        edit(value_at(event->pos().x()));
        if (!self)
            return;
    }
    m_dragging = true;
    update();
}

void slider_widget_c::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) {
        event->ignore();
        return;
    }
    edit(value_at(event->pos().x() - m_drag_offset));
}

void slider_widget_c::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging) {
        event->ignore();
        return;
    }
    m_dragging = false;
    update();
}

void slider_widget_c::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    m_wheel_rest += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = m_wheel_rest / QWheelEvent::DefaultDeltasPerStep;
    if (notches == 0) {
        event->accept();
        return;
    }
    m_wheel_rest -= notches * QWheelEvent::DefaultDeltasPerStep;
    edit(m_value + notches * m_step);
    event->accept();
}

bool slider_key_target(int key, int value, int step, int page, int min, int max, int* target) {
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        *target = value + step;
        return true;
    case Qt::Key_Left:
    case Qt::Key_Down:
        *target = value - step;
        return true;
    case Qt::Key_PageUp:
        *target = value + page;
        return true;
    case Qt::Key_PageDown:
        *target = value - page;
        return true;
    case Qt::Key_Home:
        *target = min;
        return true;
    case Qt::Key_End:
        *target = max;
        return true;
    default:
        return false;
    }
}

void slider_widget_c::keyPressEvent(QKeyEvent* event) {
    const int page = qMax(m_step, qRound((m_max - m_min) / 10.0 / m_step) * m_step);
    int target = 0;
    if (!slider_key_target(event->key(), m_value, m_step, page, m_min, m_max, &target)) {
        QWidget::keyPressEvent(event);
        return;
    }
    edit(target);
    event->accept();
}

void slider_widget_c::focusInEvent(QFocusEvent* event) {
    m_keyboard_focus = event->reason() == Qt::TabFocusReason ||
                       event->reason() == Qt::BacktabFocusReason ||
                       event->reason() == Qt::ShortcutFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void slider_widget_c::focusOutEvent(QFocusEvent* event) {
    m_keyboard_focus = false;
    update();
    QWidget::focusOutEvent(event);
}

void slider_widget_c::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        m_dragging = false;
        update();
    }
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------
// slider_c

slider_c::slider_c(component_context_c* context)
    : m_context(context)
    , m_widget(new slider_widget_c) {
    m_widget->hide();
    m_widget->setProperty(k_object_property, QVariant::fromValue(static_cast<void*>(this)));
    connect(m_widget, &slider_widget_c::pressed, this, &slider_c::notify_pressed);
    connect(m_widget, &slider_widget_c::value_edited, this, &slider_c::notify_value);
}

slider_c::~slider_c() {
    // The holder may have taken the widget with it already.
    delete m_widget.data();
}

slider_c* slider_c::of(const QWidget* widget) {
    if (!widget)
        return nullptr;
    return static_cast<slider_c*>(widget->property(k_object_property).value<void*>());
}

interface_i* slider_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<slider_i>::value)
        return static_cast<slider_i*>(this);
    return nullptr;
}

void slider_c::release() {
    m_journal.record(QStringLiteral("release"));
    if (m_released)
        return;
    m_released = true;
    if (m_notifying > 0) {
        // Released by the client while it hears from us: finish the event first.
        if (m_widget)
            m_widget->hide();
        deleteLater();
        return;
    }
    delete this;
}

void slider_c::set_parent(QWidget* parent) {
    m_journal.record(QStringLiteral("set_parent"),
                     {parent ? parent->objectName() : QStringLiteral("null")});
    if (!parent || !m_widget)
        return;
    QString name = parent->objectName();
    if (name.startsWith(QLatin1String("wg_")))
        name.remove(0, 3);
    m_widget->setObjectName(name.isEmpty() ? QStringLiteral("sld_host_slider")
                                           : QStringLiteral("sld_") + name);
    m_widget->setParent(parent);
    // The slider fills its holder; a holder without a layout gets one.
    QLayout* layout = parent->layout();
    if (!layout) {
        layout = new QVBoxLayout(parent);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    layout->addWidget(m_widget);
    m_widget->show();
}

void slider_c::set_range(int32_t max, int32_t min, int32_t step) {
    m_journal.record(QStringLiteral("set_range"), {max, min, step});
    if (m_widget)
        m_widget->set_range(max, min, step);
}

void slider_c::clear_marks() {
    m_journal.record(QStringLiteral("clear_marks"));
    m_pending.clear();
}

void slider_c::add_mark(int32_t value, const QString& label) {
    m_journal.record(QStringLiteral("add_mark"), {value, label});
    m_pending.append({value, label});
}

void slider_c::apply_marks() {
    m_journal.record(QStringLiteral("apply_marks"));
    if (m_widget)
        m_widget->set_marks(m_pending);
    m_pending.clear();
}

int32_t slider_c::value() {
    m_journal.record(QStringLiteral("value"));
    return m_widget ? m_widget->value() : 0;
}

void slider_c::set_value(int32_t value) {
    m_journal.record(QStringLiteral("set_value"), {value});
    if (m_widget)
        m_widget->set_value(value);
}

void slider_c::set_enabled(bool on) {
    m_journal.record(QStringLiteral("set_enabled"), {on});
    if (m_widget)
        m_widget->setEnabled(on);
}

void slider_c::set_style_variant(int32_t variant) {
    m_journal.record(QStringLiteral("set_style_variant"), {variant});
    if (m_widget)
        m_widget->set_style_variant(variant);
}

void slider_c::set_geometry_parts(int32_t groove_height, int32_t handle_width,
                                  int32_t handle_height, int32_t mark_gap) {
    m_journal.record(QStringLiteral("set_geometry_parts"),
                     {groove_height, handle_width, handle_height, mark_gap});
    if (m_widget)
        m_widget->set_geometry_parts(groove_height, handle_width, handle_height, mark_gap);
}

void slider_c::set_margins(int32_t horizontal, int32_t vertical) {
    m_journal.record(QStringLiteral("set_margins"), {horizontal, vertical});
    if (m_widget)
        m_widget->set_margins(horizontal, vertical);
}

void slider_c::set_handle_image(const QString& path) {
    m_journal.record(QStringLiteral("set_handle_image"), {path});
    // The module's images are compiled into it; its resources are registered in
    // this process once it is loaded. Without the image the painted handle stays.
    const QPixmap pixmap(path);
    if (m_widget)
        m_widget->set_handle_pixmap(pixmap);
}

void slider_c::set_text_colour(int32_t r, int32_t g, int32_t b) {
    m_journal.record(QStringLiteral("set_text_colour"), {r, g, b});
    if (m_widget)
        m_widget->set_text_colour(QColor(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255)));
}

void slider_c::set_client(slider_client_i* client) {
    m_journal.record(QStringLiteral("set_client"), {client != nullptr});
    m_client = client;
}

void slider_c::notify_pressed() {
    if (!m_client || m_released)
        return;
    ++m_notifying;
    m_client->slider_pressed(this);
    --m_notifying;
}

void slider_c::notify_value(int) {
    if (!m_client || m_released)
        return;
    const QPointer<component_context_c> context = m_context;
    ++m_notifying;
    m_client->slider_value_changed(this);
    --m_notifying;
    if (context)
        context->report_user_change();
}
