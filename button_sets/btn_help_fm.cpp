#include "button_sets/btn_help_fm.h"

#include "common/platform.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

namespace {

// Step k is titled by host text 600 + k and explained by host text 605 + k.
constexpr int32_t first_title_text = 600;
constexpr int32_t first_comment_text = 605;

} // namespace

btn_help_fm_c::btn_help_fm_c(QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint) {
    m_ui.setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    for (int k = 1; k <= step_count; ++k)
        connect(step_button(k), &QRadioButton::clicked, this, [this, k] { show_step(k); });
    connect(m_ui.btn_next_step, &QPushButton::clicked, this, &btn_help_fm_c::next_step);
    connect(m_ui.btn_prev_step, &QPushButton::clicked, this, &btn_help_fm_c::previous_step);
    set_widget_font(m_ui.lb_title, QStringLiteral("EurostileHea"), 15, 0, false);
    set_widget_font(m_ui.lb_comment, QStringLiteral("EurostileMed"), 13, 0, false);
    show_step(1);
    bind(module_ctrl_center());
}

QRadioButton* btn_help_fm_c::step_button(int step) const {
    QRadioButton* const buttons[] = {m_ui.rb_step_1, m_ui.rb_step_2, m_ui.rb_step_3, m_ui.rb_step_4,
                                     m_ui.rb_step_5};
    return buttons[qBound(1, step, step_count) - 1];
}

void btn_help_fm_c::update() {
    show_step(m_step);
}

void btn_help_fm_c::show_step(int step) {
    m_step = qBound(1, step, step_count);
    step_button(m_step)->setChecked(true);
    m_ui.lb_title->setText(zarek_page_base_c::host_text(first_title_text + m_step));
    m_ui.lb_comment->setText(zarek_page_base_c::host_text(first_comment_text + m_step));
    m_ui.wg_image->setStyleSheet(
        QStringLiteral("QWidget#wg_image { background-image: "
                       "url(:/graphics/button_assignment/help/Step-%1.png); "
                       "background-repeat: no-repeat; background-position: center; }")
            .arg(m_step, 2, 10, QLatin1Char('0')));
}

void btn_help_fm_c::next_step() {
    show_step(m_step % step_count + 1);
}

void btn_help_fm_c::previous_step() {
    show_step((m_step + step_count - 2) % step_count + 1);
}

void btn_help_fm_c::show_beside(QWidget* anchor) {
    if (!anchor)
        return;
    const QPoint g = anchor->mapToGlobal(QPoint(0, 0));
    move(g.x() + 116 - (width() - 1), g.y() + (anchor->height() - 1) - 15);
    show();
}

bool btn_help_fm_c::event(QEvent* event) {
    if (event->type() == QEvent::WinIdChange)
        platform::clear_class_drop_shadow(this);
    return QWidget::event(event);
}
