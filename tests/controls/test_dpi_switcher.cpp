// The DPI switcher: its copy of the steps, what it reports and when, and its form
// driven through the real check boxes, rows, sliders and number boxes.
#include "common/utilities.h"
#include "controls/dpi_ctrl_funcs.h"
#include "controls/painted_toggles.h"
#include "controls_test_support.h"

#include <QCheckBox>
#include <QLayout>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QtTest>

using namespace test_support;

namespace {

component_host* g_host = nullptr;

// A switcher with a recording listener and a visible panel to put its box into.
struct rig {
    dpi_recorder recorder;
    std::unique_ptr<QWidget> panel;
    dpi_ctrl_funcs_c* ctrl;
    int first_slider = 0;

    rig()
        : panel(std::make_unique<QWidget>())
        , ctrl(new dpi_ctrl_funcs_c) {
        panel->setObjectName(QStringLiteral("wg_dpi"));
        panel->resize(486, 346);
        panel->show();
        connect_listener(static_cast<ctrl_funcs_i*>(ctrl), static_cast<listener_i*>(&recorder));
    }
    ~rig() { ctrl->release(); }

    dpi_switcher_ctrl_funcs_i* dpi() { return ctrl; }
    // Puts the box into the panel; returns what that reported and forgets the journal.
    QStringList open() {
        first_slider = int(g_host->sliders.size());
        ctrl->create_box(panel.get());
        const QStringList reports = dpi_recorder::reports();
        journal().clear();
        return reports;
    }
    QWidget* form() const { return panel->findChild<QWidget*>(QStringLiteral("dpi_fm_c")); }
    QCheckBox* check_box(int step) const {
        return panel->findChild<QCheckBox*>(QStringLiteral("cb_dpi_%1").arg(step + 1));
    }
    QSpinBox* number_box(int step) const {
        return panel->findChild<QSpinBox*>(QStringLiteral("sb_value_%1").arg(step + 1));
    }
    QWidget* row(int step) const {
        return panel->findChild<QWidget*>(QStringLiteral("wg_slider_box_%1").arg(step + 1));
    }
    fake_slider* slider(int step) const { return g_host->sliders.at(first_slider + step).get(); }

    // Runs "<what> <step> [<value>]" lines: the control's operations (active, enabled, dpi)
    // and the user's input (click, row, slider, type, drag).
    void run(const QStringList& script) {
        for (const QString& line : script) {
            const QStringList w = line.split(QLatin1Char(' '));
            const int step = w[1].toInt();
            const int value = w.value(2).toInt();
            if (w[0] == QLatin1String("active"))
                dpi()->set_active_step(step);
            else if (w[0] == QLatin1String("enabled"))
                dpi()->set_step_enabled(step, value != 0);
            else if (w[0] == QLatin1String("dpi"))
                dpi()->set_step_dpi(step, value);
            else if (w[0] == QLatin1String("click"))
                QTest::mouseClick(check_box(step), Qt::LeftButton);
            else if (w[0] == QLatin1String("row")) // its own margin, left of the check box
                QTest::mouseClick(row(step), Qt::LeftButton, {}, QPoint(5, 25));
            else if (w[0] == QLatin1String("slider"))
                slider(step)->press();
            else if (w[0] == QLatin1String("drag"))
                slider(step)->drag_to(value);
            else if (w[0] == QLatin1String("type")) {
                number_box(step)->clear();
                QTest::keyClicks(number_box(step), w[2]);
            }
        }
    }

    // The form shows exactly the copy: states, values and which step is active (its check
    // box cannot be cleared); a slider's text is dim while off, bright while active.
    void check_form_shows_the_copy(bool with_sliders = true) {
        for (int step = 0; step < 5; ++step) {
            const bool on = dpi()->is_step_enabled(step);
            QCOMPARE(check_box(step)->isChecked(), on);
            QCOMPARE(number_box(step)->isEnabled(), on);
            QCOMPARE(number_box(step)->value(), dpi()->step_dpi(step));
            QCOMPARE(check_box(step)->isEnabled(), step != dpi()->active_step());
            QCOMPARE(number_box(step)->minimum(), 200);
            QCOMPARE(number_box(step)->maximum(), 12000);
            if (!with_sliders)
                continue;
            QCOMPARE(slider(step)->enabled, on);
            QCOMPARE(slider(step)->current, dpi()->step_dpi(step));
            const bool bright = on && step == dpi()->active_step();
            QCOMPARE(slider(step)->colour, !on      ? QStringLiteral("75,76,76")
                                           : bright ? QStringLiteral("240,240,240")
                                                    : QStringLiteral("112,113,113"));
        }
    }
};

} // namespace

class test_dpi_switcher : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        g_host = new component_host;
        quil_init_module(g_host);
    }
    void cleanupTestCase() {
        quil_exit_module();
        delete g_host;
    }
    void init() { journal().clear(); }

    void copy_starts_with_five_default_steps_and_adds_missing_ones() {
        rig r;
        QCOMPARE(r.dpi()->active_step(), 0);
        for (int step = 0; step < 5; ++step) {
            QVERIFY(r.dpi()->is_step_enabled(step));
            QCOMPARE(r.dpi()->step_dpi(step), 200);
        }
        QCOMPARE(r.dpi()->step_dpi(-1), 200);
        QCOMPARE(r.ctrl->steps().keys(), (QList<int32_t>{-1, 0, 1, 2, 3, 4}));
    }

    void operations_report_only_changed_states_data() {
        QTest::addColumn<bool>("with_form");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("reports");
        QTest::addRow("active step twice, form")
            << true << QStringList{"active 3", "active 3"} << QStringList();
        QTest::addRow("step off, no form") << false << QStringList{"enabled 2 0"} << QStringList();
        QTest::addRow("step off, form")
            << true << QStringList{"enabled 2 0"} << QStringList{"enabled 2 0"};
        QTest::addRow("step unchanged") << true << QStringList{"enabled 2 1"} << QStringList();
        QTest::addRow("disabled step made active")
            << true << QStringList{"enabled 3 0", "active 3"} << QStringList{"enabled 3 0"};
        QTest::addRow("dpi twice, form")
            << true << QStringList{"dpi 4 9000", "dpi 4 9000"} << QStringList{"dpi 4 9000"};
        // What the number box cannot show is reported and kept as what it shows.
        QTest::addRow("dpi below the box") << true << QStringList{"dpi 4 9000", "dpi 4 50"}
                                           << QStringList{"dpi 4 9000", "dpi 4 200"};
    }
    void operations_report_only_changed_states() {
        QFETCH(bool, with_form);
        QFETCH(QStringList, script);
        QFETCH(QStringList, reports);
        rig r;
        if (with_form)
            r.open();
        r.run(script);
        QCOMPARE(dpi_recorder::reports(), reports);
        const QStringList last = script.last().split(QLatin1Char(' '));
        const int step = last[1].toInt();
        if (last[0] == QLatin1String("active"))
            QCOMPARE(r.dpi()->active_step(), step);
        else if (last[0] == QLatin1String("enabled"))
            QCOMPARE(r.dpi()->is_step_enabled(step), last[2] == QLatin1String("1"));
        else
            QCOMPARE(r.dpi()->step_dpi(step), qMax(last[2].toInt(), 200));
        if (with_form)
            r.check_form_shows_the_copy();
    }

    void user_input_reports_at_once_data() {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("reports");
        QTest::addColumn<int>("active");
        QTest::addRow("click a step off and on")
            << QStringList{"click 1", "click 1"} << QStringList{"enabled 1 0", "enabled 1 1"} << 0;
        QTest::addRow("active step's box cannot be clicked")
            << QStringList{"click 0"} << QStringList() << 0;
        QTest::addRow("press a row") << QStringList{"row 2"} << QStringList{"active 2"} << 2;
        QTest::addRow("press a disabled row")
            << QStringList{"enabled 2 0", "row 2"} << QStringList{"enabled 2 0"} << 0;
        QTest::addRow("press a slider") << QStringList{"slider 3"} << QStringList{"active 3"} << 3;
        // Once through the number box, once from the slider itself.
        QTest::addRow("drag a slider")
            << QStringList{"drag 1 5000"} << QStringList{"dpi 1 5000", "dpi 1 5000"} << 0;
        // The box takes every integer from 200 to 12000; what is typed counts once valid.
        QTest::addRow("type the lowest") << QStringList{"dpi 2 3000", "type 2 200"}
                                         << QStringList{"dpi 2 3000", "dpi 2 200"} << 0;
        QTest::addRow("type the highest")
            << QStringList{"type 2 12000"} << QStringList{"dpi 2 1200", "dpi 2 12000"} << 0;
        QTest::addRow("a digit past the top is refused")
            << QStringList{"type 2 12001"} << QStringList{"dpi 2 1200"} << 0;
    }
    void user_input_reports_at_once() {
        QFETCH(QStringList, script);
        QFETCH(QStringList, reports);
        QFETCH(int, active);
        rig r;
        r.open();
        r.run(script);
        QCOMPARE(dpi_recorder::reports(), reports);
        QCOMPARE(r.dpi()->active_step(), active);
        r.check_form_shows_the_copy();
    }

    // The form draws its rows itself: no widget of it goes through style-sheet styling, and
    // each step's check box and number box show the picture of the step's state.
    void rows_paint_their_state_without_style_sheets() {
        rig r;
        r.run({"enabled 1 0", "active 2"});
        r.open();
        const QList<QWidget*> widgets = r.form()->findChildren<QWidget*>();
        QVERIFY(widgets.size() >= 22);
        for (QWidget* widget : widgets) {
            QVERIFY2(!widget->style()->inherits("QStyleSheetStyle"),
                     qPrintable(widget->objectName()));
        }
        const QString check = QStringLiteral(":/graphics/controls/check_box/checkbox_");
        for (int round = 0; round < 2; ++round) {
            for (int step = 0; step < 5; ++step) {
                auto* box = qobject_cast<picture_toggle_check_c*>(r.check_box(step));
                auto* number = qobject_cast<framed_spin_box_c*>(r.number_box(step));
                QVERIFY(box && number);
                const bool on = r.dpi()->is_step_enabled(step);
                const bool active = step == r.dpi()->active_step();
                QCOMPARE(box->shown_picture(), check + (on ? "checked" : "unchecked") +
                                                   (active ? "_disabled.png" : ".png"));
                QCOMPARE(number->shown_picture(),
                         on ? QStringLiteral(":/graphics/controls/Typin_field.png")
                            : QStringLiteral(":/graphics/controls/Typin_field_disabled.png"));
                QCOMPARE(number->shown_text_colour(),
                         on ? QColor(208, 208, 208) : QColor(75, 76, 76));
            }
            // Then the other way round.
            r.run({"enabled 1 1", "enabled 3 0", "active 0"});
        }
    }

    // The box is filled from the copy before it takes the form, hands everything back on
    // closing, and the copy survives for the next box.
    void box_is_filled_from_the_copy_and_hands_everything_back() {
        rig r;
        r.run({"enabled 1 0", "dpi 2 3200", "active 2"});
        QCOMPARE(dpi_recorder::reports(), QStringList());
        QCOMPARE(r.open(), (QStringList{"enabled 0 1", "enabled 1 0", "enabled 2 1", "enabled 3 1",
                                        "enabled 4 1"}));
        r.check_form_shows_the_copy();
        QVERIFY(r.form()->isVisible());

        r.run({"type 3 7300", "click 4"});
        // Filling a hidden form is nobody's business.
        r.panel->hide();
        journal().clear();
        r.number_box(0)->setValue(4400);
        r.dpi()->set_step_dpi(1, 2600);
        QCOMPARE(r.number_box(1)->value(), 2600);
        QCOMPARE(dpi_recorder::reports(), QStringList());
        r.ctrl->close_box();
        QVERIFY(!r.form());
        for (int i = 0; i < 5; ++i)
            QVERIFY(r.slider(i)->released);
        // The box lets go of the form before anything is handed back.
        QCOMPARE(journal(), (QStringList{"box detach", "box release"}));
        r.ctrl->close_box();
        QCOMPARE(journal().count(QStringLiteral("box detach")), 1);

        r.panel->show();
        r.open();
        QCOMPARE(r.number_box(3)->value(), 7300);
        QVERIFY(!r.check_box(4)->isChecked());
        r.check_form_shows_the_copy();
    }

    void works_without_a_host() {
        quil_exit_module();
        quil_init_module(nullptr);
        const int created_before = g_host->created.size();
        {
            rig r;
            QCOMPARE(r.open().size(), 5);
            r.run({"click 2", "row 4", "type 4 900"});
            QCOMPARE(dpi_recorder::reports(),
                     (QStringList{"enabled 2 0", "active 4", "dpi 4 900"}));
            r.check_form_shows_the_copy(false);
            r.ctrl->close_box();
            QVERIFY(!r.form());
        }
        QCOMPARE(g_host->created.size(), created_before);
        quil_init_module(g_host);
    }
};

QTEST_MAIN(test_dpi_switcher)
#include "test_dpi_switcher.moc"
