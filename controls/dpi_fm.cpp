#include "controls/dpi_fm.h"

#include "controls/dpi_ctrl_funcs.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QCheckBox>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QSpinBox>

namespace {

// Host texts of the box.
constexpr int32_t title_text = 205;
constexpr int32_t help_text = 387;

constexpr int box_height = 346;
constexpr int dpi_max = 12000;
constexpr int dpi_min = 200;
constexpr int slider_step = 10;

// The slider's labelled marks, in the order they are added.
constexpr int slider_marks[] = {200, 2000, 4000, 6000, 8200, 12000};

const char* const frame_left = "://graphics/controls/DPI-active_box/DPI-active_left.png";
const char* const frame_right = "://graphics/controls/DPI-active_box/DPI-active_right.png";
const char* const frame_middle =
    "://graphics/controls/DPI-active_box/DPI-active_middle_scaleable.png";
const char* const frame_glow = "://graphics/controls/DPI-active_box/DPI-active_glow.png";

} // namespace

dpi_fm_c::dpi_fm_c(dpi_ctrl_funcs_c* control, QWidget* parent)
    : QWidget(parent)
    , m_control(control) {
    m_ui.setupUi(this);

    module_host_i* host = module_host();
    if (host)
        m_box = static_cast<ctrl_box_i*>(host->create_instance(class_id::ctrl_box, iid_ctrl_box_i));
    if (m_box) {
        m_box->set_client(static_cast<ctrl_funcs_i*>(control));
        m_box->set_title(zarek_page_base_c::host_text(title_text));
        m_box->set_help(zarek_page_base_c::host_text(title_text),
                        zarek_page_base_c::host_text(help_text));
        m_box->set_icon(QStringLiteral(":/graphics/controls/functions/dpi_switcher.png"));
        m_box->set_height(box_height);
    }

    QWidget* const rows[] = {m_ui.wg_slider_box_1, m_ui.wg_slider_box_2, m_ui.wg_slider_box_3,
                             m_ui.wg_slider_box_4, m_ui.wg_slider_box_5};
    for (QWidget* row : rows)
        row->installEventFilter(this);
    // The container paints the active frame behind the rows.
    m_ui.widget->installEventFilter(this);

    set_up_step(0, m_ui.wg_slider_1, m_ui.sb_value_1, m_ui.cb_dpi_1, m_ui.wg_slider_box_1);
    set_up_step(1, m_ui.wg_slider_2, m_ui.sb_value_2, m_ui.cb_dpi_2, m_ui.wg_slider_box_2);
    set_up_step(2, m_ui.wg_slider_3, m_ui.sb_value_3, m_ui.cb_dpi_3, m_ui.wg_slider_box_3);
    set_up_step(3, m_ui.wg_slider_4, m_ui.sb_value_4, m_ui.cb_dpi_4, m_ui.wg_slider_box_4);
    set_up_step(4, m_ui.wg_slider_5, m_ui.sb_value_5, m_ui.cb_dpi_5, m_ui.wg_slider_box_5);

    bind(module_ctrl_center());
}

dpi_fm_c::~dpi_fm_c() {
    // The host's sliders live in our holders and the box around us: hand them back
    // while every widget still exists.
    for (step_widgets& w : m_steps) {
        if (w.slider)
            w.slider->release();
        w.slider = nullptr;
    }
    if (m_box)
        m_box->release();
    m_box = nullptr;
}

interface_i* dpi_fm_c::query_interface(const GUID& iid) {
    if (iid == iid_slider_client_i)
        return static_cast<slider_client_i*>(this);
    return form_base_c::query_interface(iid);
}

void dpi_fm_c::release() {
    form_base_c::release();
}

void dpi_fm_c::set_up_step(int32_t step, QWidget* holder, QSpinBox* number_box,
                           QCheckBox* check_box, QWidget* row) {
    step_widgets w;
    w.number_box = number_box;
    w.check_box = check_box;

    if (module_host_i* host = module_host())
        w.slider = static_cast<slider_i*>(host->create_instance(class_id::slider, iid_slider_i));
    if (w.slider) {
        w.slider->set_client(this);
        w.slider->set_handle_image(QStringLiteral("://graphics/controls/slider/Slider.png"));
        w.slider->set_geometry_parts(6, 19, 16, 11);
        w.slider->set_parent(holder);
        w.slider->set_range(dpi_max, dpi_min, slider_step);
        w.slider->set_margins(8, 0);
        w.slider->set_style_variant(0);
        w.slider->clear_marks();
        for (int mark : slider_marks)
            w.slider->add_mark(mark, QString::number(mark));
        w.slider->apply_marks();
    }

    number_box->setMaximum(dpi_max);
    number_box->setMinimum(dpi_min);
    number_box->setSingleStep(1);
    set_widget_font(number_box, QStringLiteral("EurostileHea"), 12, 0, false, QFont::StyleNormal);

    m_steps.insert(step, w);
    m_rows.insert(step, row);

    connect(number_box, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [this, step](int value) { number_box_changed(step, value); });
    // User clicks only: a check box set from code must not report twice.
    connect(check_box, &QCheckBox::clicked, this,
            [this, step](bool checked) { apply_step_enabled(step, checked); });
}

void dpi_fm_c::update() {
    const QList<QCheckBox*> boxes = {m_ui.cb_dpi_1, m_ui.cb_dpi_2, m_ui.cb_dpi_3, m_ui.cb_dpi_4,
                                     m_ui.cb_dpi_5};
    for (QCheckBox* box : boxes)
        box->setText(QString());
    if (m_box) {
        m_box->set_title(zarek_page_base_c::host_text(title_text));
        m_box->set_help(zarek_page_base_c::host_text(title_text),
                        zarek_page_base_c::host_text(help_text));
    }
}

QSpinBox* dpi_fm_c::number_box(int32_t step) const {
    const auto it = m_steps.constFind(step);
    return it == m_steps.constEnd() ? nullptr : it->number_box;
}

QCheckBox* dpi_fm_c::check_box(int32_t step) const {
    const auto it = m_steps.constFind(step);
    return it == m_steps.constEnd() ? nullptr : it->check_box;
}

slider_i* dpi_fm_c::slider(int32_t step) const {
    const auto it = m_steps.constFind(step);
    return it == m_steps.constEnd() ? nullptr : it->slider;
}

bool dpi_fm_c::has_enabled_look(int32_t step) const {
    const auto it = m_steps.constFind(step);
    return it != m_steps.constEnd() && it->enabled_look;
}

void dpi_fm_c::set_slider_colour(int32_t step, rgb colour) {
    if (slider_i* s = slider(step))
        s->set_text_colour(colour.r, colour.g, colour.b);
}

void dpi_fm_c::apply_step_enabled(int32_t step, bool on) {
    const auto it = m_steps.find(step);
    if (it != m_steps.end()) {
        it->check_box->setChecked(on);
        if (it->slider)
            it->slider->set_enabled(on);
        it->number_box->setEnabled(on);
        it->enabled_look = on;
        set_slider_colour(step, on ? enabled_rgb : disabled_rgb);
    }
    if (m_control)
        m_control->store_step_enabled(step, on);
}

void dpi_fm_c::show_step_dpi(int32_t step, int32_t dpi) {
    const auto it = m_steps.find(step);
    if (it == m_steps.end())
        return;
    if (it->slider)
        it->slider->set_value(dpi);
    it->number_box->setValue(dpi);
}

void dpi_fm_c::show_active_step(int32_t step, bool force) {
    if (step == m_active_step && !force)
        return;
    // The step that was active may be switched off again.
    if (QCheckBox* previous = check_box(m_active_step)) {
        previous->setEnabled(true);
        if (has_enabled_look(m_active_step))
            set_slider_colour(m_active_step, enabled_rgb);
    }
    // The active step cannot be switched off, so one step always stays on.
    if (QCheckBox* current = check_box(step)) {
        current->setEnabled(false);
        if (has_enabled_look(step))
            set_slider_colour(step, active_rgb);
    }
    m_active_step = step;
    if (m_control)
        m_control->store_active_step(step);
    QWidget::update();
    m_ui.widget->update();
}

int32_t dpi_fm_c::step_of(slider_i* s) const {
    for (auto it = m_steps.constBegin(); it != m_steps.constEnd(); ++it) {
        if (s && it->slider == s)
            return it.key();
    }
    return -1;
}

void dpi_fm_c::slider_value_changed(slider_i* s) {
    const int32_t step = step_of(s);
    if (step < 0)
        return;
    const int32_t value = s->value();
    m_steps[step].number_box->setValue(value);
    if (m_control)
        m_control->store_step_dpi(step, value);
}

void dpi_fm_c::slider_pressed(slider_i* s) {
    const int32_t step = step_of(s);
    if (step >= 0)
        show_active_step(step);
}

void dpi_fm_c::number_box_changed(int32_t step, int32_t value) {
    // Filling a hidden form is not a user's change.
    if (!isVisible())
        return;
    if (slider_i* s = slider(step))
        s->set_value(value);
    if (m_control)
        m_control->store_step_dpi(step, value);
}

bool dpi_fm_c::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it) {
            if (it.value() != watched)
                continue;
            const int32_t step = it.key();
            const bool recorded = m_steps.contains(step);
            // A switched-off step cannot become the active one.
            if ((!recorded || has_enabled_look(step)) && step != m_active_step)
                show_active_step(step);
            return true;
        }
    } else if (event->type() == QEvent::Paint && watched == m_ui.widget) {
        paint_active_frame();
    }
    return QWidget::eventFilter(watched, event);
}

void dpi_fm_c::paint_active_frame() {
    QWidget* active_row = row(m_active_step);
    if (!active_row)
        return;
    const QRect r = active_row->geometry();
    const QPixmap left(QString::fromLatin1(frame_left));
    const QPixmap right(QString::fromLatin1(frame_right));
    const QPixmap middle(QString::fromLatin1(frame_middle));
    const QPixmap glow(QString::fromLatin1(frame_glow));

    QPainter painter(m_ui.widget);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!glow.isNull())
        painter.drawPixmap(r, glow);
    const int left_width = left.isNull() ? 0 : left.width();
    const int right_width = right.isNull() ? 0 : right.width();
    if (!left.isNull())
        painter.drawPixmap(QRect(r.left(), r.top(), left_width, r.height()), left);
    if (!right.isNull())
        painter.drawPixmap(QRect(r.right() + 1 - right_width, r.top(), right_width, r.height()),
                           right);
    const int middle_width = r.width() - left_width - right_width;
    if (!middle.isNull() && middle_width > 0)
        painter.drawPixmap(QRect(r.left() + left_width, r.top(), middle_width, r.height()), middle);
}
