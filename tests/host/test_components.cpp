// The host components the module asks for: the control box, the slider and
// the five value controls, driven through their interfaces and through real
// input on their widgets.
#include "host/components/call_journal.h"
#include "host/components/component_context.h"
#include "host/components/component_texts.h"
#include "host/components/ctrl_box.h"
#include "host/components/host_components.h"
#include "host/components/slider.h"
#include "host/components/value_ctrl.h"
#include "host/ctrl_center.h"
#include "host/hub.h"
#include "host/module_host.h"
#include "host/texts.h"
#include "module/kernel_host_interfaces.h"

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <cstring>

namespace {

// A control as the box sees it; it answers only the faces it is given.
class fake_box_client : public ctrl_funcs_i, public ctrl_funcs_box_fm_client_i {
public:
    fake_box_client(bool funcs = true, bool reset = true)
        : m_funcs(funcs)
        , m_reset(reset) {}

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value)
            return static_cast<ctrl_funcs_i*>(this);
        if (m_funcs && iid == iid_of<ctrl_funcs_i>::value)
            return static_cast<ctrl_funcs_i*>(this);
        if (m_reset && iid == iid_of<ctrl_funcs_box_fm_client_i>::value)
            return static_cast<ctrl_funcs_box_fm_client_i*>(this);
        return nullptr;
    }
    void release() override {}
    void set_context(product_kernel_i*, product_function_page_i*) override {}
    void create_box(QWidget*) override {}
    void close_box() override {}
    int32_t ctrl_type() override { return 99; }
    bool is_favorite() override { return m_favorite; }
    void set_favorite(bool on) override {
        calls.append(QStringLiteral("set_favorite(%1)").arg(on));
        m_favorite = on;
        if (on_favorite)
            on_favorite();
    }
    int32_t box_span() override { return 1; }
    void favorite_changed() override {}
    void reset_requested() override { calls.append(QStringLiteral("reset_requested")); }

    QStringList calls;
    std::function<void()> on_favorite;

private:
    bool m_funcs;
    bool m_reset;
    bool m_favorite = false;
};

// Hears value changes when it answers value_ctrl_funcs_listener_i.
class fake_listener : public listener_i, public value_ctrl_funcs_listener_i {
public:
    explicit fake_listener(bool values = true)
        : m_values(values) {}

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<listener_i>::value)
            return static_cast<listener_i*>(this);
        if (m_values && iid == iid_of<value_ctrl_funcs_listener_i>::value)
            return static_cast<value_ctrl_funcs_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i* manager) override { closing.append(manager); }
    void update() override {}
    void value_changed(int32_t type, int32_t value) override {
        changes.append({type, value});
        if (on_change)
            on_change();
    }

    QVector<QPair<int32_t, int32_t>> changes;
    QVector<listener_mgr_i*> closing;
    std::function<void()> on_change;

private:
    bool m_values;
};

// Records what a slider tells its client, with the slider's value at the time.
class fake_slider_client : public slider_client_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_of<interface_i>::value || iid == iid_of<slider_client_i>::value ? this
                                                                                          : nullptr;
    }
    void release() override {}
    void slider_value_changed(slider_i* slider) override {
        events.append(QStringLiteral("changed %1").arg(slider->value()));
        if (on_event)
            on_event(slider);
    }
    void slider_pressed(slider_i* slider) override {
        events.append(QStringLiteral("pressed %1").arg(slider->value()));
        if (on_event)
            on_event(slider);
    }

    QStringList events;
    std::function<void(slider_i*)> on_event;
};

// A page that records reset requests.
class fake_page : public product_function_page_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_of<interface_i>::value || iid == iid_of<product_function_page_i>::value
                   ? this
                   : nullptr;
    }
    void release() override {}
    void init() override {}
    int32_t page_id() override { return 0; }
    ctrl_funcs_i* ctrl_funcs(int32_t) override { return nullptr; }
    void set_parent_widget(QWidget*) override {}
    void reset_all() override {}
    void reset_profile(int32_t, bool) override {}
    void reset_ctrl(ctrl_funcs_i* ctrl) override { resets.append(ctrl); }
    QPushButton* create_tab_button() override { return nullptr; }
    void open_page() override {}
    void close_page() override {}

    QVector<ctrl_funcs_i*> resets;
};

// A kernel that records the favourite controls it is told about; nothing else is used.
class fake_kernel : public product_kernel_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_of<interface_i>::value || iid == iid_of<product_kernel_i>::value
                   ? this
                   : nullptr;
    }
    void release() override {}
    void attach(ctrl_center_i*, QWidget*) override {}
    ctrl_center_i* ctrl_center() override { return nullptr; }
    profile_service_i* profile_service() override { return nullptr; }
    int32_t interface_version() override { return 1; }
    int32_t product_type() override { return 8; }
    product_function_page_i* page(int32_t) override { return nullptr; }
    int32_t page_count() override { return 0; }
    product_function_page_i* page_at(int32_t) override { return nullptr; }
    void open_page(int32_t) override {}
    void close_page() override {}
    int32_t service_query() override { return 0; }
    int32_t max_profiles() override { return 5; }
    int32_t profile_count() override { return 1; }
    uint8_t current_profile() override { return 0; }
    int32_t host_profile() override { return 0; }
    void set_current_profile(uint8_t) override {}
    void append_profile() override {}
    void insert_profile(uint8_t) override {}
    void delete_profile(uint8_t) override {}
    void set_host_profile(int32_t) override {}
    void set_profile_name(uint8_t, const QString&) override {}
    void set_profile_byte_106(uint8_t, uint8_t) override {}
    void set_profile_path(uint8_t, int32_t, const QString&) override {}
    void set_profile_picture(uint8_t, const QPixmap&) override {}
    void send_switch(bool) override {}
    void clear_profile_picture(uint8_t) override {}
    QString profile_name(uint8_t) override { return {}; }
    uint8_t profile_byte_106(uint8_t) override { return 0; }
    QString profile_path(uint8_t, int32_t) override { return {}; }
    QPixmap* profile_picture(uint8_t) override { return nullptr; }
    bool device_flag() override { return false; }
    bool profile_has_picture(uint8_t) override { return false; }
    bool export_profile(QIODevice*, uint8_t) override { return false; }
    bool import_profile(QIODevice*, uint8_t) override { return false; }
    bool data_loaded() override { return true; }
    void add_favorite_ctrl(ctrl_funcs_i* ctrl) override { favourites.append({true, ctrl}); }
    void remove_favorite_ctrl(ctrl_funcs_i* ctrl) override { favourites.append({false, ctrl}); }
    int32_t favorite_ctrl_count() override { return 0; }
    ctrl_funcs_i* favorite_ctrl(uint8_t) override { return nullptr; }
    bool commit() override { return false; }
    void send_command(int32_t, const QString&) override {}
    void on_host_message(const host_message_rec*) override {}
    QString publish_blob(QBuffer*) override { return {}; }
    uint8_t* btn_data(uint8_t, uint8_t) override { return nullptr; }
    void add_favorite(ctrl_funcs_i*) override {}
    void remove_favorite(ctrl_funcs_i*) override {}
    profile_led_effect_fm_i* create_effect_object() override { return nullptr; }
    int32_t favorite_item(uint8_t) override { return 0; }
    void add_kernel_listener(listener_i*) override {}
    void remove_kernel_listener(listener_i*) override {}
    void on_product_event(int32_t) override {}
    void on_current_kernel_changed(product_kernel_i*) override {}
    void on_ctrl_center_notice(int32_t) override {}
    bool on_macros_changed(const QList<library_item>&) override { return false; }
    void on_manager_closing(listener_mgr_i*) override {}

    QVector<QPair<bool, ctrl_funcs_i*>> favourites;
};

// Owns what the module would own: a panel in a shown window.
struct stage_t {
    QWidget window;
    QWidget* panel;

    explicit stage_t(int height = 150) {
        window.resize(520, height + 20);
        panel = new QWidget(&window);
        panel->setObjectName(QStringLiteral("wg_panel"));
        panel->setGeometry(10, 10, 486, height);
        window.show();
    }
};

template <class T>
T* child(QWidget* root, const QString& name) {
    return root ? root->findChild<T*>(name) : nullptr;
}

// A move with the left button held; QTest's moves carry no buttons.
void drag_to(QWidget* widget, const QPoint& pos) {
    QMouseEvent event(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Deferred deletions (objects released while they were notifying) take effect.
void flush_deletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A value control made by the registry, as the module would get it.
value_ctrl_c* make_value_ctrl(int32_t class_id, component_context_c* context = nullptr) {
    for (const host_component_class_t& c : host_component_classes(context)) {
        if (c.class_id == class_id)
            return static_cast<value_ctrl_c*>(static_cast<ctrl_funcs_i*>(c.make()));
    }
    return nullptr;
}

struct release_t {
    template <class T>
    void operator()(T* object) const {
        if (object)
            object->release();
    }
};
template <class T>
using owned = std::unique_ptr<T, release_t>;

} // namespace

class test_components : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { flush_deletions(); }

    // --- call journal -----------------------------------------------------

    void journal_keeps_calls_in_order() {
        call_journal_c journal;
        journal.record(QStringLiteral("a"), {1});
        journal.record(QStringLiteral("b"));
        journal.record(QStringLiteral("a"), {2, QStringLiteral("x")});
        QCOMPARE(journal.names(), QStringList({"a", "b", "a"}));
        QCOMPARE(journal.count(QStringLiteral("a")), 2);
        QCOMPARE(journal.last_args(QStringLiteral("a")), QVariantList({2, QStringLiteral("x")}));
        QVERIFY(journal.last_args(QStringLiteral("c")).isEmpty());
        QCOMPARE(journal.describe(), QStringLiteral("a(1)\nb()\na(2, x)"));
        journal.clear();
        QVERIFY(journal.calls().isEmpty());
    }

    // --- registry ----------------------------------------------------------

    void registry_offers_every_host_class() {
        QSet<int32_t> ids;
        for (const host_component_class_t& c : host_component_classes(nullptr)) {
            QVERIFY2(!ids.contains(c.class_id), "a class is offered twice");
            ids.insert(c.class_id);
            interface_i* object = c.make();
            QVERIFY(object);
            QVERIFY(query<interface_i>(object));
            object->release();
        }
        QCOMPARE(ids, QSet<int32_t>({0x2A01, 0x0401, 0x0101, 0x0201, 0x0301, 0x0501, 0x0601}));
    }

    // --- control box -------------------------------------------------------

    void box_answers_its_interfaces() {
        owned<ctrl_box_c> box(new ctrl_box_c);
        interface_i* identity = query<interface_i>(static_cast<ctrl_box_i*>(box.get()));
        QCOMPARE(identity, static_cast<interface_i*>(query<ctrl_box_i>(identity)));
        QVERIFY(!query<slider_i>(identity));
        QVERIFY(!query<ctrl_funcs_i>(identity));
    }

    void box_frames_the_form_in_the_panel() {
        stage_t stage(346);
        auto* form = new QLabel(QStringLiteral("form"), stage.panel);
        form->setObjectName(QStringLiteral("dpi_fm_c"));
        owned<ctrl_box_c> box(new ctrl_box_c);
        box->set_title(QStringLiteral("DPI SWITCHER"));
        box->set_help(QStringLiteral("DPI SWITCHER"), QStringLiteral("Five steps."));
        box->set_icon(QStringLiteral(":/no/such/icon.png"));
        box->set_height(346);
        box->attach(stage.panel, form);

        ctrl_box_frame_c* frame = box->frame();
        QVERIFY(frame);
        QCOMPARE(frame->parentWidget(), stage.panel);
        QVERIFY(frame->isVisible());
        QVERIFY(frame->body()->isAncestorOf(form));
        QVERIFY(form->isVisible());
        QCOMPARE(frame->title_label()->text(), QStringLiteral("DPI SWITCHER"));
        // A missing image still leaves an icon in the title bar.
        QVERIFY(!frame->icon_label()->pixmap(Qt::ReturnByValue).isNull());
        // The page's column layout sizes the panel from this.
        QCOMPARE(stage.panel->property("changing_height").toInt(), 346);
        QApplication::processEvents();
        QCOMPARE(frame->geometry(), stage.panel->rect());

        box->set_title(QStringLiteral("NEW"));
        QCOMPARE(frame->title_label()->text(), QStringLiteral("NEW"));
        box->set_height(200);
        QCOMPARE(stage.panel->property("changing_height").toInt(), 200);
        QCOMPARE(box->journal().names(),
                 QStringList({"set_title", "set_help", "set_icon", "set_height", "attach",
                              "set_title", "set_height"}));
    }

    void box_help_opens_with_its_texts() {
        stage_t stage;
        owned<ctrl_box_c> box(new ctrl_box_c);
        box->set_help(QStringLiteral("POINTER"), QStringLiteral("How fast it goes."));
        box->attach(stage.panel, nullptr);
        QTest::mouseClick(box->frame()->help_button(), Qt::LeftButton);
        help_popover_c* help = box->frame()->help_popover();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->title(), QStringLiteral("POINTER"));
        QCOMPARE(help->text(), QStringLiteral("How fast it goes."));
        help->close();
        flush_deletions();
        QVERIFY(!box->frame()->help_popover());

        // Nothing to tell: the button is off.
        box->set_help(QString(), QString());
        QVERIFY(!box->frame()->help_button()->isEnabled());
    }

    void box_star_and_reset_reach_the_client() {
        stage_t stage;
        fake_box_client client;
        owned<ctrl_box_c> box(new ctrl_box_c);
        box->set_client(static_cast<ctrl_funcs_i*>(&client));
        box->attach(stage.panel, nullptr);
        QToolButton* star = box->frame()->favorite_button();
        QTest::mouseClick(star, Qt::LeftButton);
        QTest::mouseClick(star, Qt::LeftButton);
        QTest::mouseClick(box->frame()->reset_button(), Qt::LeftButton);
        QCOMPARE(client.calls,
                 QStringList({"set_favorite(1)", "set_favorite(0)", "reset_requested"}));
        QVERIFY(!star->isChecked());
    }

    void box_mark_set_by_the_control_does_not_call_back() {
        stage_t stage;
        fake_box_client client;
        owned<ctrl_box_c> box(new ctrl_box_c);
        box->set_client(static_cast<ctrl_funcs_i*>(&client));
        // Set before the frame exists: it is shown once the frame is made.
        box->set_favorite_mark(true);
        box->attach(stage.panel, nullptr);
        QVERIFY(box->frame()->favorite_button()->isChecked());
        box->set_favorite_mark(false);
        QVERIFY(!box->frame()->favorite_button()->isChecked());
        QVERIFY(client.calls.isEmpty());
    }

    void box_clicks_without_a_willing_client_do_nothing_data() {
        QTest::addColumn<bool>("funcs");
        QTest::addColumn<bool>("reset");
        QTest::addRow("no client") << false << false;
        QTest::addRow("client without ctrl_funcs_i") << false << true;
        QTest::addRow("client without reset interface") << true << false;
    }

    void box_clicks_without_a_willing_client_do_nothing() {
        QFETCH(bool, funcs);
        QFETCH(bool, reset);
        stage_t stage;
        fake_box_client client(funcs, reset);
        owned<ctrl_box_c> box(new ctrl_box_c);
        if (funcs || reset)
            box->set_client(static_cast<ctrl_funcs_i*>(&client));
        box->attach(stage.panel, nullptr);
        QTest::mouseClick(box->frame()->favorite_button(), Qt::LeftButton);
        QTest::mouseClick(box->frame()->reset_button(), Qt::LeftButton);
        QStringList expected;
        if (funcs)
            expected << QStringLiteral("set_favorite(1)");
        if (reset)
            expected << QStringLiteral("reset_requested");
        QCOMPARE(client.calls, expected);
    }

    void box_detach_gives_the_form_back() {
        stage_t stage;
        auto* form = new QLabel(stage.panel);
        owned<ctrl_box_c> box(new ctrl_box_c);
        box->attach(stage.panel, form);
        QPointer<ctrl_box_frame_c> frame = box->frame();
        box->detach();
        QVERIFY(!frame);
        QVERIFY(!box->frame());
        // The module destroys its form; until then it is back where it was, hidden.
        QCOMPARE(form->parentWidget(), stage.panel);
        QVERIFY(!form->isVisible());
        box->detach(); // nothing attached: nothing happens
        QCOMPARE(box->journal().count(QStringLiteral("detach")), 2);
    }

    void box_attaches_to_one_panel_at_a_time() {
        stage_t first;
        stage_t second;
        owned<ctrl_box_c> box(new ctrl_box_c);
        box->attach(first.panel, nullptr);
        QPointer<ctrl_box_frame_c> old_frame = box->frame();
        box->attach(second.panel, nullptr);
        QVERIFY(!old_frame);
        QCOMPARE(box->frame()->parentWidget(), second.panel);
        QVERIFY(first.panel->findChildren<ctrl_box_frame_c*>().isEmpty());

        // No panel: the box stays where it is.
        box->attach(nullptr, nullptr);
        QCOMPARE(box->frame()->parentWidget(), second.panel);
    }

    void box_release_leaves_the_form_alive() {
        stage_t stage;
        QPointer<QLabel> form = new QLabel(stage.panel);
        auto* box = new ctrl_box_c;
        box->attach(stage.panel, form);
        QPointer<ctrl_box_frame_c> frame = box->frame();
        box->release();
        QVERIFY(!frame);
        QVERIFY(form);
        QCOMPARE(form->parentWidget(), stage.panel);
    }

    void box_survives_its_control_closing_it_from_the_star() {
        // The favorites page takes a box away when its star is cleared there.
        stage_t stage;
        fake_box_client client;
        auto* box = new ctrl_box_c;
        QPointer<QLabel> form = new QLabel(stage.panel);
        box->set_client(static_cast<ctrl_funcs_i*>(&client));
        box->attach(stage.panel, form);
        QPointer<ctrl_box_frame_c> frame = box->frame();
        QPointer<ctrl_box_c> alive = box;
        client.on_favorite = [&] {
            box->detach();
            delete form.data();
            box->release();
        };
        QTest::mouseClick(frame->favorite_button(), Qt::LeftButton);
        flush_deletions();
        QVERIFY(!alive);
        QVERIFY(!frame);
        QCOMPARE(client.calls, QStringList({"set_favorite(1)"}));
    }

    // --- slider ------------------------------------------------------------

    void slider_answers_its_interfaces() {
        owned<slider_c> slider(new slider_c);
        interface_i* identity = query<interface_i>(static_cast<slider_i*>(slider.get()));
        QCOMPARE(static_cast<interface_i*>(query<slider_i>(identity)), identity);
        QVERIFY(!query<ctrl_box_i>(identity));
    }

    void slider_fills_its_holder() {
        stage_t stage(40);
        stage.panel->setObjectName(QStringLiteral("wg_slider_3"));
        owned<slider_c> slider(new slider_c);
        slider->set_parent(stage.panel);
        slider_widget_c* widget = slider->widget();
        QCOMPARE(widget->parentWidget(), stage.panel);
        QCOMPARE(widget->objectName(), QStringLiteral("sld_slider_3"));
        QVERIFY(stage.panel->layout() && stage.panel->layout()->indexOf(widget) >= 0);
        QCOMPARE(slider_c::of(widget), slider.get());
        QVERIFY(!slider_c::of(stage.panel));
        QApplication::processEvents();
        QCOMPARE(widget->width(), stage.panel->width());

        slider->set_parent(nullptr); // ignored
        QCOMPARE(widget->parentWidget(), stage.panel);
    }

    void slider_keeps_values_on_its_grid_data() {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("shown");
        QTest::addRow("inside") << 12000 << 200 << 10 << 3200 << 3200;
        QTest::addRow("between steps rounds") << 12000 << 200 << 10 << 3206 << 3210;
        QTest::addRow("below minimum") << 12000 << 200 << 10 << 100 << 200;
        QTest::addRow("above maximum") << 12000 << 200 << 10 << 20000 << 12000;
        QTest::addRow("maximum off the grid") << 10 << 0 << 3 << 10 << 9;
        QTest::addRow("swapped range") << 200 << 12000 << 10 << 800 << 800;
        QTest::addRow("step zero is one") << 3 << 1 << 0 << 2 << 2;
        QTest::addRow("negative range") << 5 << -5 << 1 << -7 << -5;
    }

    void slider_keeps_values_on_its_grid() {
        QFETCH(int, max);
        QFETCH(int, min);
        QFETCH(int, step);
        QFETCH(int, input);
        QFETCH(int, shown);
        owned<slider_c> slider(new slider_c);
        fake_slider_client client;
        slider->set_client(&client);
        slider->set_range(max, min, step);
        slider->set_value(input);
        QCOMPARE(slider->value(), shown);
        // Values the module sets are not reported back to it.
        QVERIFY(client.events.isEmpty());
    }

    void slider_reports_mouse_input() {
        stage_t stage(40);
        owned<slider_c> slider(new slider_c);
        fake_slider_client client;
        slider->set_client(&client);
        slider->set_parent(stage.panel);
        slider->set_range(12000, 200, 10);
        slider->set_value(200);
        QApplication::processEvents();
        slider_widget_c* widget = slider->widget();

        // A click on the groove: pressed first, then the value under the cursor.
        const QPoint target = widget->handle_centre(6000);
        QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, target);
        QCOMPARE(client.events.size(), 2);
        QCOMPARE(client.events.at(0), QStringLiteral("pressed 200"));
        const int clicked = slider->value();
        QVERIFY2(qAbs(clicked - 6000) <= 100, qPrintable(QString::number(clicked)));
        QCOMPARE(client.events.at(1), QStringLiteral("changed %1").arg(clicked));

        // Dragging to the far end reports on the way and stops at the maximum.
        drag_to(widget, widget->handle_centre(9000));
        QVERIFY2(qAbs(slider->value() - 9000) <= 100, qPrintable(QString::number(slider->value())));
        drag_to(widget, QPoint(widget->width() + 50, target.y()));
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier,
                            QPoint(widget->width() + 50, target.y()));
        QCOMPARE(slider->value(), 12000);
        QCOMPARE(client.events.last(), QStringLiteral("changed 12000"));
        QCOMPARE(client.events.size(), 4);

        // A press on the handle itself changes nothing.
        client.events.clear();
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->handle_centre(12000));
        QCOMPARE(client.events, QStringList({"pressed 12000"}));
    }

    void slider_reports_keys_and_wheel_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::addRow("right") << 800 << int(Qt::Key_Right) << 810;
        QTest::addRow("up") << 800 << int(Qt::Key_Up) << 810;
        QTest::addRow("left") << 800 << int(Qt::Key_Left) << 790;
        QTest::addRow("down") << 800 << int(Qt::Key_Down) << 790;
        QTest::addRow("page up") << 800 << int(Qt::Key_PageUp) << 1980;
        QTest::addRow("page down near the end") << 900 << int(Qt::Key_PageDown) << 200;
        QTest::addRow("home") << 800 << int(Qt::Key_Home) << 200;
        QTest::addRow("end") << 800 << int(Qt::Key_End) << 12000;
        QTest::addRow("right at the end") << 12000 << int(Qt::Key_Right) << 12000;
        QTest::addRow("left at the start") << 200 << int(Qt::Key_Left) << 200;
        QTest::addRow("other key") << 800 << int(Qt::Key_A) << 800;
    }

    void slider_reports_keys_and_wheel() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, expected);
        owned<slider_c> slider(new slider_c);
        fake_slider_client client;
        slider->set_client(&client);
        slider->set_range(12000, 200, 10);
        slider->set_value(start);
        QTest::keyClick(slider->widget(), Qt::Key(key));
        QCOMPARE(slider->value(), expected);
        // Only a change is reported, and no press for keys.
        const QStringList events = expected == start
                                       ? QStringList()
                                       : QStringList({QStringLiteral("changed %1").arg(expected)});
        QCOMPARE(client.events, events);
    }

    void slider_reports_the_wheel() {
        owned<slider_c> slider(new slider_c);
        fake_slider_client client;
        slider->set_client(&client);
        slider->set_range(3, 1, 1);
        slider->set_value(1);
        slider_widget_c* widget = slider->widget();
        auto wheel = [widget](int delta) {
            QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(widget, &event);
        };
        wheel(120);
        QCOMPARE(slider->value(), 2);
        // Half notches add up before they move it.
        wheel(60);
        QCOMPARE(slider->value(), 2);
        wheel(60);
        QCOMPARE(slider->value(), 3);
        wheel(-240);
        QCOMPARE(slider->value(), 1);
        QCOMPARE(client.events, QStringList({"changed 2", "changed 3", "changed 1"}));
    }

    void user_edits_reach_the_host_for_a_commit() {
        component_context_c context;
        QSignalSpy edits(&context, &component_context_c::user_changed);
        owned<slider_c> slider(new slider_c(&context));
        fake_slider_client client;
        slider->set_client(&client);
        slider->set_range(10, 0, 1);
        slider->set_value(4);
        QCOMPARE(edits.count(), 0);
        QTest::keyClick(slider->widget(), Qt::Key_Right);
        QCOMPARE(edits.count(), 1);

        owned<value_ctrl_c> control(make_value_ctrl(0x501, &context));
        control->set_value(2);
        stage_t stage;
        control->create_box(stage.panel);
        QCOMPARE(edits.count(), 1);
        QTest::keyClick(control->form()->slider(), Qt::Key_Right);
        QCOMPARE(edits.count(), 2);
        QTest::mouseClick(control->box()->frame()->favorite_button(), Qt::LeftButton);
        QCOMPARE(edits.count(), 3);
    }

    void slider_disabled_ignores_input() {
        stage_t stage(40);
        owned<slider_c> slider(new slider_c);
        fake_slider_client client;
        slider->set_client(&client);
        slider->set_parent(stage.panel);
        slider->set_range(10, 0, 1);
        slider->set_enabled(false);
        QApplication::processEvents();
        QTest::mouseClick(slider->widget(), Qt::LeftButton, Qt::NoModifier,
                          slider->widget()->handle_centre(8));
        QTest::keyClick(slider->widget(), Qt::Key_Right);
        QCOMPARE(slider->value(), 0);
        QVERIFY(client.events.isEmpty());
        slider->set_enabled(true);
        QTest::keyClick(slider->widget(), Qt::Key_Right);
        QCOMPARE(client.events, QStringList({"changed 1"}));
    }

    void slider_marks_show_after_apply() {
        owned<slider_c> slider(new slider_c);
        slider->clear_marks();
        slider->add_mark(200, QStringLiteral("200"));
        slider->add_mark(12000, QStringLiteral("12000"));
        QVERIFY(slider->widget()->marks().isEmpty());
        QCOMPARE(slider->pending_marks(), 2);
        slider->apply_marks();
        QCOMPARE(slider->widget()->marks().size(), 2);
        QCOMPARE(slider->widget()->marks().at(1).label, QStringLiteral("12000"));
        // Labels need room under the groove.
        const int with_labels = slider->widget()->sizeHint().height();
        slider->clear_marks();
        slider->apply_marks();
        QVERIFY(slider->widget()->marks().isEmpty());
        QVERIFY(slider->widget()->sizeHint().height() < with_labels);
    }

    void slider_handle_image_and_colours() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("handle.png"));
        QPixmap image(19, 19);
        image.fill(Qt::white);
        QVERIFY(image.save(file));

        owned<slider_c> slider(new slider_c);
        slider->set_handle_image(file);
        QVERIFY(slider->widget()->has_handle_pixmap());
        slider->set_handle_image(QStringLiteral("://graphics/controls/slider/None.png"));
        QVERIFY(!slider->widget()->has_handle_pixmap());
        slider->set_text_colour(300, -4, 128);
        QCOMPARE(slider->widget()->text_colour(), QColor(255, 0, 128));
    }

    void slider_journals_every_call() {
        owned<slider_c> slider(new slider_c);
        fake_slider_client client;
        QWidget holder;
        // The order the DPI form uses.
        slider->set_client(&client);
        slider->set_handle_image(QStringLiteral("://graphics/controls/slider/Slider.png"));
        slider->set_geometry_parts(6, 19, 16, 11);
        slider->set_parent(&holder);
        slider->set_range(12000, 200, 10);
        slider->set_margins(8, 0);
        slider->set_style_variant(0);
        slider->clear_marks();
        slider->add_mark(200, QStringLiteral("200"));
        slider->apply_marks();
        slider->set_value(800);
        slider->set_enabled(true);
        slider->set_text_colour(1, 2, 3);
        QCOMPARE(slider->value(), 800);
        QCOMPARE(
            slider->journal().names(),
            QStringList({"set_client", "set_handle_image", "set_geometry_parts", "set_parent",
                         "set_range", "set_margins", "set_style_variant", "clear_marks", "add_mark",
                         "apply_marks", "set_value", "set_enabled", "set_text_colour", "value"}));
        QCOMPARE(slider->journal().last_args(QStringLiteral("set_geometry_parts")),
                 QVariantList({6, 19, 16, 11}));
        QCOMPARE(slider->journal().last_args(QStringLiteral("add_mark")),
                 QVariantList({200, QStringLiteral("200")}));
    }

    void slider_released_by_its_client_while_reporting() {
        stage_t stage(40);
        auto* slider = new slider_c;
        fake_slider_client client;
        slider->set_client(&client);
        slider->set_parent(stage.panel);
        slider->set_range(10, 0, 1);
        QPointer<slider_c> alive = slider;
        QPointer<slider_widget_c> widget = slider->widget();
        client.on_event = [](slider_i* s) {
            s->release();
        };
        QTest::keyClick(widget, Qt::Key_Right);
        flush_deletions();
        QVERIFY(!alive);
        QVERIFY(!widget);
        QCOMPARE(client.events, QStringList({"changed 1"}));
    }

    void slider_outlives_its_holder() {
        auto* holder = new QWidget;
        owned<slider_c> slider(new slider_c);
        slider->set_parent(holder);
        delete holder;
        QVERIFY(!slider->widget());
        slider->set_value(3); // no widget: nothing to show, nothing breaks
        QCOMPARE(slider->value(), 0);
    }

    // --- value controls ----------------------------------------------------

    void value_controls_answer_their_interfaces_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("pointer");
        QTest::addColumn<bool>("v_scroll");
        QTest::addRow("sensitivity") << 0x101 << 0 << false << false;
        QTest::addRow("pointer speed") << 0x201 << 2 << true << false;
        QTest::addRow("vertical scroll") << 0x301 << 3 << false << true;
        QTest::addRow("horizontal scroll") << 0x501 << 4 << false << false;
        QTest::addRow("double-click speed") << 0x601 << 5 << false << false;
    }

    void value_controls_answer_their_interfaces() {
        QFETCH(int, class_id);
        QFETCH(int, type);
        QFETCH(bool, pointer);
        QFETCH(bool, v_scroll);
        owned<value_ctrl_c> control(make_value_ctrl(class_id));
        QVERIFY(control);
        interface_i* identity = query<interface_i>(static_cast<ctrl_funcs_i*>(control.get()));
        ctrl_funcs_i* funcs = query<ctrl_funcs_i>(identity);
        QVERIFY(funcs);
        QCOMPARE(static_cast<interface_i*>(funcs), identity);
        QVERIFY(query<listener_mgr_i>(identity));
        QVERIFY(query<ctrl_funcs_box_fm_client_i>(identity));
        QVERIFY(query<value_ctrl_i>(identity));
        QCOMPARE(query<pointer_speed_ctrl_i>(identity) != nullptr, pointer);
        QCOMPARE(query<v_scroll_ctrl_i>(identity) != nullptr, v_scroll);
        QVERIFY(!query<slider_i>(identity));
        QCOMPARE(funcs->ctrl_type(), type);
        QCOMPARE(funcs->box_span(), 1);
        QVERIFY(!funcs->is_favorite());
        // Every face reaches the same object.
        QCOMPARE(query<interface_i>(query<value_ctrl_i>(identity)), identity);
    }

    void value_setup_and_set_value_clamp_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<QVector<int>>("setup"); // max, min, step
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QVector<int>>("range"); // max, min, step after setup
        const QVector<int> none;
        QTest::addRow("sensitivity inside")
            << 0x101 << QVector<int>{5, -5, 1} << -3 << -3 << QVector<int>{5, -5, 1};
        QTest::addRow("sensitivity above")
            << 0x101 << QVector<int>{5, -5, 1} << 9 << 5 << QVector<int>{5, -5, 1};
        QTest::addRow("sensitivity below")
            << 0x101 << QVector<int>{5, -5, 1} << -6 << -5 << QVector<int>{5, -5, 1};
        QTest::addRow("pointer as signed byte")
            << 0x201 << QVector<int>{5, -5, 1} << 0xFD << -3 << QVector<int>{5, -5, 1};
        QTest::addRow("scroll below one")
            << 0x301 << QVector<int>{10, 1, 1} << 0 << 1 << QVector<int>{10, 1, 1};
        QTest::addRow("scroll byte is no sign")
            << 0x301 << QVector<int>{10, 1, 1} << 0xFD << 10 << QVector<int>{10, 1, 1};
        QTest::addRow("swapped setup")
            << 0x501 << QVector<int>{1, 10, 1} << 7 << 7 << QVector<int>{10, 1, 1};
        QTest::addRow("step zero")
            << 0x601 << QVector<int>{10, 1, 0} << 4 << 4 << QVector<int>{10, 1, 1};
        QTest::addRow("step two") << 0x601 << QVector<int>{10, 2, 2} << 5 << 6
                                  << QVector<int>{10, 2, 2};
        QTest::addRow("no setup") << 0x501 << none << 11 << 10 << QVector<int>{10, 1, 1};
    }

    void value_setup_and_set_value_clamp() {
        QFETCH(int, class_id);
        QFETCH(QVector<int>, setup);
        QFETCH(int, input);
        QFETCH(int, shown);
        QFETCH(QVector<int>, range);
        owned<value_ctrl_c> control(make_value_ctrl(class_id));
        auto* value = query<value_ctrl_i>(static_cast<ctrl_funcs_i*>(control.get()));
        if (!setup.isEmpty())
            value->setup(setup[0], setup[1], setup[2], 1);
        value->set_value(input);
        QCOMPARE(value->value(), shown);
        QCOMPARE(QVector<int>({control->maximum(), control->minimum(), control->step()}), range);

        // The open box shows the same.
        stage_t stage(control->kind().box_height);
        control->create_box(stage.panel);
        QCOMPARE(control->form()->slider()->value(), shown);
        QCOMPARE(control->form()->slider()->minimum(), range[1]);
    }

    void value_setup_pulls_the_value_into_the_new_range() {
        owned<value_ctrl_c> control(make_value_ctrl(0x101));
        control->set_value(4);
        control->setup(2, -2, 1, 1);
        QCOMPARE(control->value(), 2);
        control->setup(10, 6, 1, 1);
        QCOMPARE(control->value(), 6);
    }

    void value_changes_reach_listeners_with_the_shown_value_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("reported");
        QTest::addRow("sensitivity up") << 0x101 << 0 << int(Qt::Key_Right) << 1;
        QTest::addRow("sensitivity to minimum") << 0x101 << 2 << int(Qt::Key_Home) << -5;
        QTest::addRow("pointer down") << 0x201 << -4 << int(Qt::Key_Left) << -5;
        QTest::addRow("vertical scroll") << 0x301 << 3 << int(Qt::Key_Right) << 4;
        QTest::addRow("horizontal scroll to max") << 0x501 << 3 << int(Qt::Key_End) << 10;
        QTest::addRow("double-click") << 0x601 << 5 << int(Qt::Key_Left) << 4;
    }

    void value_changes_reach_listeners_with_the_shown_value() {
        QFETCH(int, class_id);
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, reported);
        owned<value_ctrl_c> control(make_value_ctrl(class_id));
        const int32_t type = control->kind().type;
        fake_listener page;
        fake_listener hub;
        fake_listener deaf(false);
        control->add_listener(&page);
        control->add_listener(&deaf);
        control->add_listener(&hub);
        control->setup(control->kind().max, control->kind().min, 1, 1);
        control->set_value(start);
        QVERIFY(page.changes.isEmpty());

        stage_t stage(control->kind().box_height);
        control->create_box(stage.panel);
        auto* slider = child<slider_widget_c>(stage.panel, QStringLiteral("sld_value"));
        QVERIFY(slider);
        QTest::keyClick(slider, Qt::Key(key));
        const QVector<QPair<int32_t, int32_t>> expected{{type, reported}};
        QCOMPARE(page.changes, expected);
        QCOMPARE(hub.changes, expected);
        QVERIFY(deaf.changes.isEmpty());
        QCOMPARE(control->value(), reported);
        QCOMPARE(control->form()->value_label()->text().remove(QChar(0x2212)).remove('+'),
                 QString::number(qAbs(reported)));
    }

    void value_mouse_input_reaches_listeners() {
        owned<value_ctrl_c> control(make_value_ctrl(0x101));
        control->setup(5, -5, 1, 1);
        fake_listener page;
        control->add_listener(&page);
        stage_t stage;
        control->create_box(stage.panel);
        QApplication::processEvents();
        auto* slider = child<slider_widget_c>(stage.panel, QStringLiteral("sld_value"));
        QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, slider->handle_centre(-4));
        QCOMPARE(page.changes, (QVector<QPair<int32_t, int32_t>>{{0, -4}}));
        QCOMPARE(control->form()->value_label()->text(), QString(QChar(0x2212)) + "4");
    }

    void value_listeners_are_kept_once() {
        owned<value_ctrl_c> control(make_value_ctrl(0x301));
        fake_listener a;
        fake_listener b;
        control->add_listener(&a);
        control->add_listener(&a);
        control->add_listener(nullptr);
        control->add_listener(&b);
        QCOMPARE(control->listeners(), (QVector<listener_i*>{&a, &b}));
        control->remove_listener(&b);
        control->remove_listener(&b);
        QCOMPARE(control->listeners(), QVector<listener_i*>{&a});

        stage_t stage;
        control->create_box(stage.panel);
        QTest::keyClick(control->form()->slider(), Qt::Key_Right);
        QCOMPARE(a.changes.size(), 1);
        QVERIFY(b.changes.isEmpty());
    }

    void value_listener_may_leave_while_hearing() {
        owned<value_ctrl_c> control(make_value_ctrl(0x101));
        fake_listener first;
        fake_listener second;
        first.on_change = [&] {
            control->remove_listener(&second);
        };
        control->add_listener(&first);
        control->add_listener(&second);
        stage_t stage;
        control->create_box(stage.panel);
        QTest::keyClick(control->form()->slider(), Qt::Key_Right);
        QCOMPARE(first.changes.size(), 1);
        QVERIFY(second.changes.isEmpty());
    }

    void value_control_closing_tells_remaining_listeners() {
        auto* control = make_value_ctrl(0x501);
        fake_listener stays;
        fake_listener leaves;
        control->add_listener(&stays);
        control->add_listener(&leaves);
        control->remove_listener(&leaves);
        auto* manager = static_cast<listener_mgr_i*>(control);
        control->release();
        QCOMPARE(stays.closing, QVector<listener_mgr_i*>{manager});
        QVERIFY(leaves.closing.isEmpty());
    }

    void value_favourite_reaches_the_kernel_on_change_only() {
        owned<value_ctrl_c> control(make_value_ctrl(0x201));
        fake_kernel kernel;
        fake_page page;
        auto* funcs = static_cast<ctrl_funcs_i*>(control.get());
        // Without a kernel the mark is still kept.
        funcs->set_favorite(true);
        QVERIFY(funcs->is_favorite());
        funcs->set_favorite(false);
        funcs->set_context(&kernel, &page);
        funcs->set_favorite(false);
        QVERIFY(kernel.favourites.isEmpty());
        funcs->set_favorite(true);
        funcs->set_favorite(true);
        funcs->set_favorite(false);
        QCOMPARE(kernel.favourites,
                 (QVector<QPair<bool, ctrl_funcs_i*>>{{true, funcs}, {false, funcs}}));
    }

    void value_box_star_and_reset_go_through_the_control() {
        owned<value_ctrl_c> control(make_value_ctrl(0x601));
        fake_kernel kernel;
        fake_page page;
        auto* funcs = static_cast<ctrl_funcs_i*>(control.get());
        funcs->set_context(&kernel, &page);
        stage_t stage(120);
        funcs->create_box(stage.panel);
        ctrl_box_frame_c* frame = control->box()->frame();
        QTest::mouseClick(frame->favorite_button(), Qt::LeftButton);
        QVERIFY(funcs->is_favorite());
        QCOMPARE(kernel.favourites, (QVector<QPair<bool, ctrl_funcs_i*>>{{true, funcs}}));

        // The page refreshing the mark shows in the star, without a round trip.
        funcs->set_favorite(false);
        QVERIFY(!frame->favorite_button()->isChecked());
        QCOMPARE(kernel.favourites.size(), 2);

        QTest::mouseClick(frame->reset_button(), Qt::LeftButton);
        QCOMPARE(page.resets, QVector<ctrl_funcs_i*>{funcs});
    }

    void value_box_follows_its_panel() {
        owned<value_ctrl_c> control(make_value_ctrl(0x101));
        control->set_favorite(true);
        stage_t main_page(100);
        stage_t favourites(100);
        control->create_box(nullptr); // ignored
        QVERIFY(!control->box());
        control->create_box(main_page.panel);
        QCOMPARE(main_page.panel->property("changing_height").toInt(), 100);
        QVERIFY(control->box()->frame()->favorite_button()->isChecked());
        QCOMPARE(control->box()->title(), QString());

        // Opening the favorites page builds the box there; the old one goes.
        control->create_box(favourites.panel);
        QVERIFY(main_page.panel->findChildren<ctrl_box_frame_c*>().isEmpty());
        QVERIFY(main_page.panel->findChildren<value_box_fm_c*>().isEmpty());
        QCOMPARE(favourites.panel->findChildren<ctrl_box_frame_c*>().size(), 1);

        control->close_box();
        QVERIFY(!control->box());
        QVERIFY(favourites.panel->findChildren<ctrl_box_frame_c*>().isEmpty());
        QVERIFY(favourites.panel->findChildren<value_box_fm_c*>().isEmpty());
        control->close_box(); // nothing open: nothing happens
    }

    void value_box_takes_texts_from_the_host() {
        ctrl_center_c centre;
        module_host_c host(&centre);
        auto* funcs = static_cast<ctrl_funcs_i*>(
            host.create_instance(class_id::pointer_speed_ctrl, iid_of<ctrl_funcs_i>::value));
        QVERIFY(funcs);
        owned<value_ctrl_c> control(static_cast<value_ctrl_c*>(funcs));
        stage_t stage;
        control->create_box(stage.panel);
        ctrl_box_c* box = control->box();
        auto english = [](int32_t id) {
            return host_texts::text(id, host_texts::english);
        };
        QCOMPARE(box->title(), english(component_text::pointer_title));
        QCOMPARE(box->help_title(), box->title());
        QCOMPARE(box->help_text(), english(component_text::pointer_help));
        QCOMPARE(control->form()->option(0)->text(), english(component_text::pointer_precision));
        QCOMPARE(control->form()->option(1)->text(), english(component_text::pointer_snap));
        QCOMPARE(box->frame()->reset_button()->toolTip(), english(component_text::box_reset));

        // A language switch of the host reaches the open box.
        centre.set_language(host_texts::german);
        auto german = [](int32_t id) {
            return host_texts::text(id, host_texts::german);
        };
        QCOMPARE(box->title(), german(component_text::pointer_title));
        QVERIFY(box->title() != english(component_text::pointer_title));
        QCOMPARE(control->form()->option(1)->text(), german(component_text::pointer_snap));
        QCOMPARE(box->frame()->favorite_button()->toolTip(), german(component_text::box_favorite));
    }

    void every_component_text_reads_in_every_language() {
        for (int32_t id = component_text::first; id <= component_text::last; ++id) {
            for (int32_t language : host_texts::languages())
                QVERIFY2(!host_texts::text(id, language).isEmpty(),
                         qPrintable(QStringLiteral("text %1, language %2").arg(id).arg(language)));
        }
    }

    void host_answers_component_classes_by_interface_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<QByteArray>("iid");
        QTest::addColumn<bool>("answered");
        const auto id = [](const GUID& guid) {
            return QByteArray(reinterpret_cast<const char*>(&guid), sizeof guid);
        };
        QTest::addRow("box") << 0x2A01 << id(iid_of<ctrl_box_i>::value) << true;
        QTest::addRow("box as slider") << 0x2A01 << id(iid_of<slider_i>::value) << false;
        QTest::addRow("slider") << 0x0401 << id(iid_of<slider_i>::value) << true;
        QTest::addRow("slider as box") << 0x0401 << id(iid_of<ctrl_box_i>::value) << false;
        QTest::addRow("sensitivity") << 0x0101 << id(iid_of<ctrl_funcs_i>::value) << true;
        QTest::addRow("sensitivity value") << 0x0101 << id(iid_of<value_ctrl_i>::value) << true;
        QTest::addRow("sensitivity as pointer")
            << 0x0101 << id(iid_of<pointer_speed_ctrl_i>::value) << false;
        QTest::addRow("pointer second face")
            << 0x0201 << id(iid_of<pointer_speed_ctrl_i>::value) << true;
        QTest::addRow("vertical scroll second face")
            << 0x0301 << id(iid_of<v_scroll_ctrl_i>::value) << true;
        QTest::addRow("horizontal scroll") << 0x0501 << id(iid_of<ctrl_funcs_i>::value) << true;
        QTest::addRow("double-click") << 0x0601 << id(iid_of<ctrl_funcs_i>::value) << true;
        QTest::addRow("unknown class") << 0x0701 << id(iid_of<ctrl_funcs_i>::value) << false;
    }

    void host_answers_component_classes_by_interface() {
        QFETCH(int, class_id);
        QFETCH(QByteArray, iid);
        QFETCH(bool, answered);
        GUID guid;
        QCOMPARE(iid.size(), int(sizeof guid));
        std::memcpy(&guid, iid.constData(), sizeof guid);
        ctrl_center_c centre;
        module_host_c host(&centre);
        interface_i* object = host.create_instance(class_id, guid);
        QCOMPARE(object != nullptr, answered);
        if (object) {
            QCOMPARE(object->query_interface(guid), object);
            object->release();
        }
    }

    void host_keeps_option_bytes_in_its_hub() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        ctrl_center_c centre;
        hub_c hub(folder.path());
        centre.set_hub(&hub);
        module_host_c host(&centre);
        QSignalSpy edits(host.components(), &component_context_c::user_changed);
        auto* funcs = static_cast<ctrl_funcs_i*>(
            host.create_instance(class_id::v_scroll_ctrl, iid_of<ctrl_funcs_i>::value));
        owned<value_ctrl_c> control(static_cast<value_ctrl_c*>(funcs));
        control->set_hub_byte_2(hub.bytes()[hub_c::scroll_by_page]);
        stage_t stage(126);
        control->create_box(stage.panel);
        auto* by_page = child<option_toggle_c>(stage.panel, QStringLiteral("ckb_scroll_by_page"));
        QVERIFY(by_page);
        const bool before = hub.value(hub_c::scroll_by_page) != 0;
        QCOMPARE(by_page->isChecked(), before);
        QTest::mouseClick(by_page, Qt::LeftButton);
        QCOMPARE(hub.value(hub_c::scroll_by_page) != 0, !before);
        QCOMPARE(edits.count(), 1);
    }

    void value_options_show_hub_bytes_without_reporting_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addRow("pointer precision") << 0x201 << 0 << "ckb_pointer_precision";
        QTest::addRow("pointer snap") << 0x201 << 1 << "ckb_pointer_snap";
        QTest::addRow("scroll by page") << 0x301 << 2 << "ckb_scroll_by_page";
    }

    void value_options_show_hub_bytes_without_reporting() {
        QFETCH(int, class_id);
        QFETCH(int, index);
        QFETCH(QString, name);
        component_context_c context;
        owned<value_ctrl_c> control(make_value_ctrl(class_id, &context));
        QSignalSpy own(control.get(), &value_ctrl_c::option_changed);
        QSignalSpy shared(&context, &component_context_c::hub_option_changed);
        auto* funcs = static_cast<ctrl_funcs_i*>(control.get());
        auto set_byte = [&](uint8_t value) {
            if (index == 0)
                query<pointer_speed_ctrl_i>(funcs)->set_hub_byte_0(value);
            else if (index == 1)
                query<pointer_speed_ctrl_i>(funcs)->set_hub_byte_1(value);
            else
                query<v_scroll_ctrl_i>(funcs)->set_hub_byte_2(value);
        };
        set_byte(1);
        QVERIFY(control->option(index));
        stage_t stage(150);
        control->create_box(stage.panel);
        auto* toggle = child<option_toggle_c>(stage.panel, name);
        QVERIFY(toggle);
        QVERIFY(toggle->isChecked());
        set_byte(0);
        QVERIFY(!toggle->isChecked());
        QCOMPARE(own.count(), 0);

        // The user's switch goes to the host, which keeps these bytes.
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(control->option(index));
        QCOMPARE(own.count(), 1);
        QCOMPARE(own.first(), QVariantList({index, 1}));
        QCOMPARE(shared.count(), 1);
        QCOMPARE(shared.first(), QVariantList({index, 1}));
    }

    void value_scroll_by_page_leaves_no_line_count() {
        owned<value_ctrl_c> control(make_value_ctrl(0x301));
        stage_t stage(126);
        control->create_box(stage.panel);
        control->set_hub_byte_2(1);
        QVERIFY(!control->form()->slider()->isEnabled());
        control->set_hub_byte_2(0);
        QVERIFY(control->form()->slider()->isEnabled());
    }

    void value_controls_keep_their_own_options_only() {
        owned<value_ctrl_c> sensitivity(make_value_ctrl(0x101));
        stage_t stage;
        sensitivity->create_box(stage.panel);
        QVERIFY(stage.panel->findChildren<option_toggle_c*>().isEmpty());
        QVERIFY(!sensitivity->form()->test_area());
        owned<value_ctrl_c> double_click(make_value_ctrl(0x601));
        stage_t other(120);
        double_click->create_box(other.panel);
        QVERIFY(double_click->form()->test_area());
    }

    void double_click_area_opens_on_a_double_click() {
        owned<value_ctrl_c> control(make_value_ctrl(0x601));
        // The slowest speed leaves plenty of time between two test clicks.
        control->set_value(1);
        stage_t stage(120);
        control->create_box(stage.panel);
        double_click_test_c* area = control->form()->test_area();
        QSignalSpy toggled(area, &double_click_test_c::toggled);
        QTest::mouseClick(area, Qt::LeftButton);
        QVERIFY(!area->is_open());
        QTest::mouseClick(area, Qt::LeftButton);
        QVERIFY(area->is_open());
        // The pair is used up: a third click starts a new one.
        QTest::mouseClick(area, Qt::LeftButton);
        QVERIFY(area->is_open());
        QTest::mouseClick(area, Qt::LeftButton);
        QVERIFY(!area->is_open());
        QCOMPARE(toggled.count(), 2);
        QTest::mouseClick(area, Qt::RightButton);
        QTest::mouseClick(area, Qt::RightButton);
        QCOMPARE(toggled.count(), 2);
    }

    void double_click_window_shrinks_with_speed() {
        QCOMPARE(double_click_test_c::interval_ms(1), 900);
        QCOMPARE(double_click_test_c::interval_ms(10), 200);
        QCOMPARE(double_click_test_c::interval_ms(0), 900);
        QCOMPARE(double_click_test_c::interval_ms(11), 200);
        for (int speed = 1; speed < 10; ++speed)
            QVERIFY(double_click_test_c::interval_ms(speed) >
                    double_click_test_c::interval_ms(speed + 1));
    }

    void value_control_released_by_a_listener() {
        auto* control = make_value_ctrl(0x101);
        QPointer<value_ctrl_c> alive = control;
        fake_listener page;
        page.on_change = [control] {
            control->release();
        };
        control->add_listener(&page);
        stage_t stage;
        control->create_box(stage.panel);
        QTest::keyClick(control->form()->slider(), Qt::Key_Right);
        flush_deletions();
        QVERIFY(!alive);
        QVERIFY(stage.panel->findChildren<ctrl_box_frame_c*>().isEmpty());
    }

    void value_journal_records_the_page_calls() {
        owned<value_ctrl_c> control(make_value_ctrl(0x201));
        fake_kernel kernel;
        fake_page page;
        auto* funcs = static_cast<ctrl_funcs_i*>(control.get());
        // What the main page does when it makes and refreshes the control.
        funcs->set_context(&kernel, &page);
        query<value_ctrl_i>(funcs)->setup(5, -5, 1, 1);
        query<value_ctrl_i>(funcs)->set_value(2);
        query<pointer_speed_ctrl_i>(funcs)->set_hub_byte_0(1);
        query<pointer_speed_ctrl_i>(funcs)->set_hub_byte_1(0);
        funcs->set_favorite(true);
        QCOMPARE(control->journal().names(),
                 QStringList({"set_context", "setup", "set_value", "set_hub_byte_0",
                              "set_hub_byte_1", "set_favorite", "favorite_changed"}));
        QCOMPARE(control->journal().last_args(QStringLiteral("setup")),
                 QVariantList({5, -5, 1, 1}));
    }
};

QTEST_MAIN(test_components)
#include "test_components.moc"
