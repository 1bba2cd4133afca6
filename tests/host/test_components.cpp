// The host components the module asks for: the control box, the slider and
// the five value controls, driven through their interfaces and through real
// input on their widgets.
#include "fake_kernel.h"

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

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

using favourites_t = QVector<QPair<bool, ctrl_funcs_i*>>;

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

    // --- registry ----------------------------------------------------------

    void host_answers_component_classes_by_interface() {
        struct row_t {
            int32_t class_id;
            const GUID& iid;
            bool answered;
        };
        const row_t rows[] = {
            {0x2A01, iid_of<ctrl_box_i>::value, true},
            {0x2A01, iid_of<slider_i>::value, false},
            {0x2A01, iid_of<ctrl_funcs_i>::value, false},
            {0x0401, iid_of<slider_i>::value, true},
            {0x0401, iid_of<ctrl_box_i>::value, false},
            {0x0101, iid_of<ctrl_funcs_i>::value, true},
            {0x0101, iid_of<value_ctrl_i>::value, true},
            {0x0101, iid_of<listener_mgr_i>::value, true},
            {0x0101, iid_of<ctrl_funcs_box_fm_client_i>::value, true},
            {0x0101, iid_of<pointer_speed_ctrl_i>::value, false},
            {0x0201, iid_of<pointer_speed_ctrl_i>::value, true},
            {0x0201, iid_of<v_scroll_ctrl_i>::value, false},
            {0x0301, iid_of<v_scroll_ctrl_i>::value, true},
            {0x0501, iid_of<ctrl_funcs_i>::value, true},
            {0x0601, iid_of<ctrl_funcs_i>::value, true},
            {0x0701, iid_of<ctrl_funcs_i>::value, false}, // no such class
        };
        ctrl_center_c centre;
        module_host_c host(&centre);
        for (const row_t& row : rows) {
            const QByteArray what = QByteArray::number(row.class_id, 16) + " row " +
                                    QByteArray::number(int(&row - rows));
            interface_i* object = host.create_instance(row.class_id, row.iid);
            QVERIFY2((object != nullptr) == row.answered, what);
            if (!object)
                continue;
            QVERIFY2(object->query_interface(row.iid) == object, what);
            // Every face reaches the same object.
            QVERIFY2(same_object(query<interface_i>(object), object), what);
            object->release();
        }
    }

    // --- control box -------------------------------------------------------

    void box_frames_the_form_in_the_panel() {
        stage_t stage(346);
        auto* form = new QLabel(QStringLiteral("form"), stage.panel);
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
        box->set_height(200);
        QCOMPARE(stage.panel->property("changing_height").toInt(), 200);

        // Its help opens with the texts; with nothing to tell, the button is off.
        QTest::mouseClick(frame->help_button(), Qt::LeftButton);
        help_popover_c* help = frame->help_popover();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->title(), QStringLiteral("DPI SWITCHER"));
        QCOMPARE(help->text(), QStringLiteral("Five steps."));
        help->close();
        flush_deletions();
        QVERIFY(!frame->help_popover());
        box->set_help(QString(), QString());
        QVERIFY(!frame->help_button()->isEnabled());
    }

    void box_star_and_reset_reach_the_client_data() {
        QTest::addColumn<bool>("funcs");
        QTest::addColumn<bool>("reset");
        QTest::addRow("willing client") << true << true;
        QTest::addRow("no client") << false << false;
        QTest::addRow("client without ctrl_funcs_i") << false << true;
        QTest::addRow("client without reset interface") << true << false;
    }

    void box_star_and_reset_reach_the_client() {
        QFETCH(bool, funcs);
        QFETCH(bool, reset);
        stage_t stage;
        fake_box_client client(funcs, reset);
        owned<ctrl_box_c> box(new ctrl_box_c);
        if (funcs || reset)
            box->set_client(static_cast<ctrl_funcs_i*>(&client));
        // A mark set by the control before the frame exists shows once it is made.
        box->set_favorite_mark(true);
        box->attach(stage.panel, nullptr);
        QToolButton* star = box->frame()->favorite_button();
        QVERIFY(star->isChecked());
        box->set_favorite_mark(false);
        QVERIFY(!star->isChecked());
        QVERIFY(client.calls.isEmpty()); // the control's own mark does not call back

        QTest::mouseClick(star, Qt::LeftButton);
        QTest::mouseClick(star, Qt::LeftButton);
        QTest::mouseClick(box->frame()->reset_button(), Qt::LeftButton);
        QStringList expected;
        if (funcs)
            expected << QStringLiteral("set_favorite(1)") << QStringLiteral("set_favorite(0)");
        if (reset)
            expected << QStringLiteral("reset_requested");
        QCOMPARE(client.calls, expected);
    }

    void box_lifecycle_leaves_the_form_to_its_owner() {
        stage_t first;
        stage_t second;
        QPointer<QLabel> form = new QLabel(second.panel);
        auto* box = new ctrl_box_c;
        // One panel at a time: attaching elsewhere takes the old frame away.
        box->attach(first.panel, nullptr);
        QPointer<ctrl_box_frame_c> old_frame = box->frame();
        box->attach(second.panel, form);
        QVERIFY(!old_frame);
        QVERIFY(first.panel->findChildren<ctrl_box_frame_c*>().isEmpty());
        QCOMPARE(box->frame()->parentWidget(), second.panel);
        box->attach(nullptr, nullptr); // no panel: the box stays where it is
        QCOMPARE(box->frame()->parentWidget(), second.panel);

        // The module destroys its form; until then it is back where it was, hidden.
        QPointer<ctrl_box_frame_c> frame = box->frame();
        box->detach();
        QVERIFY(!frame && !box->frame());
        QCOMPARE(form->parentWidget(), second.panel);
        QVERIFY(!form->isVisible());
        box->detach(); // nothing attached: nothing happens
        QVERIFY(!box->frame());
        QCOMPARE(form->parentWidget(), second.panel);

        box->attach(second.panel, form);
        frame = box->frame();
        box->release();
        QVERIFY(!frame);
        QVERIFY(form);
        QCOMPARE(form->parentWidget(), second.panel);
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

        // Disabled, it takes no input at all.
        slider->set_enabled(false);
        client.events.clear();
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->handle_centre(800));
        QTest::keyClick(widget, Qt::Key_Left);
        QCOMPARE(slider->value(), 12000);
        QVERIFY(client.events.isEmpty());
        slider->set_enabled(true);
        QTest::keyClick(widget, Qt::Key_Left);
        QCOMPARE(client.events, QStringList({"changed 11990"}));
    }

    void slider_keeps_to_its_grid_and_reports_keys_data() {
        QTest::addColumn<QVector<int>>("range"); // max, min, step
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("key"); // 0: none
        QTest::addColumn<int>("expected");
        const QVector<int> dpi = {12000, 200, 10};
        // What the module sets lands on the grid.
        QTest::addRow("between steps rounds") << dpi << 3206 << 3210 << 0 << 3210;
        QTest::addRow("below minimum") << dpi << 100 << 200 << 0 << 200;
        QTest::addRow("above maximum") << dpi << 20000 << 12000 << 0 << 12000;
        QTest::addRow("maximum off the grid") << QVector<int>{10, 0, 3} << 10 << 9 << 0 << 9;
        QTest::addRow("swapped range") << QVector<int>{200, 12000, 10} << 800 << 800 << 0 << 800;
        QTest::addRow("step zero is one") << QVector<int>{3, 1, 0} << 2 << 2 << 0 << 2;
        QTest::addRow("negative range") << QVector<int>{5, -5, 1} << -7 << -5 << 0 << -5;
        // What a person types moves it.
        QTest::addRow("right") << dpi << 800 << 800 << int(Qt::Key_Right) << 810;
        QTest::addRow("down") << dpi << 800 << 800 << int(Qt::Key_Down) << 790;
        QTest::addRow("page up") << dpi << 800 << 800 << int(Qt::Key_PageUp) << 1980;
        QTest::addRow("page down near the end")
            << dpi << 900 << 900 << int(Qt::Key_PageDown) << 200;
        QTest::addRow("home") << dpi << 800 << 800 << int(Qt::Key_Home) << 200;
        QTest::addRow("end") << dpi << 800 << 800 << int(Qt::Key_End) << 12000;
        QTest::addRow("right at the end") << dpi << 12000 << 12000 << int(Qt::Key_Right) << 12000;
        QTest::addRow("left at the start") << dpi << 200 << 200 << int(Qt::Key_Left) << 200;
        QTest::addRow("other key") << dpi << 800 << 800 << int(Qt::Key_A) << 800;
    }

    void slider_keeps_to_its_grid_and_reports_keys() {
        QFETCH(QVector<int>, range);
        QFETCH(int, start);
        QFETCH(int, shown);
        QFETCH(int, key);
        QFETCH(int, expected);
        owned<slider_c> slider(new slider_c);
        fake_slider_client client;
        slider->set_client(&client);
        slider->set_range(range[0], range[1], range[2]);
        slider->set_value(start);
        QCOMPARE(slider->value(), shown);
        QVERIFY(client.events.isEmpty()); // values the module sets are not reported back
        if (key)
            QTest::keyClick(slider->widget(), Qt::Key(key));
        QCOMPARE(slider->value(), expected);
        // Only a change is reported, and no press for keys.
        QCOMPARE(client.events, expected == shown
                                    ? QStringList()
                                    : QStringList{QStringLiteral("changed %1").arg(expected)});
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

    void slider_marks_wait_for_apply() {
        auto* holder = new QWidget;
        holder->setObjectName(QStringLiteral("wg_slider_3"));
        owned<slider_c> slider(new slider_c);
        slider->set_parent(holder);
        slider_widget_c* widget = slider->widget();
        QCOMPARE(widget->objectName(), QStringLiteral("sld_slider_3"));
        slider->add_mark(200, QStringLiteral("200"));
        slider->add_mark(12000, QStringLiteral("12000"));
        QVERIFY(widget->marks().isEmpty());
        slider->apply_marks();
        QCOMPARE(widget->marks().size(), 2);
        QCOMPARE(widget->marks().at(1).label, QStringLiteral("12000"));
        // Labels need room under the groove.
        const int with_labels = widget->sizeHint().height();
        slider->clear_marks();
        slider->apply_marks();
        QVERIFY(widget->marks().isEmpty());
        QVERIFY(widget->sizeHint().height() < with_labels);
        // The slider outlives its holder: no widget, nothing shown, nothing breaks.
        delete holder;
        QVERIFY(!slider->widget());
        slider->set_value(3);
        QCOMPARE(slider->value(), 0);
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

    // --- value controls ----------------------------------------------------

    void value_setup_and_set_value_clamp_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<QVector<int>>("setup"); // max, min, step
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QVector<int>>("range"); // max, min, step after setup
        const auto row = [](const char* name, int class_id, const QVector<int>& setup, int input,
                            int shown, const QVector<int>& range) {
            QTest::newRow(name) << class_id << setup << input << shown << range;
        };
        row("sensitivity above", 0x101, {5, -5, 1}, 9, 5, {5, -5, 1});
        row("sensitivity below", 0x101, {5, -5, 1}, -6, -5, {5, -5, 1});
        row("pointer as signed byte", 0x201, {5, -5, 1}, 0xFD, -3, {5, -5, 1});
        row("scroll below one", 0x301, {10, 1, 1}, 0, 1, {10, 1, 1});
        row("scroll byte is no sign", 0x301, {10, 1, 1}, 0xFD, 10, {10, 1, 1});
        row("swapped setup", 0x501, {1, 10, 1}, 7, 7, {10, 1, 1});
        row("step zero", 0x601, {10, 1, 0}, 4, 4, {10, 1, 1});
        row("step two", 0x601, {10, 2, 2}, 5, 6, {10, 2, 2});
        row("no setup", 0x501, {}, 11, 10, {10, 1, 1});
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

        // A new range pulls the value into it, from either side.
        value->setup(range[0] + 6, range[0] + 3, 1, 1);
        QCOMPARE(value->value(), range[0] + 3);
        value->setup(range[1] - 3, range[1] - 6, 1, 1);
        QCOMPARE(value->value(), range[1] - 3);
    }

    void value_changes_reach_listeners_with_the_shown_value_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key"); // 0: a click on the slider where `reported` sits
        QTest::addColumn<int>("reported");
        QTest::addRow("sensitivity to minimum") << 0x101 << 0 << 2 << int(Qt::Key_Home) << -5;
        QTest::addRow("sensitivity by mouse") << 0x101 << 0 << 0 << 0 << -4;
        QTest::addRow("pointer down") << 0x201 << 2 << -4 << int(Qt::Key_Left) << -5;
        QTest::addRow("vertical scroll") << 0x301 << 3 << 3 << int(Qt::Key_Right) << 4;
        QTest::addRow("horizontal scroll to max") << 0x501 << 4 << 3 << int(Qt::Key_End) << 10;
        QTest::addRow("double-click") << 0x601 << 5 << 5 << int(Qt::Key_Left) << 4;
    }

    void value_changes_reach_listeners_with_the_shown_value() {
        QFETCH(int, class_id);
        QFETCH(int, type);
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, reported);
        owned<value_ctrl_c> control(make_value_ctrl(class_id));
        auto* funcs = static_cast<ctrl_funcs_i*>(control.get());
        QCOMPARE(funcs->ctrl_type(), type);
        QCOMPARE(funcs->box_span(), 1);
        fake_listener page;
        fake_listener hub;
        fake_listener deaf(false);
        control->add_listener(&page);
        control->add_listener(&deaf);
        control->add_listener(&hub);
        control->setup(control->kind().max, control->kind().min, 1, 1);
        control->set_value(start);
        QVERIFY(page.changes.isEmpty()); // what the module sets is not reported

        stage_t stage(control->kind().box_height);
        control->create_box(stage.panel);
        QApplication::processEvents();
        auto* slider = child<slider_widget_c>(stage.panel, QStringLiteral("sld_value"));
        QVERIFY(slider);
        if (key)
            QTest::keyClick(slider, Qt::Key(key));
        else
            QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier,
                              slider->handle_centre(reported));
        const QVector<QPair<int32_t, int32_t>> expected{{type, reported}};
        QCOMPARE(page.changes, expected);
        QCOMPARE(hub.changes, expected);
        QVERIFY(deaf.changes.isEmpty());
        QCOMPARE(control->value(), reported);
        const QString shown = control->form()->value_label()->text();
        QCOMPARE(shown.startsWith(QChar(0x2212)), reported < 0); // a real minus sign
        QCOMPARE(QString(shown).remove(QChar(0x2212)).remove('+'), QString::number(qAbs(reported)));
    }

    void value_listeners_are_kept_once_and_told_of_closing() {
        auto* control = make_value_ctrl(0x301);
        auto* manager = static_cast<listener_mgr_i*>(control);
        fake_listener first;
        fake_listener second;
        fake_listener leaves;
        for (fake_listener* l : {&first, &first, &second, &leaves})
            control->add_listener(l);
        control->add_listener(nullptr);
        QCOMPARE(control->listeners(), (QVector<listener_i*>{&first, &second, &leaves}));
        control->remove_listener(&second);
        control->remove_listener(&second);
        QCOMPARE(control->listeners(), (QVector<listener_i*>{&first, &leaves}));

        // A listener may leave while the others hear a change.
        first.on_change = [&] {
            control->remove_listener(&leaves);
        };
        stage_t stage;
        control->create_box(stage.panel);
        QTest::keyClick(control->form()->slider(), Qt::Key_Right);
        QCOMPARE(first.changes.size(), 1);
        QVERIFY(second.changes.isEmpty());
        QVERIFY(leaves.changes.isEmpty());

        control->release();
        QCOMPARE(first.closing, QVector<listener_mgr_i*>{manager});
        QVERIFY(second.closing.isEmpty() && leaves.closing.isEmpty());
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

    void value_box_star_reset_and_panels() {
        owned<value_ctrl_c> control(make_value_ctrl(0x101));
        fake_kernel kernel;
        fake_page page;
        auto* funcs = static_cast<ctrl_funcs_i*>(control.get());
        QVERIFY(!funcs->is_favorite());
        // Without a kernel the mark is still kept.
        funcs->set_favorite(true);
        QVERIFY(funcs->is_favorite());
        funcs->set_favorite(false);
        funcs->set_context(&kernel, &page);
        funcs->set_favorite(false);
        QVERIFY(kernel.favourites.isEmpty());

        // The star tells the kernel, once per change.
        stage_t main_page(100);
        control->create_box(nullptr); // ignored
        QVERIFY(!control->box());
        funcs->create_box(main_page.panel);
        QCOMPARE(main_page.panel->property("changing_height").toInt(), 100);
        // Sensitivity has no option switches and no test area.
        QVERIFY(main_page.panel->findChildren<option_toggle_c*>().isEmpty());
        QVERIFY(!control->form()->test_area());
        ctrl_box_frame_c* frame = control->box()->frame();
        QTest::mouseClick(frame->favorite_button(), Qt::LeftButton);
        QVERIFY(funcs->is_favorite());
        funcs->set_favorite(true);
        QCOMPARE(kernel.favourites, (favourites_t{{true, funcs}}));
        QTest::mouseClick(frame->reset_button(), Qt::LeftButton);
        QCOMPARE(page.resets, QVector<ctrl_funcs_i*>{funcs});

        // Opening the favorites page builds the box there, marked; the old one goes.
        stage_t favourites(100);
        funcs->create_box(favourites.panel);
        QVERIFY(main_page.panel->findChildren<value_box_fm_c*>().isEmpty());
        QCOMPARE(favourites.panel->findChildren<ctrl_box_frame_c*>().size(), 1);
        frame = control->box()->frame();
        QVERIFY(frame->favorite_button()->isChecked());
        // The page refreshing the mark shows in the star, without a round trip.
        funcs->set_favorite(false);
        QVERIFY(!frame->favorite_button()->isChecked());
        QCOMPARE(kernel.favourites, (favourites_t{{true, funcs}, {false, funcs}}));

        funcs->close_box();
        QVERIFY(!control->box());
        QVERIFY(favourites.panel->findChildren<value_box_fm_c*>().isEmpty());
        funcs->close_box(); // nothing open: nothing happens
    }

    void value_box_takes_texts_from_the_host() {
        for (int32_t id = component_text::first; id <= component_text::last; ++id) {
            for (int32_t language : host_texts::languages())
                QVERIFY2(!host_texts::text(id, language).isEmpty(),
                         qPrintable(QStringLiteral("text %1, language %2").arg(id).arg(language)));
        }
        ctrl_center_c centre;
        module_host_c host(&centre);
        owned<value_ctrl_c> control(static_cast<value_ctrl_c*>(static_cast<ctrl_funcs_i*>(
            host.create_instance(class_id::pointer_speed_ctrl, iid_of<ctrl_funcs_i>::value))));
        QVERIFY(control);
        stage_t stage;
        control->create_box(stage.panel);
        ctrl_box_c* box = control->box();
        const auto text = [](int32_t id, int32_t language) {
            return host_texts::text(id, language);
        };
        const int32_t en = host_texts::english;
        QCOMPARE(box->title(), text(component_text::pointer_title, en));
        QCOMPARE(box->help_title(), box->title());
        QCOMPARE(box->help_text(), text(component_text::pointer_help, en));
        QCOMPARE(control->form()->option(0)->text(), text(component_text::pointer_precision, en));
        QCOMPARE(control->form()->option(1)->text(), text(component_text::pointer_snap, en));
        QCOMPARE(box->frame()->reset_button()->toolTip(), text(component_text::box_reset, en));
        // A language switch of the host reaches the open box.
        centre.set_language(host_texts::german);
        QCOMPARE(control->form()->option(1)->text(),
                 text(component_text::pointer_snap, host_texts::german));
    }

    void value_options_show_hub_bytes_and_switch_them_in_the_hub_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addRow("pointer precision") << 0x201 << 0 << "ckb_pointer_precision";
        QTest::addRow("pointer snap") << 0x201 << 1 << "ckb_pointer_snap";
        QTest::addRow("scroll by page") << 0x301 << 2 << "ckb_scroll_by_page";
    }

    void value_options_show_hub_bytes_and_switch_them_in_the_hub() {
        QFETCH(int, class_id);
        QFETCH(int, index);
        QFETCH(QString, name);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        ctrl_center_c centre;
        hub_c hub(folder.path());
        centre.set_hub(&hub);
        module_host_c host(&centre);
        QSignalSpy edits(host.components(), &component_context_c::user_changed);
        owned<value_ctrl_c> control(static_cast<value_ctrl_c*>(static_cast<ctrl_funcs_i*>(
            host.create_instance(class_id, iid_of<ctrl_funcs_i>::value))));
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
        // Scrolling by page leaves no line count to set.
        QCOMPARE(control->form()->slider()->isEnabled(), index != 2);
        set_byte(0);
        QVERIFY(!toggle->isChecked());
        QVERIFY(control->form()->slider()->isEnabled());
        QCOMPARE(edits.count(), 0);

        // The user's switch goes to the host, which keeps these bytes.
        QVERIFY(hub.set_value(index, 0));
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(control->option(index));
        QCOMPARE(hub.value(index), 1);
        QCOMPARE(edits.count(), 1);
    }

    void double_click_area_opens_on_a_double_click() {
        // The window shrinks with the speed, from 900 ms at 1 to 200 ms at 10.
        QCOMPARE(double_click_test_c::interval_ms(0), 900);
        QCOMPARE(double_click_test_c::interval_ms(1), 900);
        QCOMPARE(double_click_test_c::interval_ms(10), 200);
        QCOMPARE(double_click_test_c::interval_ms(11), 200);
        for (int speed = 1; speed < 10; ++speed)
            QVERIFY(double_click_test_c::interval_ms(speed) >
                    double_click_test_c::interval_ms(speed + 1));

        owned<value_ctrl_c> control(make_value_ctrl(0x601));
        // The slowest speed leaves plenty of time between two test clicks.
        control->set_value(1);
        stage_t stage(120);
        control->create_box(stage.panel);
        double_click_test_c* area = control->form()->test_area();
        QVERIFY(area);
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
};

QTEST_MAIN(test_components)
#include "test_components.moc"
