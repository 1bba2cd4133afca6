#include "pages/tab_page_fm_base.h"

#include "common/log.h"
#include "common/utilities.h"

#include <QGridLayout>
#include <QTimer>
#include <QVariant>
#include <algorithm>

namespace {

// The height a panel is laid out with: a box that animates its height announces the
// target through the panel's "changing_height" property.
int panel_height(QWidget* panel) {
    const QObjectList& children = panel->children();
    if (!children.isEmpty() && qobject_cast<QWidget*>(children.first())) {
        bool ok = false;
        const int height = panel->property("changing_height").toInt(&ok);
        if (ok)
            return height;
    }
    return panel->height();
}

} // namespace

void layout_panels(QWidget* form, const std::vector<panel_entry>& panels) {
    if (!form)
        return;
    const int width = form->width();
    const int half = width / 2;
    int left_top = panel_gap;
    int right_top = panel_gap;
    bool right_next = false;
    for (const panel_entry& entry : panels) {
        QWidget* panel = entry.panel;
        if (!panel || !entry.control)
            continue;
        const int height = panel_height(panel);
        if (entry.control->box_span() == 1) {
            if (!right_next) {
                panel->setGeometry(panel_gap, left_top, half - 15, height);
                left_top += height + panel_gap;
                right_next = left_top > right_top;
            } else {
                panel->setGeometry(half + 5, right_top, half - 15, height);
                right_top += height + panel_gap;
                right_next = right_top <= left_top;
            }
        } else {
            const int top = std::max(left_top, right_top);
            panel->setGeometry(panel_gap, top, width - 2 * panel_gap, height);
            left_top = right_top = top + height + panel_gap;
            right_next = false;
        }
    }
    const int bottom = std::max(left_top, right_top);
    form->setMinimumHeight(bottom);
    form->resize(form->width(), bottom);
    if (QWidget* parent = form->parentWidget())
        parent->setMinimumHeight(form->height());
}

void close_panel_boxes(const std::vector<panel_entry>& panels) {
    for (const panel_entry& entry : panels) {
        if (entry.control)
            entry.control->close_box();
    }
}

void shadow_panel_list(const std::vector<panel_entry>& panels) {
    // Panels added since the last call get theirs; the others keep the one they have.
    for (const panel_entry& entry : panels) {
        if (entry.panel && !entry.panel->graphicsEffect())
            add_drop_shadow(entry.panel);
    }
}

void release_page_ctrls(QMap<int32_t, ctrl_funcs_i*>& ctrls, listener_i* listener,
                        const QList<int32_t>& listened) {
    const QMap<int32_t, ctrl_funcs_i*> taken = ctrls;
    ctrls.clear();
    for (int32_t type : listened)
        disconnect_listener(taken.value(type), listener);
    for (ctrl_funcs_i* ctrl : taken) {
        ctrl->close_box();
        ctrl->release();
    }
}

void place_in_parent_grid(QWidget* form) {
    QWidget* parent = form ? form->parentWidget() : nullptr;
    if (!parent)
        return;
    if (!parent->layout()) {
        auto* grid = new QGridLayout(parent);
        grid->setSpacing(0);
        grid->setContentsMargins(0, 0, 0, 0);
    }
    QLayout* layout = parent->layout();
    if (layout->indexOf(form) >= 0)
        return;
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        grid->addWidget(form, 0, 0);
    } else {
        write_log(QStringLiteral("The page area has a layout other than a grid; the form %1 "
                                 "is appended to it.")
                      .arg(form->objectName()));
        layout->addWidget(form);
    }
}

tab_page_fm_base_c::~tab_page_fm_base_c() = default;

void tab_page_fm_base_c::add_panel(product_function_page_i* page, int32_t type, QWidget* panel) {
    if (!page || !panel)
        return;
    ctrl_funcs_i* control = page->ctrl_funcs(type);
    if (!control)
        return;
    control->create_box(panel);
    m_panels.push_back({panel, control});
}

void tab_page_fm_base_c::close_panels() {
    close_panel_boxes(m_panels);
}

void tab_page_fm_base_c::shadow_panels() {
    shadow_panel_list(m_panels);
}

void tab_page_fm_base_c::lay_out_panels(QWidget* form) {
    layout_panels(form, m_panels);
}

void tab_page_fm_base_c::schedule_layout(QWidget* form) {
    if (!form)
        return;
    // The form owns the pending tick: a form closed before it fires is never touched.
    QTimer::singleShot(1, form, [this, form] { lay_out_panels(form); });
}

void tab_page_fm_base_c::relayout_on_resize(QWidget* form) {
    if (form && form->isVisible())
        lay_out_panels(form);
}
