// The host components (control box, slider, the five value controls), driven
// through their interfaces and by real input on their widgets.
#include "fake_kernel.h"

#include "host/components/colour_flow_list.h"
#include "host/components/component_context.h"
#include "host/components/component_style.h"
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
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A control as the box sees it; it answers only the faces it is given.
class fake_box_client : public ctrl_funcs_i, public ctrl_funcs_box_fm_client_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value)
            return static_cast<ctrl_funcs_i*>(this);
        if (funcs && iid == iid_of<ctrl_funcs_i>::value)
            return static_cast<ctrl_funcs_i*>(this);
        if (reset && iid == iid_of<ctrl_funcs_box_fm_client_i>::value)
            return static_cast<ctrl_funcs_box_fm_client_i*>(this);
        return nullptr;
    }
    void release() override {}
    void set_context(product_kernel_i*, product_function_page_i*) override {}
    void create_box(QWidget*) override {}
    void close_box() override {}
    int32_t ctrl_type() override { return 99; }
    bool is_favorite() override { return false; }
    void set_favorite(bool on) override {
        calls.append(QStringLiteral("set_favorite(%1)").arg(on));
        if (on_favorite)
            on_favorite();
    }
    int32_t box_span() override { return 1; }
    void favorite_changed() override {}
    void reset_requested() override { calls.append(QStringLiteral("reset_requested")); }

    QStringList calls;
    std::function<void()> on_favorite;
    bool funcs = true;
    bool reset = true;
};

// Hears value changes when it answers value_ctrl_funcs_listener_i.
class fake_listener : public listener_i, public value_ctrl_funcs_listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<listener_i>::value)
            return static_cast<listener_i*>(this);
        if (values && iid == iid_of<value_ctrl_funcs_listener_i>::value)
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
    bool values = true;
};

// Records what a slider tells its client, with the slider's value at the time.
class fake_slider_client : public slider_client_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_of<interface_i>::value || iid == iid_of<slider_client_i>::value ? this
                                                                                          : nullptr;
    }
    void release() override {}
    void slider_value_changed(slider_i* slider) override { note("changed", slider); }
    void slider_pressed(slider_i* slider) override { note("pressed", slider); }
    void note(const char* what, slider_i* slider) {
        events.append(QStringLiteral("%1 %2").arg(what).arg(slider->value()));
        if (on_event)
            on_event(slider);
    }

    QStringList events;
    std::function<void(slider_i*)> on_event;
};

// Hears the colour-flow list's choices; may release the list while it hears one.
class fake_list_client : public combobox_fm_client_i {
public:
    interface_i* query_interface(const GUID&) override { return nullptr; }
    void release() override {}
    void item_chosen(colour_flow_list_i* list, int32_t index) override {
        chosen.append(index);
        if (release_list)
            list->release();
    }
    QVector<int> chosen;
    bool release_list = false;
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

    void host_answers_component_classes_by_interface() {
        struct row_t {
            int32_t class_id;
            const GUID& iid;
            bool answered;
        };
        const row_t rows[] = {
            {0x2A01, iid_of<ctrl_box_i>::value, true},
            {0x2A01, iid_of<slider_i>::value, false},
            {0x0401, iid_of<slider_i>::value, true},
            {0x0101, iid_of<ctrl_funcs_box_fm_client_i>::value, true},
            {0x0101, iid_of<pointer_speed_ctrl_i>::value, false},
            {0x0201, iid_of<pointer_speed_ctrl_i>::value, true},
            {0x0301, iid_of<v_scroll_ctrl_i>::value, true},
            {0x1A01, iid_of<colour_flow_list_i>::value, true},
            {0x0701, iid_of<ctrl_funcs_i>::value, false}, // no such class
        };
        ctrl_center_c centre;
        module_host_c host(&centre);
        for (const row_t& row : rows) {
            interface_i* object = host.create_instance(row.class_id, row.iid);
            QCOMPARE(object != nullptr, row.answered);
            if (!object)
                continue;
            QCOMPARE(object->query_interface(row.iid), object);
            QVERIFY(same_object(query<interface_i>(object), object));
            object->release();
        }
    }

    // The list opens from its anchor (click, Alt+Down or F4), the keyboard or the mouse
    // chooses, Escape leaves without a choice.
    void colour_flow_list_is_a_drop_down_data() {
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QVector<int>>("keys");
        QTest::addColumn<int>("row_clicked");
        QTest::addColumn<QVector<int>>("chosen");
        QTest::addRow("click, down, enter")
            << "click" << QVector<int>{Qt::Key_Down, Qt::Key_Return} << -1 << QVector<int>{2};
        QTest::addRow("alt+down, escape")
            << "alt+down" << QVector<int>{Qt::Key_Escape} << -1 << QVector<int>{};
        QTest::addRow("F4, home, space")
            << "F4" << QVector<int>{Qt::Key_Home, Qt::Key_Space} << -1 << QVector<int>{0};
        QTest::addRow("down past the end stays on the last")
            << "click" << QVector<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Enter}
            << -1 << QVector<int>{3};
        QTest::addRow("mouse on the last row") << "click" << QVector<int>{} << 3 << QVector<int>{3};
    }
    void colour_flow_list_is_a_drop_down() {
        QFETCH(QString, opening);
        QFETCH(QVector<int>, keys);
        QFETCH(int, row_clicked);
        stage_t stage;
        auto* anchor = new QPushButton(QStringLiteral("flow"), stage.panel);
        anchor->setObjectName(QStringLiteral("btn_effect"));
        anchor->setGeometry(10, 10, 200, 30);
        component_context_c context;
        QSignalSpy edits(&context, &component_context_c::user_changed);
        auto* list = new colour_flow_list_c(&context);
        fake_list_client client;
        list->attach(anchor, &client);
        for (int i = 0; i < 4; ++i)
            list->set_text(i, QStringLiteral("item %1").arg(i));
        list->select(1);

        if (opening == QLatin1String("click"))
            QTest::mouseClick(anchor, Qt::LeftButton);
        else if (opening == QLatin1String("alt+down"))
            QTest::keyClick(anchor, Qt::Key_Down, Qt::AltModifier);
        else
            QTest::keyClick(anchor, Qt::Key_F4);
        colour_flow_popup_c* popup = list->popup();
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(popup->items(), list->items());
        QCOMPARE(popup->highlighted(), 1);
        QVERIFY(popup->width() >= anchor->width());
        for (int key : keys)
            QTest::keyClick(popup, Qt::Key(key));
        if (row_clicked >= 0) {
            const QPoint at(popup->width() / 2, 5 + row_clicked * colour_flow_popup_c::row_height +
                                                    colour_flow_popup_c::row_height / 2);
            QTest::mouseMove(popup, at);
            QTest::mouseClick(popup, Qt::LeftButton, {}, at);
        }
        QVERIFY(!popup->isVisible());
        QFETCH(QVector<int>, chosen);
        QCOMPARE(client.chosen, chosen);
        QCOMPARE(list->current_index(), chosen.isEmpty() ? 1 : chosen.last());
        QCOMPARE(edits.count(), chosen.size());
        list->release();
    }

    // What the module asks outside the list's items changes nothing.
    void colour_flow_list_refuses_items_it_cannot_hold() {
        auto* list = new colour_flow_list_c;
        for (int i = 0; i < 4; ++i)
            list->set_text(i, QString::number(i));
        // Each refusal is written to the host's log.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("item -1 is outside"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("item 64 is outside"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("item 4 to select does not exist"));
        list->set_text(-1, QStringLiteral("x"));
        list->set_text(colour_flow_list_c::max_items, QStringLiteral("x"));
        list->select(2);
        list->select(4);
        QCOMPARE(list->items(), (QStringList{"0", "1", "2", "3"}));
        QCOMPARE(list->current_index(), 2);
        QCOMPARE(list->text(9), QString());
        // A client that lets go of the list while it hears of a choice.
        QPushButton anchor;
        fake_list_client client;
        client.release_list = true;
        QPointer<colour_flow_list_c> guard(list);
        list->attach(&anchor, &client);
        list->open();
        list->choose(3);
        flush_deletions();
        QVERIFY(!guard);
        QCOMPARE(client.chosen, QVector<int>{3});
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
        fake_box_client client;
        client.funcs = funcs;
        client.reset = reset;
        owned<ctrl_box_c> box(new ctrl_box_c);
        if (funcs || reset)
            box->set_client(static_cast<ctrl_funcs_i*>(&client));
        box->attach(stage.panel, nullptr);
        QToolButton* star = box->frame()->favorite_button();
        box->set_favorite_mark(true);
        QVERIFY(star->isChecked());
        QVERIFY(client.calls.isEmpty()); // the control's own mark does not call back
        box->set_favorite_mark(false);

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

    void box_frames_the_form_and_leaves_it_to_its_owner_data() {
        QTest::addColumn<bool>("made_in_panel");
        QTest::addColumn<bool>("panel_layout");
        QTest::addRow("form made in the panel") << true << false;
        QTest::addRow("form made elsewhere") << false << false;
        QTest::addRow("panel with a column layout of its own") << true << true;
    }

    void box_frames_the_form_and_leaves_it_to_its_owner() {
        QFETCH(bool, made_in_panel);
        QFETCH(bool, panel_layout);
        stage_t stage(346);
        QWidget home;
        if (panel_layout)
            new QVBoxLayout(stage.panel);
        QPointer<QLabel> form = new QLabel(made_in_panel ? stage.panel : &home);
        QWidget* const home_of_form = form->parentWidget();
        auto* box = new ctrl_box_c;
        box->set_height(346);
        for (int round = 0; round < 2; ++round) {
            box->attach(stage.panel, form);
            QPointer<ctrl_box_frame_c> frame = box->frame();
            QVERIFY(frame && form->isVisible());
            QVERIFY(stage.panel->isAncestorOf(form) && stage.panel->isAncestorOf(frame));
            // The page's column layout sizes the panel from this.
            QCOMPARE(stage.panel->property("changing_height").toInt(), 346);
            // Whatever holds the form, it shows inside the frame, below the title bar, and
            // is drawn after the frame's background.
            stage.panel->layout()->activate();
            const QRect body = QRect(frame->mapTo(stage.panel, QPoint(0, 0)), frame->size())
                                   .marginsRemoved(ctrl_box_frame_c::form_margins());
            const QRect shown(form->mapTo(stage.panel, QPoint(0, 0)), form->size());
            QCOMPARE(shown, body);
            form->setStyleSheet(QStringLiteral("background: #ff0000;"));
            QImage red(stage.panel->size(), QImage::Format_ARGB32);
            stage.panel->render(&red);
            QCOMPARE(red.pixelColor(body.center()), QColor(Qt::red));
            form->setStyleSheet(QString());

            // The module destroys its form; until then it is back where it was, hidden,
            // and the panel is as the box found it.
            box->detach();
            QVERIFY(!frame && !box->frame());
            QCOMPARE(form->parentWidget(), home_of_form);
            QVERIFY(!form->isVisible());
            QCOMPARE(stage.panel->layout() != nullptr, panel_layout);
            QVERIFY(!panel_layout || stage.panel->layout()->count() == 0);
        }
        box->attach(stage.panel, form);
        box->release();
        QVERIFY(form);
        QCOMPARE(form->parentWidget(), home_of_form);
    }

    void box_restyles_children_shown_before_their_form_had_its_sheet() {
        // koral's window carries a style sheet; a form that shows a child while it is
        // built, and gets its own sheet after, must still show that child in its sheet.
        stage_t stage;
        stage.window.setStyleSheet(QStringLiteral("QLabel { color: #c9ccd1; }"));
        auto* form = new QWidget(stage.panel);
        auto* early = new QLabel(QStringLiteral("hint"), form);
        auto* late = new QLabel(QStringLiteral("value"), form);
        early->show();
        form->setStyleSheet(QStringLiteral("QLabel { font-size: 11px; color: #7d828a; }"));
        auto* box = new ctrl_box_c;
        box->attach(stage.panel, form);
        for (QLabel* label : {early, late}) {
            QCOMPARE(label->font().pixelSize(), 11);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0x7d, 0x82, 0x8a));
        }
        box->release();
    }

    void box_frame_outline_follows_its_size() {
        // Frames of one size share one painted background; a frame of another size
        // must not get it.
        const QColor border(0x2a, 0x2e, 0x35);
        for (const int height : {300, 120, 300}) {
            ctrl_box_frame_c frame;
            frame.resize(400, height);
            QImage picture(frame.size(), QImage::Format_ARGB32);
            picture.fill(Qt::black);
            frame.render(&picture);
            QCOMPARE(picture.pixelColor(200, height - 1), border);
            QVERIFY(picture.pixelColor(200, height - 2) != border);
            QCOMPARE(picture.pixelColor(200, 0), border);
        }
    }

    void box_frame_background_is_cut_exactly_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("cut");
        QTest::newRow("wide") << QSize(400, 300) << qreal(1) << true;
        QTest::newRow("odd width, short") << QSize(237, 61) << qreal(1) << true;
        QTest::newRow("one middle column") << QSize(29, 120) << qreal(1) << true;
        QTest::newRow("one middle piece") << QSize(156, 120) << qreal(1) << true;
        QTest::newRow("piece and one column") << QSize(157, 77) << qreal(1) << true;
        QTest::newRow("too narrow to cut") << QSize(20, 120) << qreal(1) << false;
        QTest::newRow("double pixels") << QSize(311, 140) << qreal(2) << true;
        QTest::newRow("fractional pixels") << QSize(300, 140) << qreal(1.5) << false;
    }
    void box_frame_background_is_cut_exactly() {
        // The frame is drawn from a narrow kept picture: pixel for pixel the shape
        // painted whole at the size.
        QFETCH(QSize, size);
        QFETCH(qreal, ratio);
        QFETCH(bool, cut);
        QPixmapCache::clear();
        QImage drawn(size * ratio, QImage::Format_ARGB32_Premultiplied);
        drawn.setDevicePixelRatio(ratio);
        drawn.fill(Qt::transparent);
        QPainter p(&drawn);
        ctrl_box_frame_c::paint_background(&p, size, ratio);
        p.end();
        const QImage whole = ctrl_box_frame_c::background(size, ratio)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(drawn.size(), whole.size());
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                if (drawn.pixel(x, y) != whole.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2: %3 instead of %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(drawn.pixel(x, y), 8, 16)
                                         .arg(whole.pixel(x, y), 8, 16)));
            }
        }
        // What is kept for the height is narrow whatever the box's width.
        QPixmap kept;
        QCOMPARE(QPixmapCache::find(
                     QStringLiteral("ctrl_box_frame/%1@%2").arg(size.height()).arg(qRound(ratio)),
                     &kept),
                 cut);
        if (cut)
            QVERIFY(kept.width() <= 160 * ratio);
    }

    void slider_fill_follows_value_and_state() {
        // The groove and its filled part are painted once per size and look; a slider
        // moved or disabled must still show its own fill.
        slider_widget_c slider;
        slider.set_range(10, 0, 1);
        slider.resize(240, 40);
        const auto colour_at = [&slider](int value, bool enabled, int probe) {
            slider.set_value(value);
            slider.setEnabled(enabled);
            QImage picture(slider.size(), QImage::Format_ARGB32);
            picture.fill(Qt::black);
            slider.render(&picture);
            return picture.pixelColor(slider.handle_centre(probe));
        };
        const QColor filled = colour_at(8, true, 5);
        const QColor empty = colour_at(2, true, 5);
        const QColor filled_off = colour_at(8, false, 5);
        QVERIFY(filled != empty);
        QVERIFY(filled_off != filled && filled_off != empty);
        QCOMPARE(colour_at(8, true, 5), filled);
        QCOMPARE(colour_at(2, true, 5), empty);
    }

    void slider_mark_labels_follow_text_and_colour() {
        // Mark labels are drawn from kept pictures; another text (a language switch) or
        // another colour must show, and the first must look as it did.
        slider_widget_c slider;
        slider.set_range(10, 0, 1);
        slider.resize(240, 50);
        const auto shot = [&slider](const QString& label, const QColor& colour) {
            slider.set_marks({{0, label}, {10, QStringLiteral("10")}});
            slider.set_text_colour(colour);
            QImage picture(slider.size(), QImage::Format_ARGB32);
            picture.fill(Qt::black);
            slider.render(&picture);
            return picture;
        };
        const QImage low = shot(QStringLiteral("LOW"), Qt::white);
        const QImage other = shot(QStringLiteral("LANGSAM"), Qt::white);
        const QImage red = shot(QStringLiteral("LOW"), Qt::red);
        QVERIFY(other != low);
        QVERIFY(red != low);
        QCOMPARE(shot(QStringLiteral("LOW"), Qt::white), low);
    }

    void glyphs_are_kept_per_kind_and_size() {
        using component_style::glyph;
        using component_style::glyph_t;
        const QImage sight = glyph(glyph_t::sensitivity, 24).toImage();
        QVERIFY(glyph(glyph_t::pointer, 24).toImage() != sight);
        QCOMPARE(glyph(glyph_t::sensitivity, 16).toImage().size() * 24 / 16, sight.size());
        QCOMPARE(glyph(glyph_t::sensitivity, 24).toImage(), sight);
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
        const int clicked = slider->value();
        QVERIFY2(qAbs(clicked - 6000) <= 100, qPrintable(QString::number(clicked)));
        QCOMPARE(client.events,
                 QStringList({"pressed 200", QStringLiteral("changed %1").arg(clicked)}));
        // Dragging past the far end stops at the maximum.
        const QPoint beyond(widget->width() + 50, target.y()); // a move with the button held
        QMouseEvent drag(QEvent::MouseMove, beyond, widget->mapToGlobal(beyond), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &drag);
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, target);
        QCOMPARE(client.events.last(), QStringLiteral("changed 12000"));

        // A press on the handle itself changes nothing; disabled, it takes no input.
        client.events.clear();
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->handle_centre(12000));
        slider->set_enabled(false);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->handle_centre(800));
        QTest::keyClick(widget, Qt::Key_Left);
        QCOMPARE(client.events, QStringList({"pressed 12000"}));
        QCOMPARE(slider->value(), 12000);

        // Half wheel notches add up before they move it.
        slider->set_enabled(true);
        for (int half = 0; half < 2; ++half) {
            QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -60), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(widget, &wheel);
            QCOMPARE(client.events.size(), 1 + half);
        }
        QCOMPARE(client.events.last(), QStringLiteral("changed 11990"));
    }

    void slider_keeps_to_its_grid_and_reports_keys_data() {
        QTest::addColumn<QVector<int>>("range"); // max, min, step
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("key"); // 0: none
        QTest::addColumn<int>("expected");
        const QVector<int> dpi = {12000, 200, 10};
        QTest::addRow("between steps rounds") << dpi << 3206 << 3210 << 0 << 3210;
        QTest::addRow("below minimum") << dpi << 100 << 200 << 0 << 200;
        QTest::addRow("maximum off the grid") << QVector<int>{10, 0, 3} << 10 << 9 << 0 << 9;
        QTest::addRow("swapped range") << QVector<int>{200, 12000, 10} << 800 << 800 << 0 << 800;
        QTest::addRow("step zero is one") << QVector<int>{3, 1, 0} << 2 << 2 << 0 << 2;
        QTest::addRow("right") << dpi << 800 << 800 << int(Qt::Key_Right) << 810;
        QTest::addRow("page up") << dpi << 800 << 800 << int(Qt::Key_PageUp) << 1980;
        QTest::addRow("right at the end") << dpi << 12000 << 12000 << int(Qt::Key_Right) << 12000;
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
        QTest::keyClick(slider->widget(), Qt::Key_Right);
        QCOMPARE(edits.count(), 1);

        owned<value_ctrl_c> control(make_value_ctrl(0x501, &context));
        control->set_value(2);
        stage_t stage;
        control->create_box(stage.panel);
        QCOMPARE(edits.count(), 1);
        QTest::keyClick(control->form()->slider(), Qt::Key_Right);
        QTest::mouseClick(control->box()->frame()->favorite_button(), Qt::LeftButton);
        QCOMPARE(edits.count(), 3);
    }

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
        row("pointer as signed byte", 0x201, {5, -5, 1}, 0xFD, -3, {5, -5, 1});
        row("scroll byte is no sign", 0x301, {10, 1, 1}, 0xFD, 10, {10, 1, 1});
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
    }

    void value_changes_reach_listeners_with_the_shown_value_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("reported");
        QTest::addRow("sensitivity to minimum") << 0x101 << 0 << 2 << int(Qt::Key_Home) << -5;
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
        // The listeners outlive the control: its destruction tells those still registered.
        fake_listener page;
        fake_listener hub;
        fake_listener deaf;
        deaf.values = false;
        owned<value_ctrl_c> control(make_value_ctrl(class_id));
        QCOMPARE(static_cast<ctrl_funcs_i*>(control.get())->ctrl_type(), type);
        for (fake_listener* l : {&page, &deaf, &hub, &page})
            control->add_listener(l);
        QCOMPARE(control->listeners(), (QVector<listener_i*>{&page, &deaf, &hub}));
        control->setup(control->kind().max, control->kind().min, 1, 1);
        control->set_value(start);
        QVERIFY(page.changes.isEmpty()); // what the module sets is not reported

        stage_t stage(control->kind().box_height);
        control->create_box(stage.panel);
        QApplication::processEvents();
        auto* slider = stage.panel->findChild<slider_widget_c*>(QStringLiteral("sld_value"));
        QVERIFY(slider);
        QTest::keyClick(slider, Qt::Key(key));
        const QVector<QPair<int32_t, int32_t>> expected{{type, reported}};
        QCOMPARE(page.changes, expected);
        QCOMPARE(hub.changes, expected);
        QVERIFY(deaf.changes.isEmpty());
        // What is reported is what is shown, with a real minus sign.
        QCOMPARE(control->form()->value_label()->text().replace(QChar(0x2212), '-').remove('+'),
                 QString::number(reported));
    }

    void value_control_released_by_a_listener() {
        auto* control = make_value_ctrl(0x101);
        auto* manager = static_cast<listener_mgr_i*>(control);
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
        QCOMPARE(page.closing, QVector<listener_mgr_i*>{manager});
    }

    void value_options_show_hub_bytes_and_switch_them_in_the_hub_data() {
        QTest::addColumn<int>("class_id");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("text");
        QTest::addRow("pointer snap")
            << 0x201 << 1 << "ckb_pointer_snap" << int(component_text::pointer_snap);
        QTest::addRow("scroll by page")
            << 0x301 << 2 << "ckb_scroll_by_page" << int(component_text::v_scroll_by_page);
    }

    void value_options_show_hub_bytes_and_switch_them_in_the_hub() {
        QFETCH(int, class_id);
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(int, text);
        ctrl_center_c centre;
        hub_c hub{QString()};
        centre.set_hub(&hub);
        module_host_c host(&centre);
        QSignalSpy edits(host.components(), &component_context_c::user_changed);
        owned<value_ctrl_c> control(static_cast<value_ctrl_c*>(static_cast<ctrl_funcs_i*>(
            host.create_instance(class_id, iid_of<ctrl_funcs_i>::value))));
        auto* funcs = static_cast<ctrl_funcs_i*>(control.get());
        auto set_byte = [&](uint8_t value) {
            index == 1 ? query<pointer_speed_ctrl_i>(funcs)->set_hub_byte_1(value)
                       : query<v_scroll_ctrl_i>(funcs)->set_hub_byte_2(value);
        };
        set_byte(1);
        stage_t stage(150);
        control->create_box(stage.panel);
        auto* toggle = stage.panel->findChild<option_toggle_c*>(name);
        QVERIFY(toggle && toggle->isChecked());
        // Scrolling by page leaves no line count to set.
        QCOMPARE(control->form()->slider()->isEnabled(), index != 2);
        set_byte(0);
        QVERIFY(!toggle->isChecked());
        QCOMPARE(edits.count(), 0);

        // The user's switch goes to the host, which keeps these bytes.
        QVERIFY(hub.set_value(index, 0));
        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(hub.value(index), 1);
        QCOMPARE(edits.count(), 1);
        // The host's texts, and a switch of its language reaches the open box.
        centre.set_language(host_texts::german);
        QCOMPARE(toggle->text(), host_texts::text(text, host_texts::german));
    }

    void component_texts_exist_in_every_language() {
        for (int32_t id = component_text::first; id <= component_text::last; ++id) {
            for (int32_t language : host_texts::languages())
                QVERIFY2(!host_texts::text(id, language).isEmpty(),
                         qPrintable(QStringLiteral("text %1, language %2").arg(id).arg(language)));
        }
    }

    void double_click_window_follows_the_speed() {
        // From 900 ms at speed 1 to 200 ms at 10; speeds outside that are clamped.
        for (const auto& [speed, ms] : {std::pair{0, 900}, {1, 900}, {10, 200}, {11, 200}})
            QCOMPARE(double_click_test_c::interval_ms(speed), ms);
        QVERIFY(double_click_test_c::interval_ms(5) < 900);
    }
};

QTEST_MAIN(test_components)
#include "test_components.moc"
