// The advanced page with koral's real controls: which controls it makes, what every
// report writes into the profile set, the defaults a reset writes per slot, what a
// refresh shows of stored bytes (out-of-range ones too), its form, and a host that
// lacks some of its components.
#include "advanced_rig.h"
#include "common/utilities.h"
#include "host/components/advanced_ctrls.h"
#include "host/components/ctrl_box.h"
#include "lighting/lighting_ctrl_funcs.h"
#include "pages/advanced_ctrl.h"
#include "pages/advanced_ctrl_fm.h"

#include <QRadioButton>
#include <QTimer>
#include <QtTest>

namespace {

QByteArray bytes_of(const uint8_t* at, int count) {
    return QByteArray(reinterpret_cast<const char*>(at), count);
}

// The sensitivity bytes of slot 0: mode, X, Y, remembered single, X, Y.
QByteArray sensitivity_bytes(zarek_data_c* d) {
    profile_settings_rec& s = d->settings(0);
    profile_aux_rec& a = d->aux(0);
    const uint8_t b[] = {s.adv_sensitivity_mode(), s.sensitivity_x(),     s.sensitivity_y(),
                         a.single_sensitivity(),   a.adv_sensitivity_x(), a.adv_sensitivity_y()};
    return bytes_of(b, 6);
}

void set_sensitivity_bytes(zarek_data_c* d, const QByteArray& b) {
    d->settings(0).adv_sensitivity_mode() = uint8_t(b[0]);
    d->settings(0).sensitivity_x() = uint8_t(b[1]);
    d->settings(0).sensitivity_y() = uint8_t(b[2]);
    d->aux(0).single_sensitivity() = uint8_t(b[3]);
    d->aux(0).adv_sensitivity_x() = uint8_t(b[4]);
    d->aux(0).adv_sensitivity_y() = uint8_t(b[5]);
}

QByteArray six(int a, int b, int c, int d, int e, int f) {
    const char bytes[] = {char(a), char(b), char(c), char(d), char(e), char(f)};
    return QByteArray(bytes, 6);
}

// Answers the device reset's confirmation as soon as it is open.
void answer_next_dialog(bool yes) {
    QTimer::singleShot(0, [yes] {
        auto* dialog = qobject_cast<dialog_frame_c*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        (yes ? dialog->ok_button() : dialog->cancel_button())->click();
    });
}

} // namespace

class test_advanced_page : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init_makes_four_host_controls_then_its_own() {
        advanced_rig rig;
        QList<int32_t> asked;
        for (int32_t id : rig.host.created) {
            if (id == class_id::adv_sen_ctrl || id == class_id::polling_rate_ctrl ||
                id == class_id::device_reset_ctrl || id == class_id::sound_feedback_ctrl)
                asked.append(id);
        }
        QCOMPARE(asked, (QList<int32_t>{0xF01, 0x1001, 0x1101, 0x1201}));
        QVERIFY(rig.ctrl<adv_sen_ctrl_c>(ctrl_type::adv_sensitivity));
        QVERIFY(rig.ctrl<polling_rate_ctrl_c>(ctrl_type::polling_rate));
        QVERIFY(rig.ctrl<device_reset_ctrl_c>(ctrl_type::device_reset));
        QVERIFY(rig.ctrl<sound_feedback_ctrl_c>(ctrl_type::sound_feedback));
        QVERIFY(query<surf_lift_ctrl_funcs_i>(rig.page()->ctrl_funcs(ctrl_type::surf_lift)));
        QVERIFY(query<lighting_ctrl_funcs_i>(rig.page()->ctrl_funcs(ctrl_type::lighting)));
        // The page hears every control it made.
        for (int32_t type : advanced_ctrl_c::control_types) {
            auto* host_ctrl = rig.ctrl<host_ctrl_c>(type);
            if (host_ctrl)
                QVERIFY2(host_ctrl->listeners().contains(rig.page_listener()),
                         qPrintable(QString::number(type)));
        }
        QCOMPARE(rig.page()->page_id(), page_type::advanced);
        QVERIFY(!rig.page()->ctrl_funcs(ctrl_type::sensitivity));
    }

    // The separate-axes switch remembers both modes.
    void sensitivity_reports_data() {
        QTest::addColumn<QByteArray>("before"); // mode, X, Y, single, remembered X, Y
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::addRow("separate on restores the remembered X and Y")
            << six(0, 4, 4, 4, 2, 9) << "separate" << 1 << six(1, 2, 9, 4, 2, 9);
        QTest::addRow("separate off puts the single value into both")
            << six(1, 2, 9, 4, 2, 9) << "separate" << 0 << six(0, 4, 4, 4, 2, 9);
        QTest::addRow("X while one value rules changes only the remembered X")
            << six(0, 4, 4, 4, 2, 9) << "x" << 3 << six(0, 4, 4, 4, 9, 9);
        QTest::addRow("X while separate")
            << six(1, 2, 9, 4, 2, 9) << "x" << -2 << six(1, 4, 9, 4, 4, 9);
        QTest::addRow("Y while separate")
            << six(1, 2, 9, 4, 2, 9) << "y" << 5 << six(1, 2, 11, 4, 2, 11);
        QTest::addRow("Y while one value rules")
            << six(0, 4, 4, 4, 2, 9) << "y" << -5 << six(0, 4, 4, 4, 2, 1);
    }
    void sensitivity_reports() {
        QFETCH(QByteArray, before);
        QFETCH(QString, report);
        QFETCH(int, value);
        QFETCH(QByteArray, after);
        advanced_rig rig;
        set_sensitivity_bytes(rig.data(), before);
        auto* l = query<adv_sen_ctrl_funcs_listener_i>(rig.page());
        if (report == QLatin1String("separate"))
            l->separate_changed(value);
        else if (report == QLatin1String("x"))
            l->x_changed(value);
        else
            l->y_changed(value);
        QCOMPARE(sensitivity_bytes(rig.data()).toHex(' '), after.toHex(' '));
    }

    void switch_memory_through_the_widgets() {
        advanced_rig rig;
        rig.kernel->open_page(page_type::advanced);
        set_sensitivity_bytes(rig.data(), six(0, 5, 5, 5, 8, 3));
        rig.page_listener()->update();
        auto* adv = rig.ctrl<adv_sen_ctrl_c>(ctrl_type::adv_sensitivity);
        QVERIFY(!adv->slider(0)->isEnabled());
        QCOMPARE(adv->slider(0)->value(), 2);
        QTest::mouseClick(adv->separate_switch(), Qt::LeftButton);
        QCOMPARE(sensitivity_bytes(rig.data()), six(1, 8, 3, 5, 8, 3));
        QVERIFY(adv->slider(1)->isEnabled());
        QTest::keyClick(adv->slider(1), Qt::Key_End);
        QCOMPARE(sensitivity_bytes(rig.data()), six(1, 8, 11, 5, 8, 11));
        QTest::mouseClick(adv->separate_switch(), Qt::LeftButton);
        QCOMPARE(sensitivity_bytes(rig.data()), six(0, 5, 5, 5, 8, 11));
        // Back on, the Y the person chose is there again.
        QTest::mouseClick(adv->separate_switch(), Qt::LeftButton);
        QCOMPARE(sensitivity_bytes(rig.data()), six(1, 8, 11, 5, 8, 11));
    }

    void sound_polling_and_tuning_reports_data() {
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("sound");   // the sound byte after, from 0x81
        QTest::addColumn<int>("volume");  // from 50
        QTest::addColumn<int>("polling"); // from 3
        QTest::addColumn<int>("surf");
        QTest::addColumn<int>("lift");
        QTest::addRow("switch 0 off keeps bit 7") << "sw0" << 0 << 0x80 << 50 << 3 << 0 << 0;
        QTest::addRow("switch 4 on") << "sw4" << 1 << 0x91 << 50 << 3 << 0 << 0;
        QTest::addRow("switch 2 on") << "sw2" << 1 << 0x85 << 50 << 3 << 0 << 0;
        QTest::addRow("volume") << "volume" << 85 << 0x81 << 85 << 3 << 0 << 0;
        QTest::addRow("polling rate") << "polling" << 1 << 0x81 << 50 << 1 << 0 << 0;
        QTest::addRow("another control's value is not the polling rate")
            << "value 0" << 2 << 0x81 << 50 << 3 << 0 << 0;
        QTest::addRow("surface on, device-wide") << "surf" << 1 << 0x81 << 50 << 3 << 1 << 0;
        QTest::addRow("lift level, device-wide") << "lift" << 3 << 0x81 << 50 << 3 << 0 << 3;
    }
    void sound_polling_and_tuning_reports() {
        QFETCH(QString, report);
        QFETCH(int, value);
        advanced_rig rig;
        // Slot 2 is current: per-profile values land there, device-wide ones in the block.
        rig.host.center.slot = 2;
        zarek_data_c* d = rig.data();
        d->extra_word(2).sound_switches() = 0x81;
        d->name(2).volume() = 50;
        d->settings(2).polling_rate() = 3;
        d->device().surface_tuning() = 0;
        d->device().lift_level() = 0;
        const QByteArray slot_0 = d->settings(0).to_bytes();
        auto* sound = query<sound_feedback_ctrl_funcs_listener_i>(rig.page());
        if (report == QLatin1String("sw0"))
            sound->switch_0_changed(value);
        else if (report == QLatin1String("sw2"))
            sound->switch_2_changed(value);
        else if (report == QLatin1String("sw4"))
            sound->switch_4_changed(value);
        else if (report == QLatin1String("volume"))
            sound->volume_changed(value);
        else if (report == QLatin1String("polling"))
            query<value_ctrl_funcs_listener_i>(rig.page())->value_changed(11, value);
        else if (report == QLatin1String("value 0"))
            query<value_ctrl_funcs_listener_i>(rig.page())->value_changed(0, value);
        else if (report == QLatin1String("surf"))
            query<surf_lift_ctrl_funcs_listener_i>(rig.page())->surf_changed(value);
        else
            query<surf_lift_ctrl_funcs_listener_i>(rig.page())->lift_changed(value);
        QTEST(int(d->extra_word(2).sound_switches()), "sound");
        QTEST(int(d->name(2).volume()), "volume");
        QTEST(int(d->settings(2).polling_rate()), "polling");
        QTEST(int(d->device().surface_tuning()), "surf");
        QTEST(int(d->device().lift_level()), "lift");
        QCOMPARE(d->settings(0).to_bytes(), slot_0);
    }

    // Defaults written by a reset of one profile slot, every byte the page owns.
    void reset_defaults_per_slot_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QByteArray>("lighting"); // bytes 19..30
        const auto lights = [](int flow, int effect, int colour) {
            const char b[] = {3,   char(flow), char(effect), 2, char(colour), 0,
                              100, char(250),  char(colour), 0, 100,          char(250)};
            return QByteArray(b, 12);
        };
        QTest::addRow("slot 0 breathes through the colours") << 0 << lights(1, 3, 1);
        QTest::addRow("slot 1") << 1 << lights(0, 1, 20);
        QTest::addRow("slot 2") << 2 << lights(0, 1, 1);
        QTest::addRow("slot 3") << 3 << lights(0, 1, 10);
        QTest::addRow("slot 4") << 4 << lights(0, 1, 21);
    }
    void reset_defaults_per_slot() {
        QFETCH(int, slot);
        QFETCH(QByteArray, lighting);
        advanced_rig rig;
        zarek_data_c* d = rig.data();
        for (int s = 0; s < 5; ++s) {
            std::fill(d->settings(s).data(), d->settings(s).data() + 33, uint8_t(0xAA));
            std::fill(d->aux(s).data(), d->aux(s).data() + 4, uint8_t(0xAA));
            d->extra_word(s).sound_switches() = 0xAA;
            d->name(s).volume() = 0xAA;
        }
        d->device().lift_level() = 2;
        d->device().surface_tuning() = 1;
        d->device().advanced_value() = 7;
        const QByteArray other = d->settings((slot + 1) % 5).to_bytes();

        rig.page()->reset_profile(slot, false);
        const profile_settings_rec& s = d->settings(slot);
        QCOMPARE(bytes_of(s.data() + 19, 12).toHex(' '), lighting.toHex(' '));
        QCOMPARE(bytes_of(s.data() + 3, 3), QByteArray("\x00\x06\x06", 3));
        QCOMPARE(int(s.data()[18]), 3);
        QCOMPARE(bytes_of(d->aux(slot).data(), 4), QByteArray("\xAA\xAA\x06\x06", 4));
        // Bits 6 and 7 of the sound byte are not the switches'.
        QCOMPARE(int(d->extra_word(slot).sound_switches()), 0x80);
        QCOMPARE(int(d->name(slot).volume()), 50);
        // Bytes the page does not own stay, and so does every other slot.
        QCOMPARE(int(s.data()[6]), 0xAA);
        QCOMPARE(d->settings((slot + 1) % 5).to_bytes(), other);
        // The tuning is the device's: any slot's reset turns it off; byte 9 only a page reset.
        QCOMPARE(int(d->device().lift_level()), 0);
        QCOMPARE(int(d->device().surface_tuning()), 0);
        QCOMPARE(int(d->device().advanced_value()), 7);
    }

    void page_reset_and_bad_slots() {
        advanced_rig rig;
        zarek_data_c* d = rig.data();
        const QByteArray before = d->settings(0).to_bytes();
        rig.page()->reset_profile(5, true);
        rig.page()->reset_profile(-1, true);
        QCOMPARE(d->settings(0).to_bytes(), before);
        d->device().lift_level() = 3;
        d->device().advanced_value() = 0;
        rig.page()->reset_all();
        QCOMPARE(int(d->device().advanced_value()), 0xFF);
        QCOMPARE(int(d->device().lift_level()), 0);
        QCOMPARE(int(d->device().surface_tuning()), 0);
        for (int slot = 0; slot < 5; ++slot)
            QCOMPARE(int(d->settings(slot).polling_rate()), 3);
    }

    // What the controls show of stored bytes, the out-of-range ones as the nearest choice.
    void refresh_shows_stored_bytes_data() {
        QTest::addColumn<int>("polling_byte");
        QTest::addColumn<int>("volume_byte");
        QTest::addColumn<int>("lift_byte");
        QTest::addColumn<int>("x_byte");
        QTest::addColumn<int>("polling");
        QTest::addColumn<int>("volume");
        QTest::addColumn<QString>("lift_button");
        QTest::addColumn<int>("x");
        QTest::addRow("in range") << 1 << 30 << 1 << 9 << 1 << 30 << "rb_lift_ex_low" << 3;
        QTest::addRow("out of range") << 40 << 255 << 7 << 200 << 3 << 100 << "rb_lift_nor" << 5;
        QTest::addRow("zeros") << 0 << 0 << 0 << 0 << 0 << 0 << "rb_lift_off" << -5;
    }
    void refresh_shows_stored_bytes() {
        QFETCH(int, polling_byte);
        QFETCH(int, volume_byte);
        QFETCH(int, lift_byte);
        QFETCH(int, x_byte);
        advanced_rig rig;
        rig.kernel->open_page(page_type::advanced);
        zarek_data_c* d = rig.data();
        d->settings(0).polling_rate() = uint8_t(polling_byte);
        d->name(0).volume() = uint8_t(volume_byte);
        d->device().lift_level() = uint8_t(lift_byte);
        d->settings(0).adv_sensitivity_mode() = 1;
        d->settings(0).sensitivity_x() = uint8_t(x_byte);
        rig.page_listener()->update();
        QTEST(rig.ctrl<polling_rate_ctrl_c>(ctrl_type::polling_rate)->value(), "polling");
        QTEST(rig.ctrl<sound_feedback_ctrl_c>(ctrl_type::sound_feedback)->volume(), "volume");
        QTEST(rig.ctrl<adv_sen_ctrl_c>(ctrl_type::adv_sensitivity)->x(), "x");
        QFETCH(QString, lift_button);
        auto* button = rig.child<QRadioButton>(lift_button);
        QVERIFY(button && button->isChecked());
        // Showing is not writing: the stored bytes stay as they were.
        QCOMPARE(int(d->settings(0).polling_rate()), polling_byte);
        QCOMPARE(int(d->device().lift_level()), lift_byte);
    }

    void form_has_the_six_panels_in_two_columns() {
        advanced_rig rig;
        rig.kernel->open_page(page_type::advanced);
        QTest::qWait(20);
        auto* form = rig.area->findChild<advanced_ctrl_fm_c*>(QStringLiteral("advanced_ctrl_fm_c"));
        QVERIFY(form);
        // Panel, column (0 left, 1 right) and whether it follows the one before in its column.
        const QPair<const char*, int> panels[] = {{"wg_adv_sen", 0},      {"wg_lighting_ctr", 1},
                                                  {"wg_surf_lift", 0},    {"wg_sound", 1},
                                                  {"wg_polling_rate", 0}, {"wg_reset", 0}};
        QMap<int, int> bottom;
        for (const auto& panel : panels) {
            auto* widget = form->findChild<QWidget*>(QLatin1String(panel.first));
            QVERIFY2(widget && widget->findChild<ctrl_box_frame_c*>(), panel.first);
            const bool left = widget->x() < form->width() / 2;
            QCOMPARE(left ? 0 : 1, panel.second);
            QVERIFY2(widget->y() >= bottom.value(panel.second), panel.first);
            bottom[panel.second] = widget->geometry().bottom();
        }
        QCOMPARE(form->findChild<QWidget*>(QStringLiteral("wg_sound"))->height(), 176);
        rig.kernel->close_page();
        QVERIFY(!rig.area->findChild<advanced_ctrl_fm_c*>());
    }

    void device_reset_asks_and_resets_everything() {
        advanced_rig rig;
        rig.kernel->open_page(page_type::advanced);
        zarek_data_c* d = rig.data();
        d->settings(3).polling_rate() = 0;
        auto* reset = rig.ctrl<device_reset_ctrl_c>(ctrl_type::device_reset);
        answer_next_dialog(false);
        QTest::mouseClick(reset->reset_button(), Qt::LeftButton);
        QVERIFY(!rig.kernel->commands.contains(kernel_command::all_data_reset));
        QCOMPARE(int(d->settings(3).polling_rate()), 0);
        answer_next_dialog(true);
        QTest::mouseClick(reset->reset_button(), Qt::LeftButton);
        QCOMPARE(rig.kernel->commands.count(kernel_command::all_data_reset), 1);
        QCOMPARE(rig.host.center.resets, QList<int32_t>{0});
        QCOMPARE(int(d->settings(3).polling_rate()), 3);
        QCOMPARE(int(d->device().advanced_value()), 0xFF);
    }

    void host_without_components_leaves_the_page_working() {
        advanced_rig rig({class_id::adv_sen_ctrl, class_id::sound_feedback_ctrl,
                          class_id::message_box, class_id::preset_selector});
        QVERIFY(!rig.page()->ctrl_funcs(ctrl_type::adv_sensitivity));
        QVERIFY(!rig.page()->ctrl_funcs(ctrl_type::sound_feedback));
        rig.kernel->open_page(page_type::advanced);
        QTest::qWait(20);
        rig.page_listener()->update();
        rig.page()->reset_all();
        QVERIFY(rig.child<QRadioButton>(QStringLiteral("rb_lift_low")));
        QVERIFY(rig.child<QWidget>(QStringLiteral("wg_adv_sen")));
        rig.kernel->close_page();
    }
};

QTEST_MAIN(test_advanced_page)
#include "test_advanced_page.moc"
