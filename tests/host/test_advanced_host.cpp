// koral's side of the advanced page: the four controls clamp what the module shows and
// report what a person does, the message box and the title component, and the device
// tab's reading of the lighting bytes (out-of-range ones too) and the effects it plays.
#include "host/components/advanced_ctrls.h"
#include "host/components/component_context.h"
#include "host/ctrl_center.h"
#include "host/mouse_lights_view.h"
#include "host/virtual_mouse.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Hears what the advanced page hears from its controls.
class ear final : public listener_i,
                  public value_ctrl_funcs_listener_i,
                  public adv_sen_ctrl_funcs_listener_i,
                  public reset_ctrl_funcs_listener_i,
                  public sound_feedback_ctrl_funcs_listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<listener_i>::value)
            return static_cast<listener_i*>(this);
        if (iid == iid_of<value_ctrl_funcs_listener_i>::value)
            return static_cast<value_ctrl_funcs_listener_i*>(this);
        if (iid == iid_of<adv_sen_ctrl_funcs_listener_i>::value)
            return static_cast<adv_sen_ctrl_funcs_listener_i*>(this);
        if (iid == iid_of<reset_ctrl_funcs_listener_i>::value)
            return static_cast<reset_ctrl_funcs_listener_i*>(this);
        if (iid == iid_of<sound_feedback_ctrl_funcs_listener_i>::value)
            return static_cast<sound_feedback_ctrl_funcs_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override { heard << QStringLiteral("closing"); }
    void update() override {}
    void value_changed(int32_t type, int32_t value) override { note("value", type, value); }
    void x_changed(int32_t value) override { note("x", value); }
    void y_changed(int32_t value) override { note("y", value); }
    void separate_changed(int32_t mode) override { note("separate", mode); }
    void reset_device() override { heard << QStringLiteral("reset"); }
    void switch_0_changed(bool on) override { note("switch 0", on); }
    void switch_1_changed(bool on) override { note("switch 1", on); }
    void switch_2_changed(bool on) override { note("switch 2", on); }
    void switch_3_changed(bool on) override { note("switch 3", on); }
    void switch_4_changed(bool on) override { note("switch 4", on); }
    void sound_reserved_7(int32_t) override {}
    void volume_changed(int32_t value) override { note("volume", value); }

    template <class... A>
    void note(const char* what, A... args) {
        QStringList parts{QLatin1String(what)};
        (parts.append(QString::number(int(args))), ...);
        heard << parts.join(QLatin1Char(' '));
    }
    QStringList heard;
};

} // namespace

class test_advanced_host : public QObject {
    Q_OBJECT

    ctrl_center_c m_centre;
    component_context_c m_context{&m_centre};
    QWidget m_panel;

private slots:
    void initTestCase() {
        m_panel.resize(486, 200);
        m_panel.show();
    }

    // What the module shows is clamped to what the control offers.
    void setters_show_the_nearest_choice_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("shown");
        QTest::addRow("polling index 40") << "polling" << 40 << 3;
        QTest::addRow("polling index -1") << "polling" << -1 << 0;
        QTest::addRow("polling index 1") << "polling" << 1 << 1;
        QTest::addRow("volume 255") << "volume" << 255 << 100;
        QTest::addRow("volume 30") << "volume" << 30 << 30;
        QTest::addRow("X 194 (byte 200)") << "x" << 194 << 5;
        QTest::addRow("Y -6 (byte 0)") << "y" << -6 << -5;
    }
    void setters_show_the_nearest_choice() {
        QFETCH(QString, call);
        QFETCH(int, value);
        if (call == QLatin1String("polling")) {
            polling_rate_ctrl_c ctrl(&m_context);
            ctrl.create_box(&m_panel);
            ctrl.set_value(value);
            QTEST(ctrl.value(), "shown");
            QVERIFY(ctrl.rate_button(ctrl.value())->isChecked());
        } else if (call == QLatin1String("volume")) {
            sound_feedback_ctrl_c ctrl(&m_context);
            ctrl.create_box(&m_panel);
            ctrl.set_volume(value);
            QTEST(ctrl.volume(), "shown");
            QTEST(ctrl.volume_slider()->value(), "shown");
        } else {
            adv_sen_ctrl_c ctrl(&m_context);
            ctrl.create_box(&m_panel);
            if (call == QLatin1String("x"))
                ctrl.set_x(value);
            else
                ctrl.set_y(value);
            QTEST(call == QLatin1String("x") ? ctrl.x() : ctrl.y(), "shown");
            QTEST(ctrl.slider(call == QLatin1String("x") ? 0 : 1)->value(), "shown");
        }
    }

    void controls_report_what_a_person_does() {
        ear listener;
        adv_sen_ctrl_c adv(&m_context);
        polling_rate_ctrl_c polling(&m_context);
        sound_feedback_ctrl_c sound(&m_context);
        for (listener_mgr_i* manager :
             {static_cast<listener_mgr_i*>(&adv), static_cast<listener_mgr_i*>(&polling),
              static_cast<listener_mgr_i*>(&sound)})
            manager->add_listener(&listener);
        adv.create_box(&m_panel);
        QVERIFY(!adv.slider(0)->isEnabled());
        QTest::mouseClick(adv.separate_switch(), Qt::LeftButton);
        QVERIFY(adv.slider(0)->isEnabled());
        QTest::keyClick(adv.slider(0), Qt::Key_Home);
        adv.close_box();
        polling.create_box(&m_panel);
        QTest::mouseClick(polling.rate_button(0), Qt::LeftButton);
        polling.close_box();
        sound.create_box(&m_panel);
        QTest::mouseClick(sound.toggle(3), Qt::LeftButton);
        QTest::keyClick(sound.volume_slider(), Qt::Key_End);
        QCOMPARE(listener.heard,
                 (QStringList{"separate 1", "x -5", "value 11 0", "switch 3 1", "volume 100"}));
        // Showing from the module reports nothing.
        sound.set_switch_2(true);
        adv.set_separate(false);
        QCOMPARE(listener.heard.size(), 5);
        QVERIFY(sound.switch_on(2));
    }

    void device_reset_asks_first_data() {
        QTest::addColumn<bool>("yes");
        QTest::addRow("confirmed") << true;
        QTest::addRow("declined") << false;
    }
    void device_reset_asks_first() {
        QFETCH(bool, yes);
        ear listener;
        device_reset_ctrl_c reset(&m_context);
        reset.add_listener(&listener);
        reset.create_box(&m_panel);
        QTimer::singleShot(0, [&reset, yes] {
            QVERIFY(reset.confirmation());
            (yes ? reset.confirmation()->ok_button() : reset.confirmation()->cancel_button())
                ->click();
        });
        QTest::mouseClick(reset.reset_button(), Qt::LeftButton);
        QCOMPARE(listener.heard, yes ? QStringList{"reset"} : QStringList{});
        QVERIFY(!reset.confirmation());
    }

    void message_box_shows_the_callers_texts() {
        message_box_c box(&m_context);
        QStringList seen;
        QTimer::singleShot(0, [&box, &seen] {
            dialog_frame_c* dialog = box.open_dialog();
            QVERIFY(dialog);
            for (QLabel* label : dialog->findChildren<QLabel*>())
                seen << label->text();
            seen << dialog->ok_button()->text() << dialog->cancel_button()->text();
            box.close_box(); // as the module does when its form goes
        });
        QCOMPARE(box.run("Title", "Message", "Question", "YES", "NO", 0), 0);
        QVERIFY(seen.contains("TITLE") && seen.contains("Message") && seen.contains("Question"));
        QVERIFY(seen.contains("YES") && seen.contains("NO"));
        QTimer::singleShot(0, [&box] { box.open_dialog()->ok_button()->click(); });
        QCOMPARE(box.run("T", "M", QString(), "YES", "NO", 0), 1);
    }

    void title_component_fills_its_place() {
        title_component_c title(&m_context);
        QWidget place;
        title.set_texts("SURFACE TUNER", "Tune the sensor");
        title.attach(&place);
        QCOMPARE(title.widget()->parentWidget(), &place);
        QCOMPARE(title.title_label()->text(), QStringLiteral("SURFACE TUNER"));
        QCOMPARE(title.description_label()->text(), QStringLiteral("Tune the sensor"));
        QVERIFY(!title.presets()); // a title alone has no preset list
        title.attach(nullptr);
        QVERIFY(!title.widget()->parentWidget());
        QVERIFY(!place.findChild<QLabel*>());
    }

    // The device's reading of bytes 19..30: lit bits, effect, speed, flow, two zones.
    void lighting_bytes_as_the_device_reads_them_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("flow");
        QTest::addColumn<QColor>("top");
        QTest::addColumn<QColor>("bottom");
        QTest::addRow("slot 0 default")
            << QByteArray("\x03\x01\x03\x02\x01\x00\x64\xFA\x01\x00\x64\xFA", 12) << true << 3 << 2
            << 1 << QColor(255, 0, 0) << QColor(255, 0, 0);
        QTest::addRow("top zone in its own RGB, bottom standard 16")
            << QByteArray("\x11\x00\x01\x01\x05\x0A\x14\x1E\x10\x00\x00\x00", 12) << true << 1 << 1
            << 0 << QColor(10, 20, 30) << QColor(41, 197, 255);
        QTest::addRow("lights off keeps the colours")
            << QByteArray("\x30\x00\x02\x03\x00\x01\x02\x03\x00\x04\x05\x06", 12) << false << 2 << 3
            << 0 << QColor(1, 2, 3) << QColor(4, 5, 6);
        QTest::addRow("out of range: effect 9, speed 200, flow 7, index 99")
            << QByteArray("\x02\x07\x09\xC8\x63\x00\x00\x00\x63\x00\x00\x00", 12) << true << 4 << 3
            << 0 << QColor(217, 10, 125) << QColor(217, 10, 125);
    }
    void lighting_bytes_as_the_device_reads_them() {
        QFETCH(QByteArray, bytes);
        QByteArray settings(33, '\0');
        settings.replace(19, bytes.size(), bytes);
        const device_lights_t lights = device_lights_t::from_settings(
            reinterpret_cast<const uint8_t*>(settings.constData()), settings.size());
        QTEST(lights.on, "on");
        QTEST(int(lights.effect), "effect");
        QTEST(int(lights.speed), "speed");
        QTEST(int(lights.flow), "flow");
        QTEST(lights.top, "top");
        QTEST(lights.bottom, "bottom");
        // A record too short to hold the lighting bytes reads as lights off.
        QVERIFY(!device_lights_t::from_settings(
                     reinterpret_cast<const uint8_t*>(settings.constData()), 25)
                     .on);
    }

    // Brightness through one period of each effect, at eighths of the period.
    void effects_play_data() {
        QTest::addColumn<int>("effect");
        QTest::addColumn<QString>("levels");
        QTest::addRow("fully lit") << 1 << "1 1 1 1 1 1 1 1";
        QTest::addRow("blinking: on for half, off for half") << 2 << "1 1 1 1 0 0 0 0";
        QTest::addRow("breathing: dark, up, full at half, down")
            << 3 << "0 0.15 0.5 0.85 1 0.85 0.5 0.15";
        QTest::addRow("heartbeat: two beats, then rest") << 4 << "0 0.33 0.62 0 0 0 0 0";
    }
    void effects_play() {
        QFETCH(int, effect);
        device_lights_t lights;
        lights.on = true;
        lights.effect = effect;
        lights.speed = 2;
        QStringList levels;
        for (int eighth = 0; eighth < 8; ++eighth)
            levels << QString::number(
                qRound(lights.brightness(lights.period_ms() * eighth / 8) * 100) / 100.0);
        QTEST(levels.join(QLatin1Char(' ')), "levels");
        lights.on = false;
        QCOMPARE(lights.brightness(lights.period_ms() / 2), 0.0);
    }

    void colour_flow_walks_the_standard_colours() {
        device_lights_t lights;
        lights.on = true;
        lights.top = Qt::white;
        lights.bottom = Qt::white;
        const int period = lights.period_ms();
        lights.flow = 0;
        QCOMPARE(lights.colours(5 * period)[0], QColor(Qt::white));
        lights.flow = 1;
        QCOMPARE(lights.colours(0)[0], QColor(179, 0, 0));
        QCOMPARE(lights.colours(period)[1], QColor(255, 0, 0));
        lights.flow = 2; // the light pipe one colour ahead
        QCOMPARE(lights.colours(0)[1], QColor(255, 0, 0));
        lights.flow = 3; // the logo one colour ahead
        QCOMPARE(lights.colours(0)[0], QColor(255, 0, 0));
        QCOMPARE(lights.colours(29 * period)[0], QColor(179, 0, 0)); // wraps after colour 29
    }

    void card_sets_the_calibration_answer() {
        QTemporaryDir dir;
        virtual_mouse_c mouse(&m_centre, product_type::black, QStringLiteral("QuilBlack"),
                              dir.path());
        device_lights_card_c card([](int32_t id) { return QString::number(id); });
        card.set_mouse(&mouse);
        QVERIFY(mouse.calibration_outcome());
        card.outcome_box()->setCurrentIndex(1);
        emit card.outcome_box()->activated(1);
        QVERIFY(!mouse.calibration_outcome());
        // A device without memory shows dark lights.
        QVERIFY(!card.view()->lights().on);
    }
};

QTEST_MAIN(test_advanced_host)
#include "test_advanced_host.moc"
