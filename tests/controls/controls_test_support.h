// Host stand-ins for the control suites around the shared host and hub. They all write into
// one journal, so a test can check orders across objects.
#pragma once

#include "module/component_interfaces.h"
#include "module/module.h"
#include "module/page_interfaces.h"
#include "support/fake_host.h"

#include <QRegularExpression>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

namespace test_support {

inline QStringList& journal() {
    static QStringList j;
    return j;
}

// Writes `what` with its %1, %2, ... filled in order into the journal.
template <class... A>
void note(const char* what, const A&... args) {
    QString line = QString::fromLatin1(what);
    ((line = line.arg(args)), ...);
    journal().append(line);
}

// Entries of the journal that start with one of the (plain-word) prefixes.
inline QStringList entries(const QStringList& prefixes) {
    return journal().filter(QRegularExpression("^(?:" + prefixes.join('|') + ')'));
}

// A host value control: reports value_changed(type, shown value) to its listeners.
class fake_value_ctrl final : public ctrl_funcs_i,
                              public listener_mgr_i,
                              public value_ctrl_i,
                              public pointer_speed_ctrl_i,
                              public v_scroll_ctrl_i {
public:
    explicit fake_value_ctrl(int32_t type)
        : type(type) {}
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_ctrl_funcs_i)
            return static_cast<ctrl_funcs_i*>(this);
        if (iid == iid_listener_mgr_i)
            return static_cast<listener_mgr_i*>(this);
        if (iid == iid_value_ctrl_i)
            return static_cast<value_ctrl_i*>(this);
        if (type == ctrl_type::pointer_speed && iid == iid_pointer_speed_ctrl_i)
            return static_cast<pointer_speed_ctrl_i*>(this);
        if (type == ctrl_type::v_scroll && iid == iid_v_scroll_ctrl_i)
            return static_cast<v_scroll_ctrl_i*>(this);
        return nullptr;
    }
    void release() override {
        note("ctrl %1 release", type);
        delete this;
    }
    void set_context(product_kernel_i*, product_function_page_i*) override {
        note("ctrl %1 set_context", type);
    }
    void create_box(QWidget* panel) override {
        note("ctrl %1 create_box %2", type, panel->objectName());
    }
    void close_box() override { note("ctrl %1 close_box", type); }
    int32_t ctrl_type() override { return type; }
    bool is_favorite() override { return false; }
    void set_favorite(bool on) override {
        note("ctrl %1 favorite %2", type, on);
        favorite = on;
    }
    int32_t box_span() override { return 1; }
    void favorite_changed() override {}
    // The page and the hub listen; nobody else does.
    void add_listener(listener_i* l) override {
        note("ctrl %1 add_listener %2", type, query<product_function_page_i>(l) ? "page" : "hub");
        if (!listeners.contains(l))
            listeners.append(l);
    }
    void remove_listener(listener_i* l) override {
        note("ctrl %1 remove_listener", type);
        listeners.removeOne(l);
    }
    void setup(int32_t max, int32_t min, int32_t step, int32_t mode) override {
        note("ctrl %1 setup %2 %3 %4 %5", type, max, min, step, mode);
    }
    int32_t value() override { return 0; }
    void set_value(int32_t v) override {
        note("ctrl %1 set_value %2", type, v);
        shown = v;
    }
    void pointer_reserved_2() override {}
    void pointer_reserved_3() override {}
    void set_hub_byte_0(uint8_t v) override { note("ctrl %1 hub_byte_0 %2", type, v); }
    void set_hub_byte_1(uint8_t v) override { note("ctrl %1 hub_byte_1 %2", type, v); }
    void v_scroll_reserved_2() override {}
    void set_hub_byte_2(uint8_t v) override { note("ctrl %1 hub_byte_2 %2", type, v); }

    // What the real control does when the user moves it.
    void user_sets(int32_t v) {
        for (listener_i* l : QList<listener_i*>(listeners)) {
            if (auto* vl = query<value_ctrl_funcs_listener_i>(l))
                vl->value_changed(type, v);
        }
    }

    int32_t type;
    QList<listener_i*> listeners;
    // What the control shows now: the last value and favourite mark it was given.
    std::optional<int32_t> shown;
    std::optional<bool> favorite;
};

// The host slider: keeps its value and tells its client about moves and presses.
class fake_slider final : public slider_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return (iid == iid_interface_i || iid == iid_slider_i) ? this : nullptr;
    }
    void release() override { released = true; }
    void set_parent(QWidget*) override {}
    void set_range(int32_t, int32_t, int32_t) override {}
    void clear_marks() override {}
    void add_mark(int32_t, const QString&) override {}
    void apply_marks() override {}
    int32_t value() override { return current; }
    void set_value(int32_t v) override { current = v; }
    void set_enabled(bool on) override { enabled = on; }
    void set_style_variant(int32_t) override {}
    void set_geometry_parts(int32_t, int32_t, int32_t, int32_t) override {}
    void set_margins(int32_t, int32_t) override {}
    void set_handle_image(const QString&) override {}
    void set_text_colour(int32_t r, int32_t g, int32_t b) override {
        colour = QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b);
    }
    void set_client(slider_client_i* c) override { client = c; }

    // The user drags the handle to `v`, or presses it.
    void drag_to(int32_t v) {
        current = v;
        client->slider_value_changed(this);
    }
    void press() { client->slider_pressed(this); }

    slider_client_i* client = nullptr;
    int32_t current = 0;
    bool enabled = true;
    bool released = false;
    QString colour;
};

// The control box: places the form into the panel it is given.
class fake_box final : public ctrl_box_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return (iid == iid_interface_i || iid == iid_ctrl_box_i) ? this : nullptr;
    }
    void release() override {
        released = true;
        note("box release");
    }
    void set_client(interface_i*) override {}
    void box_reserved_3() override {}
    void set_icon(const QString&) override {}
    void set_title(const QString&) override {}
    void set_help(const QString&, const QString&) override {}
    void set_favorite_mark(bool on) override { note("box set_favorite_mark %1", on); }
    void box_reserved_8() override {}
    void box_reserved_9() override {}
    void box_reserved_10() override {}
    void set_height(int32_t) override {}
    void attach(QWidget* panel, QWidget* form) override {
        note("box attach %1", panel->objectName());
        form->setParent(panel);
        form->setGeometry(panel->rect());
        form->show();
    }
    void detach() override { note("box detach"); }

    bool released = false;
};

// The host with its hub: hands out value controls, sliders and boxes and keeps them for
// inspection. The hub writes into the shared journal.
class component_host final : public fake_host {
public:
    component_host() {
        center.hub = &hub;
        center.texts.prefix = QStringLiteral("T");
        hub.journal = &test_support::journal();
        factory = [this](int32_t id, const GUID& iid) {
            return create(id, iid);
        };
    }

    fake_hub hub;
    QList<int32_t> missing_types;
    // Not owned: the page releases them.
    QList<fake_value_ctrl*> value_ctrls;
    std::vector<std::unique_ptr<fake_slider>> sliders;
    std::vector<std::unique_ptr<fake_box>> boxes;

private:
    interface_i* create(int32_t class_id, const GUID& iid) {
        if (class_id == class_id::slider && iid == iid_slider_i)
            return sliders.emplace_back(std::make_unique<fake_slider>()).get();
        if (class_id == class_id::ctrl_box && iid == iid_ctrl_box_i)
            return boxes.emplace_back(std::make_unique<fake_box>()).get();
        // A control's type is its place here; type 1, the DPI switcher, is the module's own.
        const int32_t type =
            QList<int32_t>{class_id::sensitivity_ctrl,   -1,
                           class_id::pointer_speed_ctrl, class_id::v_scroll_ctrl,
                           class_id::h_scroll_ctrl,      class_id::double_click_ctrl}
                .indexOf(class_id);
        if (iid != iid_ctrl_funcs_i || type < 0 || missing_types.contains(type))
            return nullptr;
        value_ctrls.append(new fake_value_ctrl(type));
        return static_cast<ctrl_funcs_i*>(value_ctrls.back());
    }
};

// Writes what a DPI switcher reports into the journal.
class dpi_recorder final : public listener_i, public dpi_switcher_ctrl_funcs_listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_listener_i)
            return static_cast<listener_i*>(this);
        if (iid == iid_dpi_switcher_ctrl_funcs_listener_i)
            return static_cast<dpi_switcher_ctrl_funcs_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void update() override {}
    void manager_closing(listener_mgr_i*) override { closed = true; }
    void step_enabled_changed(int32_t step, bool on) override { note("enabled %1 %2", step, on); }
    void step_dpi_changed(int32_t step, int32_t dpi) override { note("dpi %1 %2", step, dpi); }
    void active_step_changed(int32_t step) override { note("active %1", step); }

    // What DPI switchers reported, in order.
    static QStringList reports() { return entries({"enabled ", "dpi ", "active "}); }

    bool closed = false;
};

} // namespace test_support
