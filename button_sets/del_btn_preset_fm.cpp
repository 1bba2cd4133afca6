#include "button_sets/del_btn_preset_fm.h"

#include "button_sets/btn_preset_fm.h"
#include "button_sets/btn_preset_sub_fm.h"
#include "common/platform.h"
#include "common/utilities.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QCloseEvent>
#include <QLayout>

namespace {

constexpr int32_t title_text = 612;
constexpr int32_t comment_text = 613;

} // namespace

del_btn_preset_fm_c::del_btn_preset_fm_c(btn_preset_fm_c* panel, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_panel(panel) {
    m_ui.setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    connect(m_ui.btn_ok, &QPushButton::clicked, this, [this] {
        m_answer = true;
        close();
    });
    connect(m_ui.btn_cancel, &QPushButton::clicked, this, [this] {
        m_answer = false;
        close();
    });
    set_widget_font(m_ui.lb_title, QStringLiteral("EurostileHea"), 15, 0, false);
    set_widget_font(m_ui.lb_comment, QStringLiteral("EurostileMed"), 13, 0, false);
    set_widget_font(m_ui.btn_ok, QStringLiteral("EurostileBla"), 15, 0, false);
    set_widget_font(m_ui.btn_cancel, QStringLiteral("EurostileBla"), 15, 0, false);
    update();
    bind(module_ctrl_center());
}

btn_preset_sub_fm_c* del_btn_preset_fm_c::tile() const {
    return m_tile;
}

void del_btn_preset_fm_c::update() {
    m_ui.lb_title->setText(zarek_page_base_c::host_text(title_text));
    m_ui.lb_comment->setText(zarek_page_base_c::host_text(comment_text));
    m_ui.btn_ok->setText(tr("OK"));
    m_ui.btn_cancel->setText(tr("CANCEL"));
}

void del_btn_preset_fm_c::fonts_applied() {
    fit_width_to_text(m_ui.btn_ok, 80, 18, Qt::AlignHCenter | Qt::AlignVCenter);
    fit_width_to_text(m_ui.btn_cancel, 80, 18, Qt::AlignHCenter | Qt::AlignVCenter);
    const int w = qMax(m_ui.btn_ok->width(), m_ui.btn_cancel->width());
    const int h = m_ui.btn_ok->height();
    const int c = (width() - 22) / 2;
    m_ui.btn_ok->setFixedWidth(w);
    m_ui.btn_cancel->setFixedWidth(w);
    m_ui.btn_ok->setGeometry(c - w, 0, w, h);
    m_ui.btn_cancel->setGeometry(c, 0, w, h);
}

QPoint del_btn_preset_fm_c::place_for(const QPoint& anchor) const {
    const int centre = m_ui.wg_center->width();
    const int arrow = m_ui.wg_b3->width();
    const int d = (centre - arrow) * 186 / 285 + arrow / 2 + 11;
    return {int(anchor.x() - d + 4.5), anchor.y() - height()};
}

void del_btn_preset_fm_c::open_for(btn_preset_sub_fm_c* tile) {
    m_tile = tile;
    m_answer = false;
    m_answered = false;
    show();
    if (layout())
        layout()->activate();
    fonts_applied();
    if (tile)
        move(place_for(tile->delete_button()->mapToGlobal(QPoint(0, 0))));
}

void del_btn_preset_fm_c::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (m_answered)
        return;
    m_answered = true;
    if (m_panel)
        m_panel->delete_answered(m_tile, m_answer);
}

bool del_btn_preset_fm_c::event(QEvent* event) {
    if (event->type() == QEvent::WinIdChange)
        platform::clear_class_drop_shadow(this);
    return QWidget::event(event);
}
