#include "pages/favorites_fm.h"

#include "kernel/device_kernel.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "module/kernel_host_interfaces.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <algorithm>

favorites_fm_c::favorites_fm_c(product_kernel_i* kernel, QWidget* parent)
    : QWidget(parent)
    , m_kernel(kernel)
    , m_relayout_timer(nullptr)
    , m_hint(new QLabel(this)) {
    setObjectName(QStringLiteral("favorites_fm_c"));
    m_hint->setObjectName(QStringLiteral("lb_favorites_empty"));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    m_hint->setStyleSheet(QStringLiteral(
        "QLabel#lb_favorites_empty { background: transparent; color: rgb(150, 155, 162); "
        "font-size: 14px; }"));
    m_hint->hide();
    retranslate();
    if (parent)
        setMinimumSize(parent->size());
    place_in_parent_grid(this);
    m_relayout_timer = new QTimer(this);
    connect(m_relayout_timer, &QTimer::timeout, this, &favorites_fm_c::timer_triggered);
}

favorites_fm_c::~favorites_fm_c() = default;

bool favorites_fm_c::shows(ctrl_funcs_i* control) const {
    return std::any_of(m_panels.begin(), m_panels.end(),
                       [control](const panel_entry& e) { return e.control == control; });
}

QList<ctrl_funcs_i*> favorites_fm_c::favourite_controls() const {
    QList<ctrl_funcs_i*> controls;
    if (!m_kernel)
        return controls;
    auto* own = dynamic_cast<device_kernel_c*>(m_kernel);
    zarek_data_c* set = profile_set_of(m_kernel);
    if (!own || !set) {
        // Another kernel: what its own pairing of list items and marked controls gives.
        const int count = std::min(m_kernel->favorite_ctrl_count(), 255);
        for (int i = 0; i < count; ++i)
            controls.append(m_kernel->favorite_ctrl(static_cast<uint8_t>(i)));
        return controls;
    }
    // Item by item: a type whose control is missing (its page does not exist, or the list
    // came from a file with types this mouse lacks) must not hide the ones after it.
    for (int32_t type : set->favourites()) {
        for (ctrl_funcs_i* control : own->favorite_ctrls()) {
            if (control && control->ctrl_type() == type) {
                controls.append(control);
                break;
            }
        }
    }
    return controls;
}

void favorites_fm_c::fill() {
    if (!m_kernel)
        return;
    for (ctrl_funcs_i* control : favourite_controls()) {
        if (!control || shows(control))
            continue;
        auto* panel = new QWidget(this);
        control->create_box(panel);
        m_panels.push_back({panel, control});
        panel->show();
    }
    show_hint();
    QTimer::singleShot(1, this, &favorites_fm_c::lay_out);
}

void favorites_fm_c::show_hint() {
    m_hint->setVisible(m_panels.empty());
    if (m_panels.empty()) {
        m_hint->setGeometry(panel_gap * 4, panel_gap * 6, qMax(0, width() - panel_gap * 8), 120);
        m_hint->raise();
    }
}

void favorites_fm_c::retranslate() {
    m_hint->setText(tr("No favorites yet.") + QStringLiteral("\n") +
                    tr("Click the star in the title bar of any setting on the other pages to "
                       "show it here."));
}

void favorites_fm_c::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void favorites_fm_c::remove(ctrl_funcs_i* control) {
    const auto it = std::find_if(m_panels.begin(), m_panels.end(),
                                 [control](const panel_entry& e) { return e.control == control; });
    if (it != m_panels.end()) {
        if (control)
            control->close_box();
        QWidget* panel = it->panel;
        m_panels.erase(it);
        if (panel) {
            // The request may come from inside the box (its favourite mark): the panel goes
            // once that call has returned.
            panel->hide();
            panel->setParent(nullptr);
            panel->deleteLater();
        }
    }
    lay_out();
}

void favorites_fm_c::close_panels() {
    close_panel_boxes(m_panels);
}

void favorites_fm_c::shadow_panels() {
    shadow_panel_list(m_panels);
}

void favorites_fm_c::lay_out() {
    layout_panels(this, m_panels);
    show_hint();
}

void favorites_fm_c::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible())
        lay_out();
}

void favorites_fm_c::timer_triggered() {
    lay_out();
}
