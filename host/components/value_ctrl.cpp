#include "host/components/value_ctrl.h"

#include "host/components/component_context.h"
#include "host/components/component_texts.h"
#include "host/components/ctrl_box.h"
#include "host/components/slider.h"
#include "host/components/slider_row.h"
#include "module/kernel_host_interfaces.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

using component_style::glyph_t;

const value_kind_t k_kinds[] = {
    {class_id::sensitivity_ctrl, ctrl_type::sensitivity, -5, 5, component_text::sensitivity_title,
     component_text::sensitivity_help, component_text::low, component_text::high,
     glyph_t::sensitivity, 100},
    {class_id::pointer_speed_ctrl, ctrl_type::pointer_speed, -5, 5, component_text::pointer_title,
     component_text::pointer_help, component_text::slow, component_text::fast, glyph_t::pointer,
     150},
    {class_id::v_scroll_ctrl, ctrl_type::v_scroll, 1, 10, component_text::v_scroll_title,
     component_text::v_scroll_help, 0, 0, glyph_t::v_scroll, 126},
    {class_id::h_scroll_ctrl, ctrl_type::h_scroll, 1, 10, component_text::h_scroll_title,
     component_text::h_scroll_help, 0, 0, glyph_t::h_scroll, 100},
    {class_id::double_click_ctrl, ctrl_type::double_click, 1, 10,
     component_text::double_click_title, component_text::double_click_help, component_text::slow,
     component_text::fast, glyph_t::double_click, 120},
};

// Hub option bytes a kind shows, by index.
bool has_option(const value_kind_t& kind, int index) {
    switch (index) {
    case 0:
    case 1:
        return kind.class_id == class_id::pointer_speed_ctrl;
    case 2:
        return kind.class_id == class_id::v_scroll_ctrl;
    default:
        return false;
    }
}

QString shown(int value, bool signed_range) {
    if (!signed_range || value == 0)
        return QString::number(value);
    // A real minus sign: the hyphen looks lost beside the digits.
    return value > 0 ? QStringLiteral("+%1").arg(value)
                     : QString(QChar(0x2212)) + QString::number(-value);
}

} // namespace

const value_kind_t* value_kind_t::of(int32_t class_id) {
    for (const value_kind_t& kind : k_kinds) {
        if (kind.class_id == class_id)
            return &kind;
    }
    return nullptr;
}

QVector<int32_t> value_kind_t::class_ids() {
    QVector<int32_t> ids;
    for (const value_kind_t& kind : k_kinds)
        ids.append(kind.class_id);
    return ids;
}

// ---------------------------------------------------------------------------
// option_toggle_c

namespace {
constexpr int k_track_width = 28;
constexpr int k_track_height = 16;
constexpr int k_text_gap = 10;

QFont option_font() {
    QFont font;
    font.setPixelSize(12);
    return font;
}
} // namespace

option_toggle_c::option_toggle_c(QWidget* parent)
    : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setFont(option_font());
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize option_toggle_c::sizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(k_track_width + k_text_gap + metrics.horizontalAdvance(text()) + 2,
                 qMax(k_track_height + 4, metrics.height() + 4));
}

void option_toggle_c::paintEvent(QPaintEvent*) {
    using namespace component_style;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const bool on = isChecked();
    const bool hover = underMouse() && enabled;
    const QRectF track(0.5, (height() - k_track_height) / 2.0 + 0.5, k_track_width - 1,
                       k_track_height - 1);
    QColor fill = on ? accent_dark : QColor(0x23, 0x26, 0x2c);
    if (!enabled)
        fill = QColor(0x1f, 0x21, 0x25);
    p.setPen(QPen(on && enabled ? accent : QColor(0x35, 0x39, 0x41), 1));
    p.setBrush(fill);
    p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const qreal d = k_track_height - 6;
    const qreal x = on ? track.right() - 3 - d : track.left() + 3;
    p.setPen(Qt::NoPen);
    p.setBrush(!enabled ? text_disabled : on ? QColor(0xf4, 0xf6, 0xf8) : QColor(0x8a, 0x8f, 0x97));
    p.drawEllipse(QRectF(x, track.center().y() - d / 2, d, d));
    p.setPen(!enabled ? text_disabled : hover ? text_bright : text_normal);
    p.setFont(font());
    p.drawText(QRect(k_track_width + k_text_gap, 0, width() - k_track_width - k_text_gap, height()),
               Qt::AlignLeft | Qt::AlignVCenter, text());
}

// ---------------------------------------------------------------------------
// double_click_test_c

double_click_test_c::double_click_test_c(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("wg_double_click_test"));
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

int double_click_test_c::interval_ms(int speed) {
    // 1 allows 900 ms between the clicks, 10 only 200 ms.
    return 900 - (qBound(1, speed, 10) - 1) * 700 / 9;
}

void double_click_test_c::set_speed(int speed) {
    m_speed = qBound(1, speed, 10);
}

void double_click_test_c::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // The system's own double-click time would test the wrong speed: time the
    // clicks against the speed being set.
    if (m_last_click.isValid() && m_last_click.elapsed() <= interval_ms(m_speed)) {
        m_last_click.invalidate();
        m_open = !m_open;
        update();
        emit toggled(m_open);
        return;
    }
    m_last_click.start();
}

void double_click_test_c::paintEvent(QPaintEvent*) {
    using namespace component_style;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tile = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(m_open ? QColor(0x2b, 0x6e, 0x86) : QColor(0x2a, 0x2e, 0x35), 1));
    QLinearGradient back(tile.topLeft(), tile.bottomLeft());
    back.setColorAt(0, QColor(0x15, 0x17, 0x1b));
    back.setColorAt(1, QColor(0x10, 0x11, 0x14));
    p.setBrush(back);
    p.drawRoundedRect(tile, 6, 6);

    // The folder, centred: a back with its tab, and a front that tilts open.
    const QPointF o(width() / 2.0 - 17, height() / 2.0 - 13);
    QPainterPath back_part;
    back_part.moveTo(o + QPointF(0, 4));
    back_part.lineTo(o + QPointF(0, 26));
    back_part.lineTo(o + QPointF(34, 26));
    back_part.lineTo(o + QPointF(34, 7));
    back_part.lineTo(o + QPointF(15, 7));
    back_part.lineTo(o + QPointF(12, 3));
    back_part.lineTo(o + QPointF(1, 3));
    back_part.closeSubpath();
    const QColor body = m_open ? accent_dark : QColor(0x4a, 0x4f, 0x57);
    p.setPen(Qt::NoPen);
    p.setBrush(body.darker(130));
    p.drawPath(back_part);
    QPainterPath front;
    if (m_open) {
        front.moveTo(o + QPointF(5, 12));
        front.lineTo(o + QPointF(39, 12));
        front.lineTo(o + QPointF(34, 26));
        front.lineTo(o + QPointF(0, 26));
    } else {
        front.moveTo(o + QPointF(0, 10));
        front.lineTo(o + QPointF(34, 10));
        front.lineTo(o + QPointF(34, 26));
        front.lineTo(o + QPointF(0, 26));
    }
    front.closeSubpath();
    QLinearGradient shade(o + QPointF(0, 10), o + QPointF(0, 26));
    shade.setColorAt(0, m_open ? accent : QColor(0x6a, 0x70, 0x79));
    shade.setColorAt(1, body);
    p.setBrush(shade);
    p.drawPath(front);
}

// ---------------------------------------------------------------------------
// value_box_fm_c

value_box_fm_c::value_box_fm_c(const value_kind_t& kind, QWidget* parent)
    : QWidget(parent)
    , m_kind(kind) {
    setObjectName(QStringLiteral("value_box_fm_c"));

    const slider_row_t slider_row =
        make_slider_row(this, QStringLiteral("sld_value"), kind.min, kind.max, 14);
    m_slider = slider_row.slider;
    m_value = slider_row.value;

    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addLayout(slider_row.layout);

    const char* const option_names[] = {"ckb_pointer_precision", "ckb_pointer_snap",
                                        "ckb_scroll_by_page"};
    for (int index = 0; index < int(m_options.size()); ++index) {
        if (!has_option(kind, index))
            continue;
        auto* toggle = new option_toggle_c(this);
        toggle->setObjectName(QLatin1String(option_names[index]));
        column->addWidget(toggle);
        m_options[size_t(index)] = toggle;
        connect(toggle, &option_toggle_c::clicked, this,
                [this, index](bool on) { emit option_edited(index, on); });
    }

    if (kind.class_id == class_id::double_click_ctrl) {
        m_hint = new painted_label_c(component_style::text_dim, component_style::text_disabled, 11,
                                     false, this);
        m_hint->setObjectName(QStringLiteral("lb_double_click_hint"));
        m_hint->setWordWrap(true);
        column->addWidget(m_hint);
        m_test = new double_click_test_c(this);
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(16);
        row->addLayout(column, 1);
        row->addWidget(m_test, 0, Qt::AlignVCenter);
        column->addStretch(1);
    } else {
        column->addStretch(1);
        setLayout(column);
    }

    connect(m_slider, &slider_widget_c::value_edited, this, [this](int value) {
        show_value(value);
        emit value_edited(value);
    });
    show_value(m_slider->value());
}

option_toggle_c* value_box_fm_c::option(int index) const {
    return index >= 0 && index < int(m_options.size()) ? m_options[size_t(index)] : nullptr;
}

void value_box_fm_c::set_range(int max, int min, int step) {
    m_slider->set_range(max, min, step);
    apply_marks();
    show_value(m_slider->value());
}

void value_box_fm_c::set_value(int value) {
    m_slider->set_value(value);
    show_value(m_slider->value());
}

void value_box_fm_c::show_value(int value) {
    m_value->setText(shown(value, m_slider->minimum() < 0));
    if (m_test)
        m_test->set_speed(value);
}

void value_box_fm_c::set_option(int index, bool on) {
    if (option_toggle_c* toggle = option(index))
        toggle->setChecked(on);
    // Scrolling by screens leaves no line count to choose.
    if (index == 2) {
        m_slider->setEnabled(!on);
        m_value->setEnabled(!on);
    }
}

void value_box_fm_c::set_texts(const QString& low, const QString& high, const QString& option_0,
                               const QString& option_1, const QString& hint) {
    m_low = low;
    m_high = high;
    if (m_options[0])
        m_options[0]->setText(option_0);
    if (m_options[1])
        m_options[1]->setText(option_1);
    if (m_options[2])
        m_options[2]->setText(option_0);
    if (m_hint)
        m_hint->setText(hint);
    if (m_test)
        m_test->setToolTip(hint);
    apply_marks();
}

void value_box_fm_c::apply_marks() {
    // A tick on every step; the ends say what they mean, a signed range marks its zero.
    QVector<slider_widget_c::mark_t> marks;
    const int min = m_slider->minimum();
    const int max = m_slider->maximum();
    const int step = m_slider->step();
    if ((max - min) / step <= 20) {
        for (int v = min; v <= max; v += step) {
            QString label;
            if (v == min)
                label = m_low.isEmpty() ? shown(v, min < 0) : m_low;
            else if (v == max)
                label = m_high.isEmpty() ? shown(v, min < 0) : m_high;
            else if (v == 0)
                label = QStringLiteral("0");
            marks.append({v, label});
        }
    }
    m_slider->set_marks(marks);
}

// ---------------------------------------------------------------------------
// value_ctrl_c

value_ctrl_c::value_ctrl_c(const value_kind_t& kind, component_context_c* context)
    : m_kind(kind)
    , m_context(context)
    , m_min(kind.min)
    , m_max(kind.max)
    , m_value(qBound(kind.min, 0, kind.max)) {
    if (context)
        connect(context, &component_context_c::language_changed, this, &value_ctrl_c::retranslate);
}

value_ctrl_c::~value_ctrl_c() {
    close_box();
    // Listeners still registered must stop using this manager.
    const QVector<listener_i*> remaining = m_listeners;
    m_listeners.clear();
    for (listener_i* listener : remaining)
        listener->manager_closing(this);
}

interface_i* value_ctrl_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<ctrl_funcs_i>::value)
        return static_cast<ctrl_funcs_i*>(this);
    if (iid == iid_of<listener_mgr_i>::value)
        return static_cast<listener_mgr_i*>(this);
    if (iid == iid_of<ctrl_funcs_box_fm_client_i>::value)
        return static_cast<ctrl_funcs_box_fm_client_i*>(this);
    if (iid == iid_of<value_ctrl_i>::value)
        return static_cast<value_ctrl_i*>(this);
    if (iid == iid_of<pointer_speed_ctrl_i>::value &&
        m_kind.class_id == class_id::pointer_speed_ctrl)
        return static_cast<pointer_speed_ctrl_i*>(this);
    if (iid == iid_of<v_scroll_ctrl_i>::value && m_kind.class_id == class_id::v_scroll_ctrl)
        return static_cast<v_scroll_ctrl_i*>(this);
    return nullptr;
}

void value_ctrl_c::release() {
    m_journal.record(QStringLiteral("release"));
    if (m_reporting > 0) {
        // Released by a listener while it hears from this control.
        close_box();
        deleteLater();
        return;
    }
    delete this;
}

QString value_ctrl_c::text(int32_t id) const {
    return m_context && id ? m_context->text(id) : QString();
}

void value_ctrl_c::set_context(product_kernel_i* kernel, product_function_page_i* page) {
    m_journal.record(QStringLiteral("set_context"), {kernel != nullptr, page != nullptr});
    m_kernel = kernel;
    m_page = page;
}

void value_ctrl_c::create_box(QWidget* panel) {
    m_journal.record(QStringLiteral("create_box"),
                     {panel ? panel->objectName() : QStringLiteral("null")});
    if (!panel)
        return;
    // One box at a time: the favorites page builds it anew in its own panel.
    if (m_box)
        close_box();
    m_box = new ctrl_box_c(m_context);
    m_box->set_client(static_cast<ctrl_funcs_i*>(this));
    m_box->set_icon_pixmap(component_style::glyph(m_kind.glyph, 24));
    m_box->set_favorite_mark(m_favorite);
    m_box->set_height(m_kind.box_height);

    m_form = new value_box_fm_c(m_kind, panel);
    m_form->set_range(m_max, m_min, m_step);
    m_form->set_value(m_value);
    for (int index = 0; index < int(m_options.size()); ++index)
        m_form->set_option(index, m_options[size_t(index)]);
    connect(m_form, &value_box_fm_c::value_edited, this, &value_ctrl_c::user_changed_value);
    connect(m_form, &value_box_fm_c::option_edited, this, &value_ctrl_c::user_changed_option);
    retranslate();
    m_box->attach(panel, m_form);
}

void value_ctrl_c::close_box() {
    m_journal.record(QStringLiteral("close_box"));
    if (!m_box)
        return;
    m_box->detach();
    if (m_form) {
        if (m_reporting > 0)
            m_form->deleteLater();
        else
            delete m_form.data();
    }
    m_box->release();
    m_box = nullptr;
}

int32_t value_ctrl_c::ctrl_type() {
    m_journal.record(QStringLiteral("ctrl_type"));
    return m_kind.type;
}

bool value_ctrl_c::is_favorite() {
    m_journal.record(QStringLiteral("is_favorite"));
    return m_favorite;
}

void value_ctrl_c::set_favorite(bool on) {
    m_journal.record(QStringLiteral("set_favorite"), {on});
    if (on == m_favorite)
        return;
    m_favorite = on;
    if (m_kernel) {
        if (on)
            m_kernel->add_favorite_ctrl(this);
        else
            m_kernel->remove_favorite_ctrl(this);
    }
    favorite_changed();
}

int32_t value_ctrl_c::box_span() {
    m_journal.record(QStringLiteral("box_span"));
    return 1;
}

void value_ctrl_c::favorite_changed() {
    m_journal.record(QStringLiteral("favorite_changed"));
    if (m_box)
        m_box->set_favorite_mark(m_favorite);
}

void value_ctrl_c::add_listener(listener_i* listener) {
    m_journal.record(QStringLiteral("add_listener"));
    if (listener && !m_listeners.contains(listener))
        m_listeners.append(listener);
}

void value_ctrl_c::remove_listener(listener_i* listener) {
    m_journal.record(QStringLiteral("remove_listener"));
    m_listeners.removeOne(listener);
}

void value_ctrl_c::reset_requested() {
    m_journal.record(QStringLiteral("reset_requested"));
    if (m_page)
        m_page->reset_ctrl(this);
}

int value_ctrl_c::normalised(int value) const {
    // The hub hands signed settings over as bytes: 0xFD is -3 on a signed range.
    if (m_min < 0 && value > m_max && value >= 0x80 && value <= 0xFF)
        value = int(int8_t(uint8_t(value)));
    value = qBound(m_min, value, m_max);
    // The nearest value on the step grid that is still in range, as the slider shows it.
    int snapped = m_min + qRound(double(value - m_min) / m_step) * m_step;
    while (snapped > m_max)
        snapped -= m_step;
    return qMax(m_min, snapped);
}

void value_ctrl_c::setup(int32_t max, int32_t min, int32_t step, int32_t mode) {
    m_journal.record(QStringLiteral("setup"), {max, min, step, mode});
    if (max < min)
        std::swap(max, min);
    m_min = min;
    m_max = max;
    m_step = qMax(1, step);
    m_value = normalised(m_value);
    if (m_form) {
        m_form->set_range(m_max, m_min, m_step);
        m_form->set_value(m_value);
    }
}

int32_t value_ctrl_c::value() {
    m_journal.record(QStringLiteral("value"));
    return m_value;
}

void value_ctrl_c::set_value(int32_t value) {
    m_journal.record(QStringLiteral("set_value"), {value});
    m_value = normalised(value);
    if (m_form)
        m_form->set_value(m_value);
}

void value_ctrl_c::pointer_reserved_2() {
    m_journal.record(QStringLiteral("pointer_reserved_2"));
}

void value_ctrl_c::pointer_reserved_3() {
    m_journal.record(QStringLiteral("pointer_reserved_3"));
}

void value_ctrl_c::set_hub_byte_0(uint8_t value) {
    set_option(0, value, "set_hub_byte_0");
}

void value_ctrl_c::set_hub_byte_1(uint8_t value) {
    set_option(1, value, "set_hub_byte_1");
}

void value_ctrl_c::v_scroll_reserved_2() {
    m_journal.record(QStringLiteral("v_scroll_reserved_2"));
}

void value_ctrl_c::set_hub_byte_2(uint8_t value) {
    set_option(2, value, "set_hub_byte_2");
}

bool value_ctrl_c::option(int index) const {
    return index >= 0 && index < int(m_options.size()) && m_options[size_t(index)];
}

void value_ctrl_c::set_option(int index, uint8_t value, const char* call) {
    m_journal.record(QLatin1String(call), {int(value)});
    m_options[size_t(index)] = value != 0;
    if (m_form)
        m_form->set_option(index, value != 0);
}

void value_ctrl_c::user_changed_value(int value) {
    m_value = value;
    const QPointer<component_context_c> context = m_context;
    ++m_reporting;
    // Snapshot: a listener may leave while the value goes round.
    const QVector<listener_i*> round = m_listeners;
    for (listener_i* listener : round) {
        if (!m_listeners.contains(listener))
            continue;
        if (auto* target = query<value_ctrl_funcs_listener_i>(listener))
            target->value_changed(m_kind.type, value);
    }
    --m_reporting;
    if (context)
        context->report_user_change();
}

void value_ctrl_c::user_changed_option(int index, bool on) {
    m_options[size_t(index)] = on;
    if (m_form)
        m_form->set_option(index, on);
    const QPointer<component_context_c> context = m_context;
    ++m_reporting;
    emit option_changed(index, on ? 1 : 0);
    --m_reporting;
    if (context) {
        context->report_hub_option(index, on ? 1 : 0);
        context->report_user_change();
    }
}

void value_ctrl_c::retranslate() {
    if (!m_box)
        return;
    const QString title = text(m_kind.title);
    m_box->set_title(title);
    m_box->set_help(title, text(m_kind.help));
    if (!m_form)
        return;
    const bool pointer = m_kind.class_id == class_id::pointer_speed_ctrl;
    const bool v_scroll = m_kind.class_id == class_id::v_scroll_ctrl;
    m_form->set_texts(text(m_kind.low_caption), text(m_kind.high_caption),
                      pointer    ? text(component_text::pointer_precision)
                      : v_scroll ? text(component_text::v_scroll_by_page)
                                 : QString(),
                      pointer ? text(component_text::pointer_snap) : QString(),
                      text(component_text::double_click_test));
}
