#include "lighting/palette_fm.h"

#include "common/platform.h"
#include "common/utilities.h"
#include "lighting/lighting_colors.h"
#include "lighting/lighting_ctrl_funcs_fm.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>

namespace {

constexpr int32_t title_text = 524;
const char* const gradient_path = ":/graphics/controls/Color-Dropdown/Color-Gradient-bar.png";

// The custom entries are drawn where the buttons lie: four a row at this pitch.
constexpr int swatch_size = 22;
constexpr int swatch_pitch = 26;
constexpr int custom_per_row = 4;

// The soft shadow around the panel lies in this margin of the window.
constexpr int shadow_margin = 8;

} // namespace

palette_fm_c::palette_fm_c(lighting_ctrl_funcs_fm_c* lighting, QWidget* parent)
    : QWidget(parent, Qt::WindowFlags(window_flags))
    , m_lighting(lighting)
    , m_gradient(QString::fromLatin1(gradient_path)) {
    m_ui.setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();

    for (int k = 0; k < standard_color_count; ++k) {
        auto* button = findChild<QAbstractButton*>(QStringLiteral("btn_color_%1").arg(k));
        const rgb_triple& c = standard_colors[std::size_t(k)];
        m_standard.insert(k, {button, c.r, c.g, c.b});
        if (button)
            connect(button, &QAbstractButton::clicked, this, [this, k] { standard_clicked(k); });
    }
    for (int k = 0; k < custom_color_count; ++k) {
        auto* button = findChild<QAbstractButton*>(QStringLiteral("btn_cus_color_%1").arg(k));
        m_custom.insert(first_custom_color + k, {button, 0, 0, 0, 0});
        if (button)
            connect(button, &QAbstractButton::clicked, this,
                    [this, k] { custom_clicked(first_custom_color + k); });
    }

    for (QWidget* watched : {m_ui.wg_color_bar, m_ui.wg_custom_color, m_ui.wg_custom_palette,
                             m_ui.wg_color_point, static_cast<QWidget*>(this)})
        watched->installEventFilter(this);
    m_ui.wg_color_point->hide();
    m_ui.wg_color_bar->setCursor(Qt::CrossCursor);

    for (QSpinBox* box : {m_ui.sb_r, m_ui.sb_g, m_ui.sb_b}) {
        box->setRange(0, 255);
        connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, [this] { spin_changed(); });
        set_widget_font(box, QStringLiteral("EurostileHea"), 12, 0, false);
    }
    set_widget_font(m_ui.lb_func_name, QStringLiteral("EurostileHea"), 14, 1, true);
    for (QWidget* label : {m_ui.lb_r, m_ui.lb_g, m_ui.lb_b})
        set_widget_font(label, QStringLiteral("EurostileHea"), 12, 0, true);
    for (QWidget* button : {m_ui.btn_ok, m_ui.btn_cancel})
        set_widget_font(button, QStringLiteral("EurostileBla"), 15, 1, true);
    // OK and CANCEL belong to the window itself, above everything in it.
    m_ui.btn_ok->raise();
    m_ui.btn_cancel->raise();

    connect(m_ui.btn_add, &QPushButton::clicked, this, &palette_fm_c::add_custom);
    connect(m_ui.btn_delete, &QPushButton::clicked, this, &palette_fm_c::delete_custom);
    connect(m_ui.btn_ok, &QPushButton::clicked, this, [this] { finish(true); });
    connect(m_ui.btn_cancel, &QPushButton::clicked, this, [this] { finish(false); });
    setTabOrder(m_ui.sb_r, m_ui.sb_g);
    setTabOrder(m_ui.sb_g, m_ui.sb_b);
    setTabOrder(m_ui.sb_b, m_ui.btn_add);
    setTabOrder(m_ui.btn_add, m_ui.btn_delete);
    setTabOrder(m_ui.btn_delete, m_ui.btn_cancel);
    setTabOrder(m_ui.btn_cancel, m_ui.btn_ok);

    bind(module_ctrl_center());
}

void palette_fm_c::update() {
    const QString title = zarek_page_base_c::host_text(title_text);
    m_ui.lb_func_name->setText(title.isEmpty() ? tr("CHOOSE A COLOR") : title);
    m_ui.btn_ok->setText(tr("OK"));
    m_ui.btn_cancel->setText(tr("CANCEL"));
    m_ui.btn_add->setToolTip(tr("Add this color to your own colors"));
    m_ui.btn_delete->setToolTip(tr("Remove the marked color from your own colors"));
}

void palette_fm_c::fonts_applied() {
    fit_width_to_text(m_ui.btn_ok, 84, 14, Qt::AlignRight);
    // CANCEL keeps its gap to OK whatever either text needs.
    fit_width_to_text(m_ui.btn_cancel, 84, 14, Qt::AlignRight);
    m_ui.btn_cancel->move(m_ui.btn_ok->x() - 6 - m_ui.btn_cancel->width(), m_ui.btn_cancel->y());
}

void palette_fm_c::set_standard_checked(int index) {
    for (auto it = m_standard.cbegin(); it != m_standard.cend(); ++it) {
        if (it->button)
            it->button->setChecked(it.key() == index);
    }
}

void palette_fm_c::show_rgb(int r, int g, int b) {
    m_red = r;
    m_green = g;
    m_blue = b;
    const int values[] = {r, g, b};
    int i = 0;
    for (QSpinBox* box : {m_ui.sb_r, m_ui.sb_g, m_ui.sb_b}) {
        const QSignalBlocker quiet(box);
        box->setValue(values[i++]);
    }
    m_ui.wg_custom_color->update();
    m_ui.wg_color_point->update();
}

void palette_fm_c::select(int index, int r, int g, int b) {
    if (is_standard_index(index)) {
        const standard_entry e = m_standard.value(index);
        show_rgb(e.red, e.green, e.blue);
        m_index = index;
        m_index_mode = true;
        set_standard_checked(index);
    } else {
        show_rgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        m_index_mode = false;
        set_standard_checked(-1);
    }
}

void palette_fm_c::set_custom_color(int index, int r, int g, int b, int filled) {
    const auto it = m_custom.find(index);
    if (it == m_custom.end())
        return;
    it->red = r;
    it->green = g;
    it->blue = b;
    it->filled = filled;
    m_ui.wg_custom_palette->update();
}

void palette_fm_c::standard_clicked(int index) {
    set_standard_checked(index);
    const standard_entry e = m_standard.value(index);
    // The boxes and the swatch show the chosen colour; it stays a standard colour.
    show_rgb(e.red, e.green, e.blue);
    m_index = index;
    m_index_mode = true;
    if (m_lighting)
        m_lighting->palette_live_color(e.red, e.green, e.blue);
}

void palette_fm_c::custom_clicked(int index) {
    const auto it = m_custom.constFind(index);
    if (it == m_custom.constEnd())
        return;
    for (auto other = m_custom.cbegin(); other != m_custom.cend(); ++other) {
        if (other.key() != index && other->button)
            other->button->setChecked(false);
    }
    take_rgb(it->red, it->green, it->blue);
}

void palette_fm_c::take_rgb(int r, int g, int b) {
    show_rgb(r, g, b);
    m_index_mode = false;
    set_standard_checked(-1);
    if (m_lighting)
        m_lighting->palette_live_color(m_red, m_green, m_blue);
}

void palette_fm_c::spin_changed() {
    take_rgb(m_ui.sb_r->value(), m_ui.sb_g->value(), m_ui.sb_b->value());
}

void palette_fm_c::pick(const QPoint& bar_point) {
    m_last_pick = bar_point;
    if (m_gradient.valid(bar_point)) {
        const QColor c = m_gradient.pixelColor(bar_point);
        take_rgb(c.red(), c.green(), c.blue());
    }
    // The marker sits up and left of the pointer, where the pointer does not cover it.
    const QPoint corner = m_ui.wg_color_bar->mapTo(m_ui.wg_center, bar_point);
    m_ui.wg_color_point->move(
        corner - QPoint(m_ui.wg_color_point->width() - 1, m_ui.wg_color_point->height() - 1));
    m_ui.wg_color_point->show();
    m_ui.wg_color_point->raise();
}

void palette_fm_c::add_custom() {
    auto target = m_custom.end();
    for (auto it = m_custom.begin(); it != m_custom.end(); ++it) {
        if (it->button && it->button->isChecked()) {
            target = it;
            break;
        }
    }
    if (target == m_custom.end()) {
        for (auto it = m_custom.begin(); it != m_custom.end(); ++it) {
            if (it->filled == 0) {
                target = it;
                break;
            }
        }
    }
    if (target == m_custom.end())
        return;
    target->red = m_red;
    target->green = m_green;
    target->blue = m_blue;
    target->filled = 255;
    if (target->button)
        target->button->update();
    m_ui.wg_custom_palette->update();
}

void palette_fm_c::delete_custom() {
    for (auto it = m_custom.begin(); it != m_custom.end(); ++it) {
        if (it->button && it->button->isChecked()) {
            it->red = it->green = it->blue = it->filled = 0;
            it->button->setChecked(false);
            m_ui.wg_custom_palette->update();
            return;
        }
    }
}

void palette_fm_c::finish(bool accepted) {
    m_accepted = accepted;
    close();
}

void palette_fm_c::showEvent(QShowEvent* event) {
    // Any way of closing but CANCEL keeps the choice.
    m_accepted = true;
    m_dragging = false;
    m_ui.wg_color_point->hide();
    QWidget::showEvent(event);
}

void palette_fm_c::closeEvent(QCloseEvent* event) {
    const bool was_open = isVisible();
    QWidget::closeEvent(event);
    if (was_open && event->isAccepted() && m_lighting)
        m_lighting->palette_closed();
}

void palette_fm_c::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        finish(false);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        finish(true);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool palette_fm_c::event(QEvent* event) {
    if (event->type() == QEvent::WinIdChange) {
        // Done once per process by the platform layer.
        platform::clear_class_drop_shadow(this);
    }
    return QWidget::event(event);
}

void palette_fm_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF panel =
        QRectF(rect()).adjusted(shadow_margin, shadow_margin, -shadow_margin, -shadow_margin);
    // A shadow of stacked, fading outlines: the window has no frame of its own.
    p.setBrush(Qt::NoBrush);
    for (int i = shadow_margin; i > 0; --i) {
        p.setPen(QPen(QColor(0, 0, 0, 10 + 4 * (shadow_margin - i)), 1));
        p.drawRoundedRect(panel.adjusted(-i + 0.5, -i + 2.5, i - 0.5, i - 0.5), 8 + i, 8 + i);
    }
    QLinearGradient fill(panel.topLeft(), panel.bottomLeft());
    fill.setColorAt(0, QColor(0x23, 0x26, 0x2b));
    fill.setColorAt(1, QColor(0x18, 0x1a, 0x1e));
    p.setBrush(fill);
    p.setPen(QPen(QColor(0x3a, 0x3f, 0x47), 1));
    p.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    // Hairlines between the gradient, the standard and the custom colours.
    p.setPen(QPen(QColor(0x2c, 0x30, 0x37), 1));
    for (const QWidget* below : {m_ui.wg_center, m_ui.wg_palette}) {
        const qreal y = below->geometry().bottom() + 8.5;
        p.drawLine(QPointF(panel.left() + 16, y), QPointF(panel.right() - 16, y));
    }
}

void palette_fm_c::paint_swatch() {
    QPainter p(m_ui.wg_custom_color);
    const QRect r = m_ui.wg_custom_color->rect();
    p.fillRect(r, QColor(m_red, m_green, m_blue));
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void palette_fm_c::paint_marker() {
    QPainter p(m_ui.wg_color_point);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.5));
    p.setBrush(QColor(m_red, m_green, m_blue));
    p.drawEllipse(QRectF(2, 2, 16, 16).adjusted(0.75, 0.75, -0.75, -0.75));
}

void palette_fm_c::paint_custom_palette() {
    QPainter p(m_ui.wg_custom_palette);
    for (auto it = m_custom.cbegin(); it != m_custom.cend(); ++it) {
        const int k = it.key() - first_custom_color;
        const QRect square(swatch_pitch * (k % custom_per_row), swatch_pitch * (k / custom_per_row),
                           swatch_size, swatch_size);
        p.fillRect(square, QColor(it->red, it->green, it->blue));
    }
}

bool palette_fm_c::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint:
        if (watched == m_ui.wg_custom_color)
            paint_swatch();
        else if (watched == m_ui.wg_color_point)
            paint_marker();
        else if (watched == m_ui.wg_custom_palette)
            paint_custom_palette();
        break;
    case QEvent::WindowDeactivate:
        // A click outside the palette closes it and keeps the choice.
        if (watched == this) {
            if (isVisible())
                close();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (watched == m_ui.wg_color_bar || watched == m_ui.wg_color_point) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = m_ui.wg_color_bar->mapFromGlobal(
                static_cast<QWidget*>(watched)->mapToGlobal(mouse->pos()));
            const QRect inner = m_ui.wg_color_bar->rect().adjusted(1, 1, -1, -1);
            if (event->type() == QEvent::MouseButtonPress) {
                if (mouse->button() == Qt::LeftButton && inner.contains(at)) {
                    m_dragging = true;
                    pick(at);
                }
            } else if (event->type() == QEvent::MouseMove) {
                if (m_dragging && inner.contains(at))
                    pick(at);
            } else if (mouse->button() == Qt::LeftButton) {
                m_dragging = false;
            }
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
