// The surface and lift tuning on the advanced page with koral's real box and
// message box: the calibration dialog's states and the commands each step sends,
// its animation and timer, the lift confirmation with its fallback, the box's
// reset, and answers that come when nobody asked.
#include "../pages/advanced_rig.h"
#include "controls/surf_calibration_fm.h"
#include "controls/surf_lift_ctrl_funcs.h"
#include "controls/surf_lift_ctrl_funcs_fm.h"
#include "host/components/ctrl_box.h"
#include "host/components/dialog_frame.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

namespace {

// Runs `steps` on the calibration dialog once it is open, then makes sure it ends.
void on_dialog(surf_lift_ctrl_funcs_fm_c* form, std::function<void(surf_calibration_fm_c*)> steps) {
    QTimer::singleShot(0, [form, steps] {
        surf_calibration_fm_c* dialog = form->calibration_dialog();
        QVERIFY(dialog && dialog->isVisible());
        steps(dialog);
    });
    // A test that forgot to end the dialog fails instead of hanging; the form may be gone.
    const QPointer<surf_lift_ctrl_funcs_fm_c> guard(form);
    QTimer::singleShot(5000, [guard] {
        if (guard && guard->calibration_dialog())
            guard->calibration_dialog()->reject();
    });
}

void answer_message_box(bool yes, QStringList* texts = nullptr) {
    QTimer::singleShot(0, [yes, texts] {
        auto* dialog = qobject_cast<dialog_frame_c*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (texts) {
            texts->append(dialog->title_label()->text());
            texts->append(dialog->ok_button()->text());
            texts->append(dialog->cancel_button()->text());
        }
        (yes ? dialog->ok_button() : dialog->cancel_button())->click();
    });
}

} // namespace

class test_surf_lift : public QObject {
    Q_OBJECT

    std::unique_ptr<advanced_rig> m_rig;

    surf_lift_ctrl_funcs_c* control() const {
        return dynamic_cast<surf_lift_ctrl_funcs_c*>(
            m_rig->page()->ctrl_funcs(ctrl_type::surf_lift));
    }
    surf_lift_ctrl_funcs_fm_c* form() const { return control()->form(); }
    QList<int32_t> tuning() const { return m_rig->kernel->tuning; }
    zarek_data_c* data() const { return m_rig->data(); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        m_rig = std::make_unique<advanced_rig>();
        m_rig->host.center.texts.table[0] = {
            {581, QStringLiteral("START")},    {203, QStringLiteral("RETRY")},
            {202, QStringLiteral("CONTINUE")}, {628, QStringLiteral("LIFT-OFF")},
            {631, QStringLiteral("KEEP")},     {632, QStringLiteral("UNDO")}};
        m_rig->kernel->open_page(page_type::advanced);
        QVERIFY(form());
        m_rig->kernel->tuning.clear();
    }
    void cleanup() { m_rig.reset(); }

    // Each dialog step, the state it leaves, and the commands the whole run sent.
    void calibration_runs_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("states");
        QTest::addColumn<QList<int32_t>>("commands");
        QTest::addColumn<bool>("surf_on");
        using L = QList<int32_t>;
        QTest::addRow("success, continue: accepted with command 2")
            << QStringList{"start", "ok", "button"} << "1 3 0" << L{0, 2} << true;
        QTest::addRow("cancel after success sends 3 and leaves tuning off")
            << QStringList{"start", "ok", "cancel"} << "1 3 3" << L{0, 3} << false;
        QTest::addRow("close sends nothing")
            << QStringList{"start", "close"} << "1 1" << L{0} << false;
        QTest::addRow("failure offers a retry that starts again with 0")
            << QStringList{"start", "fail", "button", "ok", "button"} << "1 2 1 3 0" << L{0, 0, 2}
            << true;
        QTest::addRow("cancel before starting") << QStringList{"cancel"} << "0" << L{} << false;
        QTest::addRow("cancel while calibrating sends nothing more")
            << QStringList{"start", "cancel"} << "1 1" << L{0} << false;
    }
    void calibration_runs() {
        QFETCH(QStringList, steps);
        QString seen;
        on_dialog(form(), [steps, &seen, this](surf_calibration_fm_c* dialog) {
            QCOMPARE(dialog->state(), int32_t(surf_calibration_fm_c::idle));
            for (const QString& step : steps) {
                if (step == QLatin1String("start") || step == QLatin1String("button"))
                    QTest::mouseClick(dialog->ui().btn_calibrate, Qt::LeftButton);
                else if (step == QLatin1String("ok"))
                    control()->calibration_result(1);
                else if (step == QLatin1String("fail"))
                    control()->calibration_result(0);
                else if (step == QLatin1String("cancel"))
                    QTest::mouseClick(dialog->ui().btn_cancel, Qt::LeftButton);
                else if (step == QLatin1String("close"))
                    QTest::mouseClick(dialog->ui().btn_close, Qt::LeftButton);
                seen += QString::number(dialog->state()) + QLatin1Char(' ');
            }
        });
        QTest::mouseClick(form()->ui().rb_surf_on, Qt::LeftButton);
        QVERIFY(!form()->calibration_dialog());
        QTEST(seen.trimmed(), "states");
        QTEST(tuning(), "commands");
        QFETCH(bool, surf_on);
        QCOMPARE(control()->surf_on(), surf_on);
        QCOMPARE(int(data()->device().surface_tuning()), surf_on ? 1 : 0);
        QCOMPARE(form()->ui().rb_surf_on->isChecked(), surf_on);
        QCOMPARE(form()->ui().btn_calibrate->isEnabled(), surf_on);
        // The host was told the module was busy around the modal dialog.
        const auto busy = m_rig->host.center.busy;
        QVERIFY(busy.size() >= 2);
        QCOMPARE(std::get<0>(busy.at(busy.size() - 2)), true);
        QCOMPARE(std::get<0>(busy.last()), false);
    }

    // What each state shows.
    void states_show_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("animating");
        QTest::addRow("idle") << 0 << "lb_bef_calibrate"
                              << "START" << true << false;
        QTest::addRow("calibrating") << 1 << "lb_calibrating"
                                     << "START" << false << true;
        QTest::addRow("failed") << 2 << "lb_calibration_failed"
                                << "RETRY" << true << false;
        QTest::addRow("succeeded") << 3 << "lb_calibration_success"
                                   << "CONTINUE" << true << false;
    }
    void states_show() {
        QFETCH(int, state);
        QFETCH(QString, label);
        surf_calibration_fm_c dialog(control(), nullptr);
        dialog.show();
        dialog.set_state(surf_calibration_fm_c::calibrating);
        dialog.next_frame();
        dialog.next_frame();
        dialog.set_state(state);
        for (QLabel* status :
             {dialog.ui().lb_bef_calibrate, dialog.ui().lb_calibrating,
              dialog.ui().lb_calibration_failed, dialog.ui().lb_calibration_success})
            QCOMPARE(status->isVisible(), status->objectName() == label);
        QTEST(dialog.ui().btn_calibrate->text(), "caption");
        QTEST(dialog.ui().btn_calibrate->isEnabled(), "enabled");
        QTEST(dialog.animation_timer().isActive(), "animating");
        QCOMPARE(dialog.animation_timer().interval(), 50);
        if (state != surf_calibration_fm_c::calibrating) {
            QCOMPARE(dialog.frame(), 0);
            QVERIFY(dialog.ui().wg_animate->styleSheet().contains(QStringLiteral("_00000.png")));
        }
    }

    void animation_loops_over_a_hundred_frames() {
        surf_calibration_fm_c dialog(control(), nullptr);
        dialog.set_state(surf_calibration_fm_c::calibrating);
        QStringList shown;
        for (int tick = 0; tick < 101; ++tick) {
            dialog.next_frame();
            const QString sheet = dialog.ui().wg_animate->styleSheet();
            shown.append(sheet.mid(sheet.lastIndexOf(QLatin1Char('_')) + 1, 5));
        }
        QCOMPARE(shown.first(), QStringLiteral("00000"));
        QCOMPARE(shown.at(99), QStringLiteral("00099"));
        QCOMPARE(shown.at(100), QStringLiteral("00000"));
        QCOMPARE(shown.size(), 101);
        QCOMPARE(surf_calibration_fm_c::frame_path(7),
                 QStringLiteral(":/graphics/controls/Quil_SURF_animation/"
                                "Quil-SURFLIFT_rotation_BLACK_00007.png"));
    }

    void calibration_timer_waits_5_to_11_seconds() {
        surf_calibration_fm_c dialog(control(), nullptr);
        for (int run = 0; run < 20; ++run) {
            dialog.start_calibration();
            QVERIFY(dialog.calibration_timer().isActive());
            QVERIFY(dialog.calibration_timer().isSingleShot());
            QVERIFY2(dialog.calibration_delay() >= 5000 && dialog.calibration_delay() <= 10999,
                     qPrintable(QString::number(dialog.calibration_delay())));
            QCOMPARE(dialog.calibration_timer().interval(), dialog.calibration_delay());
        }
        QCOMPARE(tuning(), QVector<int32_t>(20, 0).toList());
    }

    void dialog_is_dragged_by_its_frame() {
        surf_calibration_fm_c dialog(control(), nullptr);
        dialog.move(100, 100);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint start = dialog.pos();
        QWidget* frame = dialog.ui().wg_contain;
        QTest::mousePress(frame, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QVERIFY(dialog.is_dragging());
        QMouseEvent move(QEvent::MouseMove, QPoint(20, 20), dialog.mapToGlobal(QPoint(60, 50)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &move);
        QTest::mouseRelease(frame, Qt::LeftButton, Qt::NoModifier, QPoint(60, 50));
        QVERIFY(!dialog.is_dragging());
        QCOMPARE(dialog.pos() - start, QPoint(40, 30));
    }

    void recalibrate_starts_at_once() {
        control()->set_surf(true);
        QVERIFY(form()->ui().btn_calibrate->isEnabled());
        int first_state = -1;
        on_dialog(form(), [&first_state](surf_calibration_fm_c* dialog) {
            first_state = dialog->state();
            dialog->set_state(surf_calibration_fm_c::succeeded);
            QTest::mouseClick(dialog->ui().btn_calibrate, Qt::LeftButton);
        });
        QTest::mouseClick(form()->ui().btn_calibrate, Qt::LeftButton);
        QCOMPARE(first_state, int(surf_calibration_fm_c::calibrating));
        QCOMPARE(tuning(), (QList<int32_t>{0, 2}));
        QVERIFY(control()->surf_on());
    }

    void surf_off_sends_4_and_reports() {
        control()->set_surf(true);
        data()->device().surface_tuning() = 1;
        QTest::mouseClick(form()->ui().rb_surf_off, Qt::LeftButton);
        QCOMPARE(tuning(), QList<int32_t>{4});
        QCOMPARE(int(data()->device().surface_tuning()), 0);
        QVERIFY(!form()->ui().btn_calibrate->isEnabled());
    }

    // The new distance is sent at once; a "no" sends the stored level's command again.
    void lift_confirmation_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QList<int32_t>>("commands");
        QTest::addColumn<int>("level");
        using L = QList<int32_t>;
        QTest::addRow("normal, kept") << 2 << 3 << true << L{6} << 3;
        QTest::addRow("normal, undone") << 2 << 3 << false << L{6, 7} << 2;
        QTest::addRow("extra low from off, undone") << 0 << 1 << false << L{8, 5} << 0;
        QTest::addRow("off from normal, kept") << 3 << 0 << true << L{5} << 0;
        QTest::addRow("the stored level again: asked, nothing changes")
            << 2 << 2 << true << L{7} << 2;
    }
    void lift_confirmation() {
        QFETCH(int, stored);
        QFETCH(int, clicked);
        QFETCH(bool, yes);
        QFETCH(int, level);
        control()->set_lift(stored);
        data()->device().lift_level() = uint8_t(stored);
        QStringList texts;
        answer_message_box(yes, &texts);
        QTest::mouseClick(form()->lift_button(clicked), Qt::LeftButton);
        QCOMPARE(texts, (QStringList{QStringLiteral("LIFT-OFF"), QStringLiteral("KEEP"),
                                     QStringLiteral("UNDO")}));
        QTEST(tuning(), "commands");
        QCOMPARE(control()->lift_level(), level);
        QCOMPARE(int(data()->device().lift_level()), level);
        QVERIFY(form()->lift_button(level)->isChecked());
        QVERIFY(!form()->confirmation_box());
    }

    void lift_without_a_message_box_is_taken() {
        m_rig = std::make_unique<advanced_rig>(QList<int32_t>{class_id::message_box});
        m_rig->kernel->open_page(page_type::advanced);
        control()->set_lift(2);
        QTest::mouseClick(form()->lift_button(3), Qt::LeftButton);
        QCOMPARE(tuning(), QList<int32_t>{6});
        QCOMPARE(control()->lift_level(), 3);
    }

    void box_reset_turns_both_off() {
        control()->set_surf(true);
        control()->set_lift(3);
        data()->device().surface_tuning() = 1;
        data()->device().lift_level() = 3;
        auto* frame =
            m_rig->child<QWidget>(QStringLiteral("wg_surf_lift"))->findChild<ctrl_box_frame_c*>();
        QVERIFY(frame);
        QTest::mouseClick(frame->reset_button(), Qt::LeftButton);
        QCOMPARE(tuning(), (QList<int32_t>{4, 5}));
        QVERIFY(!control()->surf_on());
        QCOMPARE(control()->lift_level(), 0);
        QCOMPARE(int(data()->device().lift_level()), 0);
        QVERIFY(form()->ui().rb_lift_off->isChecked());
        QVERIFY(form()->ui().rb_surf_off->isChecked());
    }

    void answers_nobody_asked_for_are_ignored() {
        control()->calibration_result(1);
        QVERIFY(!control()->surf_on());
        QVERIFY(tuning().isEmpty());
        // The kernel's path for host message 25 ends in the same place.
        surf_lift_ctrl_funcs_c orphan;
        orphan.calibration_result(0);
        orphan.send_tuning(0); // without a kernel nothing is sent
        QVERIFY(tuning().isEmpty());
    }

    void a_product_event_ends_the_open_dialog() {
        on_dialog(form(), [this](surf_calibration_fm_c* dialog) {
            QTest::mouseClick(dialog->ui().btn_calibrate, Qt::LeftButton);
            form()->product_event(product_type::black);
        });
        QTest::mouseClick(form()->ui().rb_surf_on, Qt::LeftButton);
        QVERIFY(!form()->calibration_dialog());
        QVERIFY(form()->ui().rb_surf_off->isChecked());
        QCOMPARE(tuning(), QList<int32_t>{0});
    }
};

QTEST_MAIN(test_surf_lift)
#include "test_surf_lift.moc"
