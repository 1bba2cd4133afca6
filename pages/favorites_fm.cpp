#include "pages/favorites_fm.h"

#include "module/kernel_host_interfaces.h"

#include <QTimer>
#include <algorithm>

favorites_fm_c::favorites_fm_c(product_kernel_i* kernel, QWidget* parent)
    : QWidget(parent)
    , m_kernel(kernel)
    , m_relayout_timer(nullptr) {
    setObjectName(QStringLiteral("favorites_fm_c"));
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

void favorites_fm_c::fill() {
    if (!m_kernel)
        return;
    // The kernel counts favourite controls in a byte.
    const int count = std::min(m_kernel->favorite_ctrl_count(), 255);
    for (int i = 0; i < count; ++i) {
        ctrl_funcs_i* control = m_kernel->favorite_ctrl(static_cast<uint8_t>(i));
        if (!control || shows(control))
            continue;
        auto* panel = new QWidget(this);
        control->create_box(panel);
        m_panels.push_back({panel, control});
        panel->show();
    }
    QTimer::singleShot(1, this, &favorites_fm_c::lay_out);
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
}

void favorites_fm_c::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible())
        lay_out();
}

void favorites_fm_c::timer_triggered() {
    lay_out();
}
