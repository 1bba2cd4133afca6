#include "buttons/btn_box_fm_base.h"

#include "buttons/box_widgets.h"
#include "buttons/btn_box_ctrl_funcs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPainter>
#include <QSignalBlocker>

void fill_with(QWidget* area, QWidget* content) {
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(content, 0, 0);
}

btn_box_fm_base_c::btn_box_fm_base_c(btn_box_ctrl_funcs_c* control, QWidget* parent)
    : QWidget(parent)
    , m_control(control) {}

void btn_box_fm_base_c::set_favorite_box(picture_check_box_c* box) {
    m_favorite = box;
    if (!box)
        return;
    const QString star = QStringLiteral(":/graphics/controls/favorite/favorite_%1.png");
    picture_check_box_c::look_t look;
    look.off = star.arg(QLatin1String("off"));
    look.off_hover = star.arg(QLatin1String("hover"));
    look.on = star.arg(QLatin1String("on"));
    look.on_hover = look.on;
    look.indicator = QSize(20, 20);
    box->set_look(look);
    connect(box, &QCheckBox::toggled, this, [this](bool on) {
        if (m_control)
            m_control->set_favorite_later(on);
    });
}

void btn_box_fm_base_c::show_favorite(bool on) {
    if (!m_favorite)
        return;
    const QSignalBlocker quiet(m_favorite.data());
    m_favorite->setChecked(on);
}

void btn_box_fm_base_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    box_look::paint_frame(p, rect(), devicePixelRatioF());
    if (m_divider) {
        p.setPen(QColor(0x25, 0x29, 0x2f));
        const int x = m_divider->x();
        p.drawLine(x, m_divider->y(), x, m_divider->y() + m_divider->height() - 1);
    }
}
