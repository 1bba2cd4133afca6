// Host stand-ins for the control suites: value controls, sliders and control boxes around
// the shared host and hub. Every one writes what it is asked to do into one journal, so a
// test can check orders across objects.
#pragma once

#include "module/component_interfaces.h"
#include "module/module.h"
#include "module/page_interfaces.h"
#include "support/fake_host.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>
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

// Entries of the journal that start with `prefix`.
inline QStringList entries(const QString& prefix) {
    QStringList out;
    for (const QString& line : journal()) {
        if (line.startsWith(prefix))
            out.append(line);
    }
    return out;
}

inline QString name_of(QWidget* w) {
    return w ? w->objectName() : QStringLiteral("null");
}

// A host value control: reports value_changed(type, shown value) to its listeners.
class fake_value_ctrl final : public ctrl_funcs_i,
                              public listener_mgr_i,
                              public value_ctrl_i,
                              public pointer_speed_ctrl_i,
                              public v_scroll_ctrl_i {
public:
    fake_value_ctrl(int32_t type, bool offers_value)
        : type(type)
        , offers_value(offers_value) {}
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_ctrl_funcs_i)
            return static_cast<ctrl_funcs_i*>(this);
        if (iid == iid_listener_mgr_i)
            return static_cast<listener_mgr_i*>(this);
        if (offers_value && iid == iid_value_ctrl_i)
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
    void set_context(product_kernel_i* k, product_function_page_i* p) override {
        kernel = k;
        page = p;
        note("ctrl %1 set_context", type);
    }
    void create_box(QWidget* panel) override {
        note("ctrl %1 create_box %2", type, name_of(panel));
    }
    void close_box() override { note("ctrl %1 close_box", type); }
    int32_t ctrl_type() override { return type; }
    bool is_favorite() override { return false; }
    void set_favorite(bool on) override { note("ctrl %1 favorite %2", type, on); }
    int32_t box_span() override { return 1; }
    void favorite_changed() override {}
    // The page and the hub listen; nobody else does.
    void add_listener(listener_i* l) override {
        note("ctrl %1 add_listener %2", type, query<product_function_page_i>(l) ? "page" : "hub");
        if (!listeners.contains(l))
            listeners.append(l);
    }
    void remove_listener(listener_i* l) override {
        note("ctrl %1 remove_listener %2", type,
             query<product_function_page_i>(l) ? "page" : "hub");
        listeners.removeOne(l);
    }
    void setup(int32_t max, int32_t min, int32_t step, int32_t mode) override {
        note("ctrl %1 setup %2 %3 %4 %5", type, max, min, step, mode);
    }
    int32_t value() override { return 0; }
    void set_value(int32_t v) override { note("ctrl %1 set_value %2", type, v); }
    void pointer_reserved_2() override {}
    void pointer_reserved_3() override {}
    void set_hub_byte_0(uint8_t v) override { note("ctrl %1 hub_byte_0 %2", type, v); }
    void set_hub_byte_1(uint8_t v) override { note("ctrl %1 hub_byte_1 %2", type, v); }
    void v_scroll_reserved_2() override {}
    void set_hub_byte_2(uint8_t v) override { note("ctrl %1 hub_byte_2 %2", type, v); }

    // What the real control does when the user moves it.
    void user_sets(int32_t v) {
        const QList<listener_i*> copy = listeners;
        for (listener_i* l : copy) {
            if (auto* vl = query<value_ctrl_funcs_listener_i>(l))
                vl->value_changed(type, v);
        }
    }

    int32_t type;
    bool offers_value;
    product_kernel_i* kernel = nullptr;
    product_function_page_i* page = nullptr;
    QList<listener_i*> listeners;
};

// The host slider: keeps its value and tells its client about moves and presses.
class fake_slider final : public slider_i {
public:
    explicit fake_slider(int index)
        : index(index) {}
    interface_i* query_interface(const GUID& iid) override {
        return (iid == iid_interface_i || iid == iid_slider_i) ? this : nullptr;
    }
    void release() override {
        released = true;
        note("slider %1 release", index);
    }
    void set_parent(QWidget* p) override {
        parent = p;
        note("slider %1 set_parent %2", index, name_of(p));
    }
    void set_range(int32_t max, int32_t min, int32_t step) override {
        note("slider %1 set_range %2 %3 %4", index, max, min, step);
    }
    void clear_marks() override { note("slider %1 clear_marks", index); }
    void add_mark(int32_t v, const QString& label) override {
        note("slider %1 add_mark %2 %3", index, v, label);
    }
    void apply_marks() override { note("slider %1 apply_marks", index); }
    int32_t value() override { return current; }
    void set_value(int32_t v) override { current = v; }
    void set_enabled(bool on) override { enabled = on; }
    void set_style_variant(int32_t v) override { note("slider %1 op11 %2", index, v); }
    void set_geometry_parts(int32_t a, int32_t b, int32_t c, int32_t d) override {
        note("slider %1 set_geometry_parts %2 %3 %4 %5", index, a, b, c, d);
    }
    void set_margins(int32_t h, int32_t v) override { note("slider %1 op13 %2 %3", index, h, v); }
    void set_handle_image(const QString& path) override {
        note("slider %1 set_handle_image %2", index, path);
    }
    void set_text_colour(int32_t r, int32_t g, int32_t b) override {
        colour = QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b);
    }
    void set_client(slider_client_i* c) override {
        client = c;
        note("slider %1 set_client", index);
    }

    // The user drags the handle to `v`, or presses it.
    void drag_to(int32_t v) {
        current = v;
        client->slider_value_changed(this);
    }
    void press() { client->slider_pressed(this); }

    int index;
    QPointer<QWidget> parent;
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
    void set_client(interface_i* c) override {
        client = c;
        note("box set_client");
    }
    void box_reserved_3() override {}
    void set_icon(const QString& path) override { note("box set_icon %1", path); }
    void set_title(const QString& text) override { note("box set_title %1", text); }
    void set_help(const QString& title, const QString& text) override {
        note("box set_help %1 %2", title, text);
    }
    void set_favorite_mark(bool on) override { note("box set_favorite_mark %1", on); }
    void box_reserved_8() override {}
    void box_reserved_9() override {}
    void box_reserved_10() override {}
    void set_height(int32_t h) override { note("box set_height %1", h); }
    void attach(QWidget* panel, QWidget* form) override {
        note("box attach %1", name_of(panel));
        form->setParent(panel);
        form->setGeometry(panel->rect());
        form->show();
    }
    void detach() override { note("box detach"); }

    interface_i* client = nullptr;
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
        factory = [this](int32_t class_id, const GUID& iid) {
            return create(class_id, iid);
        };
    }

    fake_hub hub;
    QList<int32_t> missing_types;
    QList<int32_t> valueless_types;
    // Not owned: the page releases them.
    QList<fake_value_ctrl*> value_ctrls;
    std::vector<std::unique_ptr<fake_slider>> sliders;
    std::vector<std::unique_ptr<fake_box>> boxes;

private:
    interface_i* create(int32_t class_id, const GUID& iid) {
        if (class_id == class_id::slider && iid == iid_slider_i) {
            sliders.push_back(std::make_unique<fake_slider>(int(sliders.size())));
            return sliders.back().get();
        }
        if (class_id == class_id::ctrl_box && iid == iid_ctrl_box_i) {
            boxes.push_back(std::make_unique<fake_box>());
            return boxes.back().get();
        }
        static const QMap<int32_t, int32_t> types = {
            {class_id::sensitivity_ctrl, ctrl_type::sensitivity},
            {class_id::pointer_speed_ctrl, ctrl_type::pointer_speed},
            {class_id::v_scroll_ctrl, ctrl_type::v_scroll},
            {class_id::h_scroll_ctrl, ctrl_type::h_scroll},
            {class_id::double_click_ctrl, ctrl_type::double_click}};
        const int32_t type = types.value(class_id, -1);
        if (iid != iid_ctrl_funcs_i || type < 0 || missing_types.contains(type))
            return nullptr;
        value_ctrls.append(new fake_value_ctrl(type, !valueless_types.contains(type)));
        return static_cast<ctrl_funcs_i*>(value_ctrls.back());
    }
};

// Records what a DPI switcher reports.
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
    void manager_closing(listener_mgr_i*) override { closed = true; }
    void update() override {}
    void step_enabled_changed(int32_t step, bool on) override { report("enabled %1 %2", step, on); }
    void step_dpi_changed(int32_t step, int32_t dpi) override { report("dpi %1 %2", step, dpi); }
    void active_step_changed(int32_t step) override { report("active %1", step); }

    QStringList reports;
    bool closed = false;

private:
    template <class... A>
    void report(const char* what, const A&... args) {
        note(what, args...);
        reports.append(journal().last());
    }
};

} // namespace test_support
