#include "host/components/value_dialogs.h"

#include "host/components/button_texts.h"
#include "host/components/component_context.h"
#include "host/components/component_style.h"
#include "host/components/slider.h"
#include "host/host_log.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

namespace web_address {

std::optional<QString> normalised(const QString& typed) {
    QString text = typed.trimmed();
    static const QRegularExpression space(QStringLiteral("\\s"));
    if (text.isEmpty() || text.size() > 2048 || text.contains(space))
        return std::nullopt;
    if (!text.contains(QStringLiteral("://")))
        text.prepend(QStringLiteral("https://"));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return std::nullopt;
    // A host a browser can reach: a dotted name, localhost, or an address.
    const QString host = url.host();
    static const QRegularExpression label(
        QStringLiteral("^[A-Za-z0-9\\x{80}-\\x{FFFF}]([A-Za-z0-9\\x{80}-\\x{FFFF}-]*[A-Za-z0-9"
                       "\\x{80}-\\x{FFFF}])?$"));
    const bool ipv6 = host.contains(QLatin1Char(':'));
    bool named = host == QLatin1String("localhost");
    if (!named && !ipv6 && host.contains(QLatin1Char('.'))) {
        named = true;
        for (const QString& part : host.split(QLatin1Char('.')))
            named = named && label.match(part).hasMatch();
    }
    if (!named && !ipv6)
        return std::nullopt;
    return url.toDisplayString();
}

} // namespace web_address

namespace value_text {

std::optional<uint32_t> parse_u32(const QString& typed) {
    const QString text = typed.trimmed();
    bool ok = false;
    qulonglong value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toULongLong(&ok, 16);
    else
        value = text.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return uint32_t(value);
}

} // namespace value_text

// ---------------------------------------------------------------------------
// code_253_fm_c

code_253_fm_c::code_253_fm_c(component_context_c* context, QWidget* parent)
    : dialog_frame_c(context, QStringLiteral("code_253_fm_c"), button_text::value_253_title,
                     parent) {
    m_prompt = new QLabel(this);
    m_prompt->setWordWrap(true);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("le_value_253"));
    m_edit->setMinimumWidth(320);
    m_other_form = new QLabel(this);
    m_other_form->setObjectName(QStringLiteral("lb_value_253_other"));
    m_other_form->setProperty("role", QStringLiteral("hint"));
    body()->addWidget(m_prompt);
    body()->addWidget(m_edit);
    body()->addWidget(m_other_form);
    connect(m_edit, &QLineEdit::textChanged, this, &code_253_fm_c::check);
    connect(this, &dialog_frame_c::retranslate_requested, this, &code_253_fm_c::retranslate);
    retranslate();
}

void code_253_fm_c::retranslate() {
    if (!m_edit)
        return;
    m_prompt->setText(text(button_text::value_253_prompt));
    check();
}

void code_253_fm_c::set_value(uint32_t value) {
    m_edit->setText(QString::number(value));
    m_edit->selectAll();
}

std::optional<uint32_t> code_253_fm_c::value() const {
    return value_text::parse_u32(m_edit->text());
}

void code_253_fm_c::check() {
    const std::optional<uint32_t> v = value();
    ok_button()->setEnabled(v.has_value());
    m_edit->setProperty("invalid", !v.has_value());
    m_edit->setStyleSheet(QString());
    // The other way of writing the same value, so either can be checked.
    const QString hex = QStringLiteral("%1").arg(v.value_or(0), 8, 16, QLatin1Char('0')).toUpper();
    m_other_form->setText(
        v ? text(button_text::value_253_hint).arg(*v).arg(QStringLiteral("0x") + hex) : QString());
}

code_253_dialog_c::code_253_dialog_c(component_context_c* context)
    : dialog_component_c(context) {}

interface_i* code_253_dialog_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<code_253_dialog_i>::value)
        return static_cast<code_253_dialog_i*>(this);
    return nullptr;
}

int32_t code_253_dialog_c::run(uint32_t* value) {
    m_journal.record(QStringLiteral("run"), {value ? QVariant(*value) : QVariant()});
    if (!value) {
        qCWarning(lc_koral, "The value dialog was asked to run without a value");
        return 0;
    }
    auto* dialog = new code_253_fm_c(m_context);
    dialog->set_value(*value);
    return run_dialog(dialog, [dialog, value] {
        if (const std::optional<uint32_t> v = dialog->value())
            *value = *v;
    });
}

// ---------------------------------------------------------------------------
// web_address_fm_c

web_address_fm_c::web_address_fm_c(component_context_c* context, QWidget* parent)
    : dialog_frame_c(context, QStringLiteral("web_address_fm_c"), button_text::web_title, parent) {
    m_prompt = new QLabel(this);
    m_prompt->setWordWrap(true);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("le_web_address"));
    m_edit->setMinimumWidth(380);
    m_edit->setMaxLength(2048);
    m_hint = new QLabel(this);
    m_hint->setProperty("role", QStringLiteral("hint"));
    body()->addWidget(m_prompt);
    body()->addWidget(m_edit);
    body()->addWidget(m_hint);
    connect(m_edit, &QLineEdit::textChanged, this, &web_address_fm_c::check);
    connect(this, &dialog_frame_c::retranslate_requested, this, &web_address_fm_c::retranslate);
    retranslate();
}

void web_address_fm_c::retranslate() {
    if (!m_edit)
        return;
    m_prompt->setText(text(button_text::web_prompt));
    m_hint->setText(text(button_text::web_hint));
    check();
}

void web_address_fm_c::check() {
    const bool empty = m_edit->text().trimmed().isEmpty();
    const bool valid = web_address::normalised(m_edit->text()).has_value();
    ok_button()->setEnabled(valid);
    m_edit->setProperty("invalid", !valid && !empty);
    m_edit->setStyleSheet(QString());
    set_message(valid || empty ? QString() : text(button_text::web_invalid));
}

web_address_dialog_c::web_address_dialog_c(component_context_c* context)
    : dialog_component_c(context) {}

interface_i* web_address_dialog_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<web_address_dialog_i>::value)
        return static_cast<web_address_dialog_i*>(this);
    return nullptr;
}

void web_address_dialog_c::set_address(const QString& address) {
    m_journal.record(QStringLiteral("set_address"), {address});
    m_address = address;
}

int32_t web_address_dialog_c::run() {
    m_journal.record(QStringLiteral("run"));
    auto* dialog = new web_address_fm_c(m_context);
    dialog->edit()->setText(m_address);
    dialog->edit()->selectAll();
    return run_dialog(dialog, [this, dialog] {
        if (const std::optional<QString> address = web_address::normalised(dialog->edit()->text()))
            m_address = *address;
    });
}

// ---------------------------------------------------------------------------
// tick_slider_c

namespace {
constexpr int k_margin = 14;
constexpr int k_handle = 16;
} // namespace

tick_slider_c::tick_slider_c(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("wg_tick_slider"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumWidth(420);
}

void tick_slider_c::set_range(int max, int min, int step) {
    if (max < min)
        std::swap(max, min);
    m_min = min;
    m_max = max;
    m_step = qMax(1, step);
    set_ticks(m_ticks);
    set_value(m_value);
}

void tick_slider_c::set_ticks(const QVector<tick_t>& ticks) {
    QVector<tick_t> sorted = ticks;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const tick_t& a, const tick_t& b) { return a.percent < b.percent; });
    m_ticks.clear();
    for (const tick_t& tick : qAsConst(sorted)) {
        const bool in_range =
            tick.percent >= 0 && tick.percent <= 100 && tick.value >= m_min && tick.value <= m_max;
        const bool in_order = m_ticks.isEmpty() || (tick.percent > m_ticks.last().percent &&
                                                    tick.value > m_ticks.last().value);
        if (in_range && in_order)
            m_ticks.append(tick);
        else
            qCInfo(lc_koral, "A slider tick at %d %% for %d does not fit; it is left out",
                   tick.percent, tick.value);
    }
    update();
}

QVector<QPair<double, double>> tick_slider_c::knots() const {
    QVector<QPair<double, double>> points;
    points.append({0.0, double(m_min)});
    for (const tick_t& tick : m_ticks) {
        const QPair<double, double> point{tick.percent / 100.0, double(tick.value)};
        if (point.first <= points.last().first) {
            points.last() = point; // a tick at 0 % names the start
            continue;
        }
        points.append(point);
    }
    if (points.last().first < 1.0)
        points.append({1.0, double(m_max)});
    else
        points.last().second = m_max;
    return points;
}

int tick_slider_c::snapped(int value) const {
    const int bounded = qBound(m_min, value, m_max);
    const int steps = int(std::lround(double(bounded - m_min) / m_step));
    return qMin(m_max, m_min + steps * m_step);
}

int tick_slider_c::value_at(double place) const {
    const double p = qBound(0.0, place, 1.0);
    const QVector<QPair<double, double>> points = knots();
    for (int i = 1; i < points.size(); ++i) {
        if (p <= points.at(i).first) {
            const auto& a = points.at(i - 1);
            const auto& b = points.at(i);
            const double t = b.first > a.first ? (p - a.first) / (b.first - a.first) : 0.0;
            return snapped(int(std::lround(a.second + t * (b.second - a.second))));
        }
    }
    return m_max;
}

double tick_slider_c::place_of(int value) const {
    const double v = qBound(double(m_min), double(value), double(m_max));
    const QVector<QPair<double, double>> points = knots();
    for (int i = 1; i < points.size(); ++i) {
        if (v <= points.at(i).second) {
            const auto& a = points.at(i - 1);
            const auto& b = points.at(i);
            const double t = b.second > a.second ? (v - a.second) / (b.second - a.second) : 0.0;
            return a.first + t * (b.first - a.first);
        }
    }
    return 1.0;
}

void tick_slider_c::set_value(int value) {
    const int v = snapped(value);
    if (v == m_value)
        return;
    m_value = v;
    update();
}

void tick_slider_c::edit(int value) {
    const int before = m_value;
    set_value(value);
    if (m_value != before)
        emit value_edited(m_value);
}

QSize tick_slider_c::sizeHint() const {
    return QSize(460, 62);
}

QRectF tick_slider_c::groove() const {
    return QRectF(k_margin, 16, width() - 2 * k_margin, 6);
}

void tick_slider_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF g = groove();
    p.setPen(QPen(component_style::groove_border, 1));
    p.setBrush(component_style::groove);
    p.drawRoundedRect(g, 3, 3);
    const double x = g.left() + place_of(m_value) * g.width();
    p.setPen(Qt::NoPen);
    p.setBrush(isEnabled() ? component_style::accent : component_style::text_disabled);
    p.drawRoundedRect(QRectF(g.left(), g.top(), x - g.left(), g.height()), 3, 3);

    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    for (const tick_t& tick : qAsConst(m_ticks)) {
        const double tx = g.left() + tick.percent / 100.0 * g.width();
        p.setPen(QPen(tick.value <= m_value ? component_style::accent_dark
                                            : component_style::groove_border,
                      1));
        p.drawLine(QPointF(tx, g.bottom() + 5), QPointF(tx, g.bottom() + 10));
        p.setPen(tick.value == m_value ? component_style::text_bright : component_style::text_dim);
        // Centred under its tick, but the labels at the ends keep inside the slider.
        const double w = p.fontMetrics().horizontalAdvance(tick.label);
        const double lx = qBound(0.0, tx - w / 2, qMax(0.0, width() - w));
        p.drawText(QRectF(lx, g.bottom() + 12, w, 16), Qt::AlignLeft | Qt::AlignTop, tick.label);
    }
    // The handle: a round knob with a lit ring when the slider has the focus.
    const QPointF centre(x, g.center().y());
    p.setPen(QPen(hasFocus() ? component_style::accent : QColor(0x5a, 0x60, 0x69), 1.5));
    p.setBrush(QColor(0xe8, 0xea, 0xed));
    p.drawEllipse(centre, k_handle / 2.0, k_handle / 2.0);
}

void tick_slider_c::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QRectF g = groove();
    edit(value_at((event->pos().x() - g.left()) / g.width()));
}

void tick_slider_c::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QRectF g = groove();
    edit(value_at((event->pos().x() - g.left()) / g.width()));
}

void tick_slider_c::keyPressEvent(QKeyEvent* event) {
    int target = 0;
    if (!slider_key_target(event->key(), m_value, m_step, 10 * m_step, m_min, m_max, &target)) {
        QWidget::keyPressEvent(event);
        return;
    }
    edit(target);
    event->accept();
}

void tick_slider_c::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        edit(m_value + notches * m_step);
    event->accept();
}

// ---------------------------------------------------------------------------
// value_slider_fm_c

value_slider_fm_c::value_slider_fm_c(component_context_c* context, QWidget* parent)
    : dialog_frame_c(context, QStringLiteral("value_slider_fm_c"), button_text::slider_title,
                     parent) {
    m_slider = new tick_slider_c(this);
    m_number = new QSpinBox(this);
    m_number->setObjectName(QStringLiteral("sb_slider_value"));
    m_number->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_number->setAlignment(Qt::AlignCenter);
    m_number->setFixedWidth(84);
    m_number->setKeyboardTracking(false);
    m_default = new QPushButton(this);
    m_default->setObjectName(QStringLiteral("btn_slider_default"));
    m_default->hide();
    auto* row = new QHBoxLayout;
    row->setSpacing(14);
    row->addWidget(m_slider, 1);
    row->addWidget(m_number, 0, Qt::AlignTop);
    body()->addLayout(row);
    auto* below = new QHBoxLayout;
    below->addWidget(m_default);
    below->addStretch(1);
    body()->addLayout(below);

    connect(m_slider, &tick_slider_c::value_edited, m_number, &QSpinBox::setValue);
    connect(m_number, qOverload<int>(&QSpinBox::valueChanged), m_slider, [this](int value) {
        m_slider->set_value(value);
        // The box takes any number in range; the slider's grid decides what stays.
        if (m_slider->value() != value)
            m_number->setValue(m_slider->value());
    });
    connect(m_default, &QPushButton::clicked, this, [this] {
        m_slider->set_value(m_default_value);
        m_number->setValue(m_slider->value());
    });
    connect(this, &dialog_frame_c::retranslate_requested, this, &value_slider_fm_c::retranslate);
    retranslate();
}

void value_slider_fm_c::retranslate() {
    if (!m_default)
        return;
    m_default->setText(text(button_text::slider_default));
}

void value_slider_fm_c::setup(int max, int min, int step, int initial, int default_value,
                              bool number_box) {
    m_slider->set_range(max, min, step);
    m_slider->set_value(initial);
    {
        // The box follows the slider here, not the other way round.
        const QSignalBlocker quiet(m_number);
        m_number->setRange(m_slider->minimum(), m_slider->maximum());
        m_number->setSingleStep(qMax(1, step));
        m_number->setValue(m_slider->value());
    }
    m_number->setVisible(number_box);
    m_default_value = default_value;
    m_default->setVisible(default_value >= m_slider->minimum() &&
                          default_value <= m_slider->maximum());
    m_slider->setFocus();
}

value_slider_dialog_c::value_slider_dialog_c(component_context_c* context)
    : dialog_component_c(context) {}

interface_i* value_slider_dialog_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<value_slider_dialog_i>::value)
        return static_cast<value_slider_dialog_i*>(this);
    return nullptr;
}

void value_slider_dialog_c::setup(int32_t max, int32_t min, int32_t step, int32_t initial,
                                  int32_t default_value, int32_t number_box) {
    m_journal.record(QStringLiteral("setup"), {max, min, step, initial, default_value, number_box});
    m_max = max;
    m_min = min;
    m_step = step;
    m_value = initial;
    m_default = default_value;
    m_number_box = number_box != 0;
}

void value_slider_dialog_c::add_tick(int32_t value, const QString& label, int32_t percent) {
    m_journal.record(QStringLiteral("add_tick"), {value, label, percent});
    m_ticks.append({value, label, percent});
}

void value_slider_dialog_c::set_title(const QString& text) {
    m_journal.record(QStringLiteral("set_title"), {text});
    m_title = text;
}

int32_t value_slider_dialog_c::run() {
    m_journal.record(QStringLiteral("run"));
    auto* dialog = new value_slider_fm_c(m_context);
    if (!m_title.isEmpty())
        dialog->set_title(m_title);
    dialog->slider()->set_range(m_max, m_min, m_step);
    dialog->slider()->set_ticks(m_ticks);
    dialog->setup(m_max, m_min, m_step, m_value, m_default, m_number_box);
    return run_dialog(dialog, [this, dialog] { m_value = dialog->slider()->value(); });
}
