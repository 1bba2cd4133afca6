// Host stand-ins for the page and control suites: a control centre with a text
// provider and a hub, value controls, sliders and control boxes. Every one writes
// what it is asked to do into one journal, so a test can check orders across objects.
#pragma once

#include "module/component_interfaces.h"
#include "module/module.h"
#include "module/page_interfaces.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

namespace test_support {

inline QStringList& journal() {
    static QStringList j;
    return j;
}

inline void note(const QString& line) {
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

class fake_hub final : public hub_i, public listener_i, public value_ctrl_funcs_listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i)
            return static_cast<hub_i*>(this);
        if (iid == iid_listener_i)
            return static_cast<listener_i*>(this);
        if (iid == iid_value_ctrl_funcs_listener_i)
            return static_cast<value_ctrl_funcs_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void hub_reserved_2() override {}
    macro_library_i* macro_library() override { return nullptr; }
    const uint8_t* hub_bytes() override { return offers_bytes ? bytes.data() : nullptr; }
    void hub_reserved_5() override {}
    void hub_reserved_6() override {}
    void hub_reserved_7() override {}
    void hub_reserved_8() override {}
    void hub_reserved_9() override {}
    void hub_reserved_10() override {}
    void hub_reserved_11() override {}
    void reset_hub_setting(int32_t type) override {
        resets.append(type);
        note(QStringLiteral("hub reset %1").arg(type));
    }
    void manager_closing(listener_mgr_i*) override {}
    void update() override {}
    void value_changed(int32_t type, int32_t value) override {
        note(QStringLiteral("hub value %1 %2").arg(type).arg(value));
    }

    std::array<uint8_t, 7> bytes{};
    bool offers_bytes = true;
    QList<int32_t> resets;
};

class fake_texts final : public text_provider_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    QString text(int32_t id, int32_t) override { return prefix + QString::number(id); }
    QString prefix = QStringLiteral("T");
};

class fake_center final : public ctrl_center_i, public listener_mgr_i, public language_source_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i)
            return static_cast<ctrl_center_i*>(this);
        if (iid == iid_listener_mgr_i)
            return static_cast<listener_mgr_i*>(this);
        if (iid == iid_language_source_i)
            return static_cast<language_source_i*>(this);
        return nullptr;
    }
    void release() override {}
    void add_listener(listener_i* l) override {
        if (!listeners.contains(l))
            listeners.append(l);
    }
    void remove_listener(listener_i* l) override { listeners.removeOne(l); }
    int32_t current_language() override { return 0; }
    void kernel_command(product_kernel_i*, int32_t, const QString&) override {}
    void center_reserved_3() override {}
    void center_reserved_4() override {}
    hub_i* get_hub() override { return has_hub ? &hub : nullptr; }
    void center_reserved_6() override {}
    text_provider_i* get_text_provider() override { return has_texts ? &texts : nullptr; }
    interface_i* get_service(int32_t) override { return nullptr; }
    product_kernel_i* current_kernel() override { return shown; }
    void center_reserved_10() override {}
    uint8_t current_profile_slot() override { return slot; }
    QWidget* profile_object(int32_t) override { return nullptr; }
    void center_reserved_13() override {}
    void center_reserved_14() override {}
    void everything_reset(int32_t) override {}
    void set_busy(bool, int32_t, int32_t) override {}
    void set_live_mode(bool) override {}

    fake_hub hub;
    fake_texts texts;
    bool has_hub = true;
    bool has_texts = true;
    uint8_t slot = 0xFF;
    product_kernel_i* shown = nullptr;
    QList<listener_i*> listeners;
};

// Names a listener by what it is, for the journal.
inline QString listener_name(listener_i* l) {
    if (query<product_function_page_i>(l))
        return QStringLiteral("page");
    // The hub is the other value listener.
    if (query<value_ctrl_funcs_listener_i>(l))
        return QStringLiteral("hub");
    return QStringLiteral("other");
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
        log(QStringLiteral("release"));
        delete this;
    }
    void set_context(product_kernel_i* k, product_function_page_i* p) override {
        kernel = k;
        page = p;
        log(QStringLiteral("set_context"));
    }
    void create_box(QWidget* panel) override {
        log(QStringLiteral("create_box ") + (panel ? panel->objectName() : QStringLiteral("null")));
    }
    void close_box() override { log(QStringLiteral("close_box")); }
    int32_t ctrl_type() override { return type; }
    bool is_favorite() override { return favorite; }
    void set_favorite(bool on) override {
        favorite = on;
        log(QStringLiteral("favorite %1").arg(on));
    }
    int32_t box_span() override { return 1; }
    void favorite_changed() override {}

    void add_listener(listener_i* l) override {
        log(QStringLiteral("add_listener ") + listener_name(l));
        if (!listeners.contains(l))
            listeners.append(l);
    }
    void remove_listener(listener_i* l) override {
        log(QStringLiteral("remove_listener ") + listener_name(l));
        listeners.removeOne(l);
    }

    void setup(int32_t max, int32_t min, int32_t step, int32_t mode) override {
        log(QStringLiteral("setup %1 %2 %3 %4").arg(max).arg(min).arg(step).arg(mode));
    }
    int32_t value() override { return shown; }
    void set_value(int32_t v) override {
        shown = v;
        log(QStringLiteral("set_value %1").arg(v));
    }
    void pointer_reserved_2() override {}
    void pointer_reserved_3() override {}
    void set_hub_byte_0(uint8_t v) override { log(QStringLiteral("hub_byte_0 %1").arg(v)); }
    void set_hub_byte_1(uint8_t v) override { log(QStringLiteral("hub_byte_1 %1").arg(v)); }
    void v_scroll_reserved_2() override {}
    void set_hub_byte_2(uint8_t v) override { log(QStringLiteral("hub_byte_2 %1").arg(v)); }

    // What the real control does when the user moves it.
    void user_sets(int32_t v) {
        shown = v;
        const QList<listener_i*> copy = listeners;
        for (listener_i* l : copy) {
            if (auto* vl = query<value_ctrl_funcs_listener_i>(l))
                vl->value_changed(type, v);
        }
    }

    void log(const QString& what) { note(QStringLiteral("ctrl %1 %2").arg(type).arg(what)); }

    int32_t type;
    bool offers_value;
    product_kernel_i* kernel = nullptr;
    product_function_page_i* page = nullptr;
    bool favorite = false;
    int32_t shown = 0;
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
        log(QStringLiteral("release"));
    }
    void set_parent(QWidget* p) override {
        parent = p;
        log(QStringLiteral("set_parent ") + (p ? p->objectName() : QStringLiteral("null")));
    }
    void set_range(int32_t max, int32_t min, int32_t step) override {
        log(QStringLiteral("set_range %1 %2 %3").arg(max).arg(min).arg(step));
    }
    void clear_marks() override { log(QStringLiteral("clear_marks")); }
    void add_mark(int32_t v, const QString& label) override {
        log(QStringLiteral("add_mark %1 %2").arg(v).arg(label));
    }
    void apply_marks() override { log(QStringLiteral("apply_marks")); }
    int32_t value() override { return current; }
    void set_value(int32_t v) override {
        current = v;
        log(QStringLiteral("set_value %1").arg(v));
    }
    void set_enabled(bool on) override {
        enabled = on;
        log(QStringLiteral("set_enabled %1").arg(on));
    }
    void set_style_variant(int32_t v) override { log(QStringLiteral("op11 %1").arg(v)); }
    void set_geometry_parts(int32_t a, int32_t b, int32_t c, int32_t d) override {
        log(QStringLiteral("set_geometry_parts %1 %2 %3 %4").arg(a).arg(b).arg(c).arg(d));
    }
    void set_margins(int32_t h, int32_t v) override {
        log(QStringLiteral("op13 %1 %2").arg(h).arg(v));
    }
    void set_handle_image(const QString& path) override {
        log(QStringLiteral("set_handle_image ") + path);
    }
    void set_text_colour(int32_t r, int32_t g, int32_t b) override {
        colour = QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b);
    }
    void set_client(slider_client_i* c) override {
        client = c;
        log(QStringLiteral("set_client"));
    }

    // The user drags the handle to `v`.
    void drag_to(int32_t v) {
        current = v;
        if (client)
            client->slider_value_changed(this);
    }
    void press() {
        if (client)
            client->slider_pressed(this);
    }

    void log(const QString& what) { note(QStringLiteral("slider %1 %2").arg(index).arg(what)); }

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
        log(QStringLiteral("release"));
    }
    void set_client(interface_i* c) override {
        client = c;
        log(QStringLiteral("set_client"));
    }
    void box_reserved_3() override {}
    void set_icon(const QString& path) override { log(QStringLiteral("set_icon ") + path); }
    void set_title(const QString& text) override { log(QStringLiteral("set_title ") + text); }
    void set_help(const QString& title, const QString& text) override {
        log(QStringLiteral("set_help %1 %2").arg(title, text));
    }
    void set_favorite_mark(bool on) override {
        log(QStringLiteral("set_favorite_mark %1").arg(on));
    }
    void box_reserved_8() override {}
    void box_reserved_9() override {}
    void box_reserved_10() override {}
    void set_height(int32_t h) override { log(QStringLiteral("set_height %1").arg(h)); }
    void attach(QWidget* p, QWidget* f) override {
        panel = p;
        form = f;
        log(QStringLiteral("attach ") + (p ? p->objectName() : QStringLiteral("null")));
        if (p && f) {
            f->setParent(p);
            f->setGeometry(p->rect());
            f->show();
        }
    }
    void detach() override { log(QStringLiteral("detach")); }

    void log(const QString& what) { note(QStringLiteral("box ") + what); }

    interface_i* client = nullptr;
    QPointer<QWidget> panel;
    QPointer<QWidget> form;
    bool released = false;
};

// The host: hands out value controls, sliders and boxes and keeps them for inspection.
class fake_host final : public module_host_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    void host_reserved_2() override {}
    ctrl_center_i* get_app() override { return &center; }
    void register_factory(factory_fn, int32_t) override {}
    void unregister_factory(int32_t) override {}
    interface_i* create_instance(int32_t class_id, const GUID& iid) override {
        created.append(class_id);
        if (class_id == class_id::slider && iid == iid_slider_i) {
            sliders.push_back(std::make_unique<fake_slider>(int(sliders.size())));
            return sliders.back().get();
        }
        if (class_id == class_id::ctrl_box && iid == iid_ctrl_box_i) {
            if (!gives_boxes)
                return nullptr;
            boxes.push_back(std::make_unique<fake_box>());
            return boxes.back().get();
        }
        if (iid != iid_ctrl_funcs_i)
            return nullptr;
        int32_t type = -1;
        switch (class_id) {
        case class_id::sensitivity_ctrl:
            type = ctrl_type::sensitivity;
            break;
        case class_id::pointer_speed_ctrl:
            type = ctrl_type::pointer_speed;
            break;
        case class_id::v_scroll_ctrl:
            type = ctrl_type::v_scroll;
            break;
        case class_id::h_scroll_ctrl:
            type = ctrl_type::h_scroll;
            break;
        case class_id::double_click_ctrl:
            type = ctrl_type::double_click;
            break;
        default:
            return nullptr;
        }
        if (missing_types.contains(type))
            return nullptr;
        auto* ctrl = new fake_value_ctrl(type, !valueless_types.contains(type));
        value_ctrls.append(ctrl);
        return static_cast<ctrl_funcs_i*>(ctrl);
    }

    fake_center center;
    QList<int32_t> created;
    bool gives_boxes = true;
    QList<int32_t> missing_types;
    QList<int32_t> valueless_types;
    // Not owned: the page releases them.
    QList<fake_value_ctrl*> value_ctrls;
    std::vector<std::unique_ptr<fake_slider>> sliders;
    std::vector<std::unique_ptr<fake_box>> boxes;
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
    void step_enabled_changed(int32_t step, bool on) override {
        reports << QStringLiteral("enabled %1 %2").arg(step).arg(on);
        note(reports.last());
    }
    void step_dpi_changed(int32_t step, int32_t dpi) override {
        reports << QStringLiteral("dpi %1 %2").arg(step).arg(dpi);
        note(reports.last());
    }
    void active_step_changed(int32_t step) override {
        reports << QStringLiteral("active %1").arg(step);
        note(reports.last());
    }
    QStringList reports;
    bool closed = false;
};

} // namespace test_support
