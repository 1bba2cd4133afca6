#include "host/mouse_lights_view.h"

#include "host/components/advanced_texts.h"
#include "host/mouse_memory.h"
#include "host/virtual_mouse.h"
#include "host/widget_helpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QVBoxLayout>
#include <QtMath>

namespace {

// Host texts of the effects and colour flows, as the lighting form names them.
constexpr int32_t effect_texts[] = {63, 239, 64, 65};
constexpr int32_t flow_texts[] = {520, 614, 615, 616};

QColor zone_colour(const uint8_t* b, int index_at, uint8_t rgb_flag) {
    if (b[lighting_byte::flags] & rgb_flag)
        return QColor(b[index_at + 1], b[index_at + 2], b[index_at + 3]);
    const int index = qBound(0, int(b[index_at]), standard_color_count - 1);
    const rgb_triple& c = standard_colors[size_t(index)];
    return QColor(c.r, c.g, c.b);
}

QColor standard(int k) {
    const rgb_triple& c = standard_colors[size_t(k % standard_color_count)];
    return QColor(c.r, c.g, c.b);
}

QColor scaled(const QColor& colour, double level) {
    return QColor::fromRgbF(colour.redF() * level, colour.greenF() * level, colour.blueF() * level);
}

} // namespace

// ---------------------------------------------------------------------------
// device_lights_t

device_lights_t device_lights_t::from_settings(const uint8_t* settings, int size) {
    device_lights_t lights;
    if (!settings || size <= lighting_byte::bottom_rgb + 2)
        return lights;
    const uint8_t* b = settings;
    lights.on = (b[lighting_byte::flags] & lighting_flag::lit) != 0;
    lights.effect =
        qBound(light_effect::fully_lighted, int(b[lighting_byte::effect]), light_effect::heartbeat);
    lights.speed = qBound(effect_speed_min, int(b[lighting_byte::speed]), effect_speed_max);
    lights.flow =
        b[lighting_byte::color_flow] < color_flow_count ? b[lighting_byte::color_flow] : 0;
    lights.top = zone_colour(b, lighting_byte::top_index, lighting_flag::top_rgb);
    lights.bottom = zone_colour(b, lighting_byte::bottom_index, lighting_flag::bottom_rgb);
    return lights;
}

int device_lights_t::period_ms() const {
    static constexpr int periods[] = {4000, 2500, 1200};
    return periods[qBound(1, speed, 3) - 1];
}

double device_lights_t::brightness(qint64 ms) const {
    if (!on)
        return 0.0;
    const double phase = double(ms % period_ms()) / period_ms();
    switch (effect) {
    case light_effect::blinking:
        return phase < 0.5 ? 1.0 : 0.0;
    case light_effect::breathing:
        return (1.0 - std::cos(2.0 * M_PI * phase)) / 2.0;
    case light_effect::heartbeat: {
        // Two beats close together, then rest.
        for (const double start : {0.0, 0.22}) {
            if (phase >= start && phase < start + 0.14)
                return std::sin(M_PI * (phase - start) / 0.14);
        }
        return 0.0;
    }
    default:
        return 1.0;
    }
}

std::array<QColor, 2> device_lights_t::colours(qint64 ms) const {
    if (flow < 1 || flow >= color_flow_count)
        return {top, bottom};
    const int k = int(ms / period_ms());
    switch (flow) {
    case 2: // the colours climb: the light pipe leads
        return {standard(k), standard(k + 1)};
    case 3: // they run down: the logo leads
        return {standard(k + 1), standard(k)};
    default:
        return {standard(k), standard(k)};
    }
}

// ---------------------------------------------------------------------------
// mouse_lights_view_c

mouse_lights_view_c::mouse_lights_view_c(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("wg_mouse_lights"));
    setMinimumSize(sizeHint());
    m_tick.setInterval(40);
    connect(&m_tick, &QTimer::timeout, this, [this] { QWidget::update(); });
    m_clock.start();
}

void mouse_lights_view_c::set_lights(const device_lights_t& lights) {
    m_lights = lights;
    m_clock.restart();
    const bool moving =
        lights.on && (lights.effect != light_effect::fully_lighted || lights.flow > 0);
    if (moving && m_frozen < 0)
        m_tick.start();
    else
        m_tick.stop();
    QWidget::update();
}

void mouse_lights_view_c::freeze_at(qint64 ms) {
    m_frozen = ms;
    set_lights(m_lights);
}

qint64 mouse_lights_view_c::now() const {
    return m_frozen >= 0 ? m_frozen : m_clock.elapsed();
}

std::array<QColor, 2> mouse_lights_view_c::shown_colours() const {
    const qint64 ms = now();
    const double level = m_lights.brightness(ms);
    const std::array<QColor, 2> base = m_lights.colours(ms);
    return {scaled(base[0], level), scaled(base[1], level)};
}

void mouse_lights_view_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF box(120, 190);
    p.translate((width() - box.width()) / 2, (height() - box.height()) / 2);
    const std::array<QColor, 2> shown = shown_colours();
    const double level = m_lights.brightness(now());

    // The body from above: narrow front with the wheel, wide back.
    QPainterPath body;
    body.moveTo(60, 4);
    body.cubicTo(92, 4, 106, 30, 110, 70);
    body.cubicTo(116, 120, 114, 170, 60, 186);
    body.cubicTo(6, 170, 4, 120, 10, 70);
    body.cubicTo(14, 30, 28, 4, 60, 4);
    QLinearGradient shell(0, 0, 120, 190);
    shell.setColorAt(0, QColor(0x3a, 0x3e, 0x45));
    shell.setColorAt(1, QColor(0x16, 0x18, 0x1c));
    p.setPen(QPen(QColor(0x4a, 0x4f, 0x57), 1.2));
    p.setBrush(shell);
    p.drawPath(body);
    p.setPen(QPen(QColor(0x0e, 0x0f, 0x12), 1.4));
    p.drawLine(QPointF(60, 6), QPointF(60, 62));
    p.setBrush(QColor(0x10, 0x11, 0x14));
    p.drawRoundedRect(QRectF(54, 20, 12, 28), 6, 6);

    // Light pipe: a band round the back of the shell.
    QPainterPath pipe;
    pipe.moveTo(18, 140);
    pipe.cubicTo(26, 172, 94, 172, 102, 140);
    const QColor off(0x2a, 0x2d, 0x33);
    if (level > 0.02) {
        QColor glow = shown[1];
        glow.setAlphaF(0.35);
        p.setPen(QPen(glow, 12, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(pipe);
    }
    p.setPen(QPen(level > 0.02 ? shown[1] : off, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pipe);

    // Logo: a feather-like emblem in the palm, with its glow.
    const QPointF centre(60, 108);
    if (level > 0.02) {
        QRadialGradient halo(centre, 30);
        QColor inner = shown[0];
        inner.setAlphaF(0.55);
        QColor outer = shown[0];
        outer.setAlphaF(0.0);
        halo.setColorAt(0, inner);
        halo.setColorAt(1, outer);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(centre, 30, 30);
    }
    QPainterPath logo;
    logo.moveTo(centre + QPointF(0, -20));
    logo.cubicTo(centre + QPointF(14, -8), centre + QPointF(10, 10), centre + QPointF(0, 20));
    logo.cubicTo(centre + QPointF(-10, 10), centre + QPointF(-14, -8), centre + QPointF(0, -20));
    p.setPen(QPen(QColor(0x0e, 0x0f, 0x12), 1));
    p.setBrush(level > 0.02 ? shown[0] : off);
    p.drawPath(logo);
    p.setPen(QPen(QColor(0x0e, 0x0f, 0x12, 160), 1.2));
    p.drawLine(centre + QPointF(0, -16), centre + QPointF(0, 17));
}

// ---------------------------------------------------------------------------
// device_lights_card_c

device_lights_card_c::device_lights_card_c(text_fn text, QWidget* parent)
    : QFrame(parent)
    , m_text(std::move(text)) {
    setObjectName(QStringLiteral("wg_device_lights"));
    setProperty("role", "card");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(22, 20, 22, 20);
    column->setSpacing(10);
    m_title = make_label(QStringLiteral("lb_device_lights_title"), "card_title", this);
    column->addWidget(m_title);
    auto* row = new QHBoxLayout;
    row->setSpacing(24);
    m_view = new mouse_lights_view_c(this);
    row->addWidget(m_view);
    auto* side = new QVBoxLayout;
    side->setSpacing(10);
    m_summary = make_label(QStringLiteral("lb_device_lights"), "fact", this);
    m_summary->setWordWrap(true);
    side->addWidget(m_summary);
    side->addSpacing(8);
    m_answer_caption = make_label(QStringLiteral("lb_calibration_answer"), "section", this);
    side->addWidget(m_answer_caption);
    auto* answer = new QHBoxLayout;
    answer->setSpacing(8);
    m_outcome = new QComboBox(this);
    m_outcome->setObjectName(QStringLiteral("cb_calibration_outcome"));
    m_outcome->addItems({QString(), QString()});
    m_delay = new QComboBox(this);
    m_delay->setObjectName(QStringLiteral("cb_calibration_delay"));
    for (int seconds : delays_s)
        m_delay->addItem(QString(), seconds * 1000);
    m_delay->setCurrentIndex(1);
    answer->addWidget(m_outcome);
    answer->addWidget(m_delay);
    answer->addStretch(1);
    side->addLayout(answer);
    side->addStretch(1);
    row->addLayout(side, 1);
    column->addLayout(row);
    connect(m_outcome, QOverload<int>::of(&QComboBox::activated), this,
            &device_lights_card_c::apply_answer);
    connect(m_delay, QOverload<int>::of(&QComboBox::activated), this,
            &device_lights_card_c::apply_answer);
    retranslate();
}

void device_lights_card_c::set_mouse(virtual_mouse_c* mouse) {
    m_mouse = mouse;
    apply_answer();
    refresh();
}

void device_lights_card_c::apply_answer() {
    if (!m_mouse)
        return;
    m_mouse->set_calibration_outcome(m_outcome->currentIndex() == 0);
    m_mouse->set_calibration_delay(m_delay->currentData().toInt());
}

void device_lights_card_c::refresh() {
    mouse_memory::memory_t memory;
    QString error;
    const bool read =
        m_mouse && m_mouse->has_blob() && mouse_memory::read(m_mouse->blob(), &memory, &error);
    device_lights_t lights;
    if (read) {
        const int slot = qBound(0, memory.current_slot, mouse_memory::profile_slots - 1);
        const auto& settings = memory.profiles.at(slot).settings;
        lights = device_lights_t::from_settings(settings.data(), int(settings.size()));
    } else {
        // A device without readable memory shows what a factory-fresh one does: dark.
        lights.on = false;
    }
    m_view->set_lights(lights);
    if (!lights.on) {
        m_summary->setText(m_text(advanced_text::lights_off));
        return;
    }
    m_summary->setText(QStringLiteral("%1 · %2").arg(
        m_text(effect_texts[lights.effect - 1]), m_text(flow_texts[qBound(0, lights.flow, 3)])));
}

void device_lights_card_c::retranslate() {
    m_title->setText(m_text(advanced_text::lights_title));
    m_answer_caption->setText(m_text(advanced_text::calibration_answer));
    m_outcome->setItemText(0, m_text(advanced_text::calibration_success));
    m_outcome->setItemText(1, m_text(advanced_text::calibration_failure));
    for (int i = 0; i < m_delay->count(); ++i)
        m_delay->setItemText(i, m_text(advanced_text::calibration_delay).arg(delays_s[i]));
    refresh();
}
