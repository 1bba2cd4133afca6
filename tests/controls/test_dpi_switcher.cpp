// The DPI switcher: its copy of the steps, what it reports and when, and its form
// driven through the real check boxes, rows and number boxes.
#include "common/utilities.h"
#include "controls/dpi_ctrl_funcs.h"
#include "controls_test_support.h"

#include <QCheckBox>
#include <QLayout>
#include <QSpinBox>
#include <QStandardPaths>
#include <QtTest>

using namespace test_support;

namespace {

// A switcher with a recording listener and a visible panel to put its box into.
struct rig {
    dpi_recorder recorder;
    std::unique_ptr<QWidget> panel;
    dpi_ctrl_funcs_c* ctrl;

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
    void open() { ctrl->create_box(panel.get()); }
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
};

// Types a value into a number box as a user does.
void type_into(QSpinBox* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

} // namespace

class test_dpi_switcher : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void copy_starts_with_five_default_steps();
    void missing_steps_are_created_on_lookup();
    void set_active_step_reports_nothing_data();
    void set_active_step_reports_nothing();
    void set_step_enabled_reports_only_with_a_form_data();
    void set_step_enabled_reports_only_with_a_form();
    void set_step_dpi_reaches_the_form_and_listeners();
    void new_box_reports_every_steps_state();
    void copy_survives_closing_the_box();
    void active_step_check_box_cannot_be_clicked();
    void check_box_click_switches_a_step();
    void row_press_data();
    void row_press();
    void slider_text_colours_follow_state_and_active_step();
    void number_box_accepts_200_to_12000_data();
    void number_box_accepts_200_to_12000();
    void slider_move_reaches_number_box_and_listeners();
    void slider_press_makes_its_step_active();
    void hidden_form_keeps_number_box_changes_to_itself();
    void sliders_are_set_up_in_order();
    void box_is_set_up_and_follows_the_favourite_mark();
    void closing_hands_back_box_and_sliders();
    void form_carries_its_designer_names();
    void works_without_a_host();

private:
    fake_host* m_host = nullptr;
};

void test_dpi_switcher::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    m_host = new fake_host;
    quil_init_module(m_host);
}

void test_dpi_switcher::cleanupTestCase() {
    quil_exit_module();
    delete m_host;
}

void test_dpi_switcher::init() {
    journal().clear();
}

void test_dpi_switcher::copy_starts_with_five_default_steps() {
    rig r;
    QCOMPARE(r.ctrl->ctrl_type(), 1);
    QCOMPARE(r.ctrl->box_span(), 1);
    QCOMPARE(r.dpi()->active_step(), 0);
    QCOMPARE(r.ctrl->steps().keys(), (QList<int32_t>{0, 1, 2, 3, 4}));
    for (int step = 0; step < 5; ++step) {
        QVERIFY(r.dpi()->is_step_enabled(step));
        QCOMPARE(r.dpi()->step_dpi(step), 200);
    }
    // The switcher's interface is offered by the same object as the control.
    auto* asked = query<dpi_switcher_ctrl_funcs_i>(static_cast<ctrl_funcs_i*>(r.ctrl));
    QCOMPARE(asked, r.dpi());
    QVERIFY(same_object(asked, static_cast<ctrl_funcs_i*>(r.ctrl)));
}

void test_dpi_switcher::missing_steps_are_created_on_lookup() {
    rig r;
    QVERIFY(r.dpi()->is_step_enabled(7));
    QCOMPARE(r.dpi()->step_dpi(-1), 200);
    QCOMPARE(r.ctrl->steps().keys(), (QList<int32_t>{-1, 0, 1, 2, 3, 4, 7}));

    r.open();
    // A step without a row is still kept and reported; the rows stay as they were.
    r.dpi()->set_step_enabled(9, false);
    QVERIFY(!r.dpi()->is_step_enabled(9));
    QCOMPARE(r.recorder.reports.last(), QStringLiteral("enabled 9 0"));
    for (int step = 0; step < 5; ++step)
        QVERIFY(r.check_box(step)->isChecked());
}

void test_dpi_switcher::set_active_step_reports_nothing_data() {
    QTest::addColumn<bool>("with_form");
    QTest::addRow("without form") << false;
    QTest::addRow("with form") << true;
}

void test_dpi_switcher::set_active_step_reports_nothing() {
    QFETCH(bool, with_form);
    rig r;
    if (with_form)
        r.open();
    r.recorder.reports.clear();

    r.dpi()->set_active_step(3);
    QCOMPARE(r.dpi()->active_step(), 3);
    r.dpi()->set_active_step(3);
    QCOMPARE(r.recorder.reports, QStringList());

    if (with_form) {
        QVERIFY(!r.check_box(3)->isEnabled());
        QVERIFY(r.check_box(0)->isEnabled());
    }
}

void test_dpi_switcher::set_step_enabled_reports_only_with_a_form_data() {
    QTest::addColumn<bool>("with_form");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QStringList>("reports");
    QTest::addRow("no form, switched off") << false << 2 << false << QStringList();
    QTest::addRow("form, switched off") << true << 2 << false << QStringList{"enabled 2 0"};
    QTest::addRow("form, unchanged") << true << 2 << true << QStringList();
    QTest::addRow("form, active step switched off")
        << true << 0 << false << QStringList{"enabled 0 0"};
}

void test_dpi_switcher::set_step_enabled_reports_only_with_a_form() {
    QFETCH(bool, with_form);
    QFETCH(int, step);
    QFETCH(bool, on);
    QFETCH(QStringList, reports);
    rig r;
    if (with_form)
        r.open();
    r.recorder.reports.clear();

    r.dpi()->set_step_enabled(step, on);
    QCOMPARE(r.recorder.reports, reports);
    QCOMPARE(r.dpi()->is_step_enabled(step), on);
    if (with_form) {
        QCOMPARE(r.check_box(step)->isChecked(), on);
        QCOMPARE(r.number_box(step)->isEnabled(), on);
    }
}

void test_dpi_switcher::set_step_dpi_reaches_the_form_and_listeners() {
    rig r;
    r.open();
    r.recorder.reports.clear();

    r.dpi()->set_step_dpi(4, 9000);
    QCOMPARE(r.number_box(4)->value(), 9000);
    QCOMPARE(r.dpi()->step_dpi(4), 9000);
    QVERIFY(r.recorder.reports.contains(QStringLiteral("dpi 4 9000")));

    r.recorder.reports.clear();
    r.dpi()->set_step_dpi(4, 9000);
    QCOMPARE(r.recorder.reports, QStringList());

    // What the number box cannot show is reported as what it shows.
    r.dpi()->set_step_dpi(4, 50);
    QCOMPARE(r.number_box(4)->value(), 200);
    QCOMPARE(r.recorder.reports.last(), QStringLiteral("dpi 4 200"));
    QCOMPARE(r.dpi()->step_dpi(4), 200);
}

void test_dpi_switcher::new_box_reports_every_steps_state() {
    rig r;
    r.dpi()->set_step_enabled(1, false);
    r.dpi()->set_step_enabled(3, false);
    r.dpi()->set_step_dpi(2, 3200);
    r.dpi()->set_active_step(2);
    QCOMPARE(r.recorder.reports, QStringList());

    const int boxes_before = int(m_host->boxes.size());
    journal().clear();
    r.open();
    QCOMPARE(r.recorder.reports, (QStringList{"enabled 0 1", "enabled 1 0", "enabled 2 1",
                                              "enabled 3 0", "enabled 4 1"}));
    QCOMPARE(r.number_box(2)->value(), 3200);
    QVERIFY(!r.check_box(1)->isChecked());
    QVERIFY(!r.check_box(2)->isEnabled());
    QVERIFY(r.check_box(0)->isEnabled());

    // The box learns the mark and takes the form only once the form is filled.
    QCOMPARE(int(m_host->boxes.size()), boxes_before + 1);
    const QStringList box_calls = entries(QStringLiteral("box "));
    QCOMPARE(box_calls.mid(box_calls.size() - 2),
             (QStringList{"box set_favorite_mark 0", "box attach wg_dpi"}));
    QVERIFY(journal().indexOf(QStringLiteral("enabled 4 1")) <
            journal().indexOf(QStringLiteral("box attach wg_dpi")));
    QVERIFY(r.form());
    QVERIFY(r.form()->isVisible());
}

void test_dpi_switcher::copy_survives_closing_the_box() {
    rig r;
    r.open();
    type_into(r.number_box(3), QStringLiteral("7300"));
    QTest::mouseClick(r.check_box(4), Qt::LeftButton);
    r.ctrl->close_box();
    QVERIFY(!r.form());

    r.open();
    QCOMPARE(r.number_box(3)->value(), 7300);
    QVERIFY(!r.check_box(4)->isChecked());
}

void test_dpi_switcher::active_step_check_box_cannot_be_clicked() {
    rig r;
    r.open();
    r.recorder.reports.clear();
    QVERIFY(!r.check_box(0)->isEnabled());
    QTest::mouseClick(r.check_box(0), Qt::LeftButton);
    QVERIFY(r.check_box(0)->isChecked());
    QVERIFY(r.dpi()->is_step_enabled(0));
    QCOMPARE(r.recorder.reports, QStringList());
}

void test_dpi_switcher::check_box_click_switches_a_step() {
    rig r;
    r.open();
    const int first_slider = int(m_host->sliders.size()) - 5;
    r.recorder.reports.clear();

    QTest::mouseClick(r.check_box(1), Qt::LeftButton);
    QCOMPARE(r.recorder.reports, QStringList{"enabled 1 0"});
    QVERIFY(!r.dpi()->is_step_enabled(1));
    QVERIFY(!r.number_box(1)->isEnabled());
    QVERIFY(!m_host->sliders[first_slider + 1]->enabled);

    QTest::mouseClick(r.check_box(1), Qt::LeftButton);
    QCOMPARE(r.recorder.reports, (QStringList{"enabled 1 0", "enabled 1 1"}));
    QVERIFY(r.number_box(1)->isEnabled());
    QVERIFY(m_host->sliders[first_slider + 1]->enabled);
}

void test_dpi_switcher::row_press_data() {
    QTest::addColumn<int>("pressed");
    QTest::addColumn<bool>("pressed_enabled");
    QTest::addColumn<int>("active");
    QTest::addColumn<QStringList>("reports");
    QTest::addRow("enabled row becomes active") << 2 << true << 2 << QStringList{"active 2"};
    QTest::addRow("disabled row stays inactive") << 2 << false << 0 << QStringList();
    QTest::addRow("active row again") << 0 << true << 0 << QStringList();
    QTest::addRow("last row") << 4 << true << 4 << QStringList{"active 4"};
}

void test_dpi_switcher::row_press() {
    QFETCH(int, pressed);
    QFETCH(bool, pressed_enabled);
    QFETCH(int, active);
    QFETCH(QStringList, reports);
    rig r;
    r.open();
    if (!pressed_enabled)
        r.dpi()->set_step_enabled(pressed, false);
    r.recorder.reports.clear();

    // The row's own margin, left of its check box.
    QTest::mouseClick(r.row(pressed), Qt::LeftButton, {}, QPoint(5, 25));
    QCOMPARE(r.dpi()->active_step(), active);
    QCOMPARE(r.recorder.reports, reports);
    for (int step = 0; step < 5; ++step)
        QCOMPARE(r.check_box(step)->isEnabled(), step != active);
}

void test_dpi_switcher::slider_text_colours_follow_state_and_active_step() {
    rig r;
    r.dpi()->set_step_enabled(3, false);
    r.open();
    const int first = int(m_host->sliders.size()) - 5;
    auto colour = [&](int step) {
        return m_host->sliders[first + step]->colour;
    };
    QCOMPARE(colour(0), QStringLiteral("240,240,240"));
    QCOMPARE(colour(1), QStringLiteral("112,113,113"));
    QCOMPARE(colour(3), QStringLiteral("75,76,76"));

    r.dpi()->set_active_step(2);
    QCOMPARE(colour(0), QStringLiteral("112,113,113"));
    QCOMPARE(colour(2), QStringLiteral("240,240,240"));

    // A disabled step keeps its dim text while it is active.
    r.dpi()->set_active_step(3);
    QCOMPARE(colour(3), QStringLiteral("75,76,76"));
    QCOMPARE(colour(2), QStringLiteral("112,113,113"));
}

void test_dpi_switcher::number_box_accepts_200_to_12000_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::addRow("lowest") << "200" << 200;
    QTest::addRow("highest") << "12000" << 12000;
    QTest::addRow("not a multiple of ten") << "4567" << 4567;
    QTest::addRow("a digit past the top is refused") << "12001" << 1200;
}

void test_dpi_switcher::number_box_accepts_200_to_12000() {
    QFETCH(QString, typed);
    QFETCH(int, value);
    rig r;
    r.open();
    const int first = int(m_host->sliders.size()) - 5;
    QSpinBox* box = r.number_box(2);
    QCOMPARE(box->minimum(), 200);
    QCOMPARE(box->maximum(), 12000);
    QCOMPARE(box->singleStep(), 1);
    r.dpi()->set_step_dpi(2, 3000);
    r.recorder.reports.clear();

    type_into(box, typed);
    QCOMPARE(box->value(), value);
    QVERIFY(!r.recorder.reports.isEmpty());
    QCOMPARE(r.recorder.reports.last(), QStringLiteral("dpi 2 %1").arg(value));
    QCOMPARE(r.dpi()->step_dpi(2), value);
    QCOMPARE(m_host->sliders[first + 2]->current, value);
}

void test_dpi_switcher::slider_move_reaches_number_box_and_listeners() {
    rig r;
    r.open();
    const int first = int(m_host->sliders.size()) - 5;
    r.recorder.reports.clear();

    m_host->sliders[first + 1]->drag_to(5000);
    QCOMPARE(r.number_box(1)->value(), 5000);
    QCOMPARE(r.dpi()->step_dpi(1), 5000);
    // Once through the number box, once from the slider itself; both at once.
    QCOMPARE(r.recorder.reports, (QStringList{"dpi 1 5000", "dpi 1 5000"}));
}

void test_dpi_switcher::slider_press_makes_its_step_active() {
    rig r;
    r.open();
    const int first = int(m_host->sliders.size()) - 5;
    r.recorder.reports.clear();

    m_host->sliders[first + 3]->press();
    QCOMPARE(r.dpi()->active_step(), 3);
    QCOMPARE(r.recorder.reports, QStringList{"active 3"});
    QVERIFY(!r.check_box(3)->isEnabled());
    QVERIFY(r.check_box(0)->isEnabled());
}

void test_dpi_switcher::hidden_form_keeps_number_box_changes_to_itself() {
    rig r;
    r.open();
    r.panel->hide();
    r.recorder.reports.clear();

    r.number_box(0)->setValue(4400);
    r.dpi()->set_step_dpi(1, 2600);
    QCOMPARE(r.number_box(1)->value(), 2600);
    QCOMPARE(r.recorder.reports, QStringList());
}

void test_dpi_switcher::sliders_are_set_up_in_order() {
    rig r;
    r.open();
    const int first = int(m_host->sliders.size()) - 5;
    const QString prefix = QStringLiteral("slider %1 ").arg(first);
    QStringList calls = entries(prefix);
    for (QString& call : calls)
        call.remove(0, prefix.size());
    const QStringList expected = {
        "set_client",
        "set_handle_image ://graphics/controls/slider/Slider.png",
        "set_geometry_parts 6 19 16 11",
        "set_parent wg_slider_1",
        "set_range 12000 200 10",
        "op13 8 0",
        "op11 0",
        "clear_marks",
        "add_mark 200 200",
        "add_mark 2000 2000",
        "add_mark 4000 4000",
        "add_mark 6000 6000",
        "add_mark 8200 8200",
        "add_mark 12000 12000",
        "apply_marks",
    };
    QCOMPARE(calls.mid(0, expected.size()), expected);
    QCOMPARE(m_host->sliders[first + 4]->parent.data(),
             r.panel->findChild<QWidget*>("wg_slider_5"));
    // Every slider reports to the same form.
    QVERIFY(m_host->sliders[first]->client);
    QCOMPARE(m_host->sliders[first + 4]->client, m_host->sliders[first]->client);
}

void test_dpi_switcher::box_is_set_up_and_follows_the_favourite_mark() {
    rig r;
    r.open();
    fake_box* box = m_host->boxes.back().get();
    const QStringList calls = entries(QStringLiteral("box "));
    QCOMPARE(calls.mid(0, 5),
             (QStringList{"box set_client", "box set_title T205", "box set_help T205 T387",
                          "box set_icon :/graphics/controls/functions/dpi_switcher.png",
                          "box set_height 346"}));
    // The box reaches the control's reset and favourite mark through its client.
    QCOMPARE(query<ctrl_funcs_i>(box->client), static_cast<ctrl_funcs_i*>(r.ctrl));
    QVERIFY(query<ctrl_funcs_box_fm_client_i>(box->client));

    journal().clear();
    r.ctrl->set_favorite(true);
    r.ctrl->set_favorite(true);
    QCOMPARE(journal(), QStringList{"box set_favorite_mark 1"});

    // A language change gives the box its texts again.
    journal().clear();
    m_host->center.texts.prefix = QStringLiteral("D");
    auto* form_listener = query<language_listener_i>(
        query<slider_client_i>(query<interface_i>(m_host->sliders.back()->client)));
    QVERIFY(form_listener);
    form_listener->language_changed(&m_host->center, nullptr);
    m_host->center.texts.prefix = QStringLiteral("T");
    QCOMPARE(journal(), (QStringList{"box set_title D205", "box set_help D205 D387"}));
    QCOMPARE(r.check_box(0)->text(), QString());
}

void test_dpi_switcher::closing_hands_back_box_and_sliders() {
    rig r;
    r.open();
    fake_box* box = m_host->boxes.back().get();
    const int first = int(m_host->sliders.size()) - 5;
    journal().clear();

    r.ctrl->close_box();
    QVERIFY(!r.form());
    QVERIFY(!r.ctrl->form());
    QVERIFY(box->released);
    for (int i = 0; i < 5; ++i)
        QVERIFY(m_host->sliders[first + i]->released);
    // The box lets go of the form before anything is handed back.
    QCOMPARE(journal().first(), QStringLiteral("box detach"));
    QCOMPARE(journal().last(), QStringLiteral("box release"));

    r.ctrl->close_box();
    QCOMPARE(journal().count(QStringLiteral("box detach")), 1);
}

void test_dpi_switcher::form_carries_its_designer_names() {
    rig r;
    r.open();
    QWidget* form = r.form();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Form"));
    auto* container = form->findChild<QWidget*>(QStringLiteral("widget"));
    QVERIFY(container);
    QCOMPARE(container->layout()->objectName(), QStringLiteral("verticalLayout_2"));
    for (int step = 0; step < 5; ++step) {
        QWidget* row = r.row(step);
        QVERIFY(row);
        QCOMPARE(row->parentWidget(), container);
        QCOMPARE(row->layout()->objectName(), QStringLiteral("horizontalLayout_%1").arg(step + 2));
        QCOMPARE(r.check_box(step)->parentWidget(), row);
        QCOMPARE(r.number_box(step)->parentWidget(), row);
        QVERIFY(row->findChild<QWidget*>(QStringLiteral("wg_slider_%1").arg(step + 1)));
        QVERIFY(r.number_box(step)->styleSheet().contains(QLatin1String("Typin_field.png")));
        QCOMPARE(r.number_box(step)->font().family(), QStringLiteral("EurostileHea"));
        QCOMPARE(r.number_box(step)->font().pixelSize(), 12);
    }
}

void test_dpi_switcher::works_without_a_host() {
    quil_exit_module();
    quil_init_module(nullptr);
    const int created_before = m_host->created.size();
    {
        rig r;
        r.open();
        QVERIFY(r.form());
        QVERIFY(r.form()->isVisible());
        QCOMPARE(r.recorder.reports.size(), 5);
        r.recorder.reports.clear();

        QTest::mouseClick(r.check_box(2), Qt::LeftButton);
        QTest::mouseClick(r.row(4), Qt::LeftButton, {}, QPoint(5, 25));
        type_into(r.number_box(4), QStringLiteral("900"));
        QCOMPARE(r.recorder.reports, (QStringList{"enabled 2 0", "active 4", "dpi 4 900"}));
        r.ctrl->close_box();
        QVERIFY(!r.form());
    }
    QCOMPARE(m_host->created.size(), created_before);
    quil_init_module(m_host);
}

QTEST_MAIN(test_dpi_switcher)
#include "test_dpi_switcher.moc"
