// The main page against a recording host: the controls it creates, how values flow
// between them, the current profile and the hub, resets, refreshes and its form.
#include "common/utilities.h"
#include "controls/dpi_ctrl_funcs.h"
#include "controls_test_support.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_white_kernel.h"
#include "pages/main_ctrl.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace test_support;

namespace {

// A kernel attached to the recording host, with its main page.
struct rig {
    std::unique_ptr<QWidget> parent;
    zarek_white_kernel_c* kernel;
    fake_host* host;

    rig(fake_host* h, const QString& favourites_file)
        : parent(std::make_unique<QWidget>())
        , kernel(new zarek_white_kernel_c)
        , host(h) {
        parent->resize(1002, 700);
        parent->show();
        data()->set_favourites_file(favourites_file);
        kernel->attach(&host->center, parent.get());
    }
    ~rig() {
        kernel->release();
        host->value_ctrls.clear();
    }

    zarek_data_c* data() const { return kernel->data(); }
    product_function_page_i* page() const { return kernel->page(page_type::main); }
    fake_value_ctrl* value_ctrl(int32_t type) const {
        for (fake_value_ctrl* c : host->value_ctrls) {
            if (c->type == type)
                return c;
        }
        return nullptr;
    }
    dpi_ctrl_funcs_c* dpi() const {
        return static_cast<dpi_ctrl_funcs_c*>(page()->ctrl_funcs(ctrl_type::dpi_switcher));
    }
    listener_i* page_listener() const { return query<listener_i>(page()); }
    product_kernel_i* kernel_i() const { return kernel; }
    // What a kernel notification does: the page's listener update().
    void refresh() const { page_listener()->update(); }
    QByteArray settings(int slot) const { return data()->settings(slot).to_bytes(); }
    QByteArray aux(int slot) const { return data()->aux(slot).to_bytes(); }
    QByteArray everything() const {
        QByteArray all;
        for (int slot = 0; slot < 5; ++slot)
            all += settings(slot) + aux(slot);
        return all;
    }
    // Fills every slot's settings and aux record with a recognisable pattern.
    void scribble() {
        for (int slot = 0; slot < 5; ++slot) {
            profile_settings_rec& s = data()->settings(slot);
            for (int i = 3; i < 33; ++i)
                s.b[i] = uint8_t(0x40 + slot * 8 + i);
            data()->aux(slot).single_sensitivity() = uint8_t(0x30 + slot);
        }
    }
    void open() {
        page()->set_parent_widget(parent.get());
        page()->open_page();
    }
    QWidget* form() const { return parent->findChild<QWidget*>(QStringLiteral("main_ctrl_fm_c")); }
};

// The DPI part of a settings record as the device reads it.
QByteArray dpi_bytes(uint8_t mask, std::initializer_list<uint16_t> dpi, uint8_t active) {
    QByteArray b;
    b.append(char(mask));
    for (uint16_t v : dpi) {
        b.append(char(v & 0xFF));
        b.append(char(v >> 8));
    }
    b.append(char(active));
    return b;
}

} // namespace

class test_main_page : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void init_creates_controls_in_order_data();
    void init_creates_controls_in_order();
    void init_without_host_creates_nothing();
    void sensitivity_is_stored_by_mode_data();
    void sensitivity_is_stored_by_mode();
    void other_values_are_left_to_the_hub();
    void resets_data();
    void resets();
    void reset_ctrl_resets_and_refreshes_the_current_slot_data();
    void reset_ctrl_resets_and_refreshes_the_current_slot();
    void dpi_reports_write_the_current_slot_data();
    void dpi_reports_write_the_current_slot();
    void dpi_form_edits_reach_the_profile();
    void refresh_pushes_values_in_type_order();
    void refresh_shows_single_sensitivity_with_separate_axes();
    void refresh_needs_a_hub();
    void kernel_notifications_refresh_the_page();
    void tab_button_follows_the_language();
    void form_puts_boxes_into_panels_and_lays_them_out();
    void closing_the_page_closes_every_box();
    void destruction_order();

private:
    fake_host* m_host = nullptr;
    QTemporaryDir m_dir;
    QString favourites() const { return m_dir.filePath(QStringLiteral("favorites.ini")); }
};

void test_main_page::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    m_host = new fake_host;
    quil_init_module(m_host);
}

void test_main_page::cleanupTestCase() {
    quil_exit_module();
    delete m_host;
}

void test_main_page::init() {
    journal().clear();
    m_host->created.clear();
    m_host->missing_types.clear();
    m_host->valueless_types.clear();
    m_host->center.slot = 0xFF;
    m_host->center.has_hub = true;
    m_host->center.hub.offers_bytes = true;
    m_host->center.hub.resets.clear();
    m_host->center.hub.bytes = {1, 0, 1, 3, 4, 5, 0};
}

void test_main_page::init_creates_controls_in_order_data() {
    QTest::addColumn<QList<int32_t>>("missing");
    QTest::addColumn<QList<int32_t>>("valueless");
    QTest::addRow("every control offered") << QList<int32_t>() << QList<int32_t>();
    QTest::addRow("no vertical scroll") << QList<int32_t>{3} << QList<int32_t>();
    QTest::addRow("horizontal scroll without value interface")
        << QList<int32_t>() << QList<int32_t>{4};
}

void test_main_page::init_creates_controls_in_order() {
    QFETCH(QList<int32_t>, missing);
    QFETCH(QList<int32_t>, valueless);
    m_host->missing_types = missing;
    m_host->valueless_types = valueless;
    rig r(m_host, favourites());

    const QList<int32_t> classes = {0x101, 0x201, 0x301, 0x501, 0x601};
    QCOMPARE(m_host->created.mid(m_host->created.indexOf(0x101), 5), classes);

    const QList<int32_t> setups[] = {{0, 5, -5}, {2, 5, -5}, {3, 10, 1}, {4, 10, 1}, {5, 10, 1}};
    QStringList expected;
    for (const QList<int32_t>& s : setups) {
        const int32_t type = s[0];
        if (missing.contains(type))
            continue;
        const QString c = QStringLiteral("ctrl %1 ").arg(type);
        expected << c + "set_context";
        if (!valueless.contains(type))
            expected << c + QStringLiteral("setup %1 %2 1 1").arg(s[1]).arg(s[2]);
        expected << c + "add_listener page" << c + "add_listener hub";
    }
    QCOMPARE(entries(QStringLiteral("ctrl ")), expected);

    for (int32_t type : {0, 2, 3, 4, 5}) {
        ctrl_funcs_i* ctrl = r.page()->ctrl_funcs(type);
        QCOMPARE(ctrl == nullptr, missing.contains(type));
        if (!ctrl)
            continue;
        fake_value_ctrl* fake = r.value_ctrl(type);
        QCOMPARE(ctrl, static_cast<ctrl_funcs_i*>(fake));
        QVERIFY(same_object(fake->kernel, r.kernel_i()));
        QVERIFY(same_object(fake->page, r.page()));
    }
    dpi_ctrl_funcs_c* dpi = r.dpi();
    QVERIFY(dpi);
    QCOMPARE(dpi->ctrl_type(), 1);
    QVERIFY(same_object(dpi->kernel(), r.kernel_i()));
    QCOMPARE(dpi->listeners(), QList<listener_i*>{r.page_listener()});
    QVERIFY(!r.page()->ctrl_funcs(6));
    QCOMPARE(r.page()->page_id(), 0);
}

void test_main_page::init_without_host_creates_nothing() {
    quil_exit_module();
    quil_init_module(nullptr);
    auto* kernel = new zarek_white_kernel_c;
    auto* page = new main_ctrl_c(kernel);
    page->init();
    for (int32_t type = 0; type <= 5; ++type)
        QVERIFY(!page->ctrl_funcs(type));
    // Nothing to write into without controls, and nothing breaks either.
    page->reset_all();
    page->update();
    page->release();
    kernel->release();
    quil_init_module(m_host);
    QCOMPARE(m_host->created, QList<int32_t>());
}

void test_main_page::sensitivity_is_stored_by_mode_data() {
    QTest::addColumn<uint8_t>("host_slot");
    QTest::addColumn<int>("slot");
    QTest::addColumn<uint8_t>("mode");
    QTest::addColumn<int>("shown");
    QTest::addColumn<uint8_t>("x");
    QTest::addColumn<uint8_t>("y");
    QTest::addColumn<uint8_t>("single");
    // Before: X 3, Y 9, remembered single 4.
    QTest::addRow("one value, lowest")
        << uint8_t(0xFF) << 0 << uint8_t(0) << -5 << uint8_t(1) << uint8_t(1) << uint8_t(1);
    QTest::addRow("one value, highest")
        << uint8_t(0xFF) << 0 << uint8_t(0) << 5 << uint8_t(11) << uint8_t(11) << uint8_t(11);
    QTest::addRow("one value, neutral")
        << uint8_t(2) << 2 << uint8_t(0) << 0 << uint8_t(6) << uint8_t(6) << uint8_t(6);
    QTest::addRow("separate axes, lowest")
        << uint8_t(0xFF) << 0 << uint8_t(1) << -5 << uint8_t(3) << uint8_t(9) << uint8_t(1);
    QTest::addRow("separate axes, highest")
        << uint8_t(4) << 4 << uint8_t(1) << 5 << uint8_t(3) << uint8_t(9) << uint8_t(11);
}

void test_main_page::sensitivity_is_stored_by_mode() {
    QFETCH(uint8_t, host_slot);
    QFETCH(int, slot);
    QFETCH(uint8_t, mode);
    QFETCH(int, shown);
    QFETCH(uint8_t, x);
    QFETCH(uint8_t, y);
    QFETCH(uint8_t, single);
    rig r(m_host, favourites());
    for (int s = 0; s < 5; ++s) {
        profile_settings_rec& settings = r.data()->settings(s);
        settings.adv_sensitivity_mode() = mode;
        settings.sensitivity_x() = 3;
        settings.sensitivity_y() = 9;
        r.data()->aux(s).single_sensitivity() = 4;
    }
    m_host->center.slot = host_slot;
    const QByteArray before = r.everything();

    r.value_ctrl(ctrl_type::sensitivity)->user_sets(shown);

    profile_settings_rec& settings = r.data()->settings(slot);
    QCOMPARE(settings.sensitivity_x(), x);
    QCOMPARE(settings.sensitivity_y(), y);
    QCOMPARE(r.data()->aux(slot).single_sensitivity(), single);
    QCOMPARE(settings.adv_sensitivity_mode(), mode);
    // No other slot and no other byte moves.
    for (int s = 0; s < 5; ++s) {
        if (s == slot)
            continue;
        QCOMPARE(r.settings(s), before.mid(s * 37, 33));
        QCOMPARE(r.aux(s), before.mid(s * 37 + 33, 4));
    }
    QCOMPARE(r.settings(slot).mid(6), before.mid(slot * 37 + 6, 27));
    // The hub hears the same value and decides for itself.
    QCOMPARE(entries(QStringLiteral("hub value")),
             QStringList{QStringLiteral("hub value 0 %1").arg(shown)});
}

void test_main_page::other_values_are_left_to_the_hub() {
    rig r(m_host, favourites());
    r.scribble();
    const QByteArray before = r.everything();
    for (int32_t type : {2, 3, 4, 5})
        r.value_ctrl(type)->user_sets(7);
    QCOMPARE(r.everything(), before);
    QCOMPARE(entries(QStringLiteral("hub value")),
             (QStringList{"hub value 2 7", "hub value 3 7", "hub value 4 7", "hub value 5 7"}));
}

void test_main_page::resets_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QList<int>>("reset_slots");
    QTest::addColumn<QList<int32_t>>("hub_resets");
    QTest::addRow("profile 2, page part only")
        << "profile 2 part" << QList<int>{2} << QList<int32_t>();
    QTest::addRow("profile 4, whole")
        << "profile 4 whole" << QList<int>{4} << QList<int32_t>{2, 3, 4, 5};
    QTest::addRow("profile 5 is no slot") << "profile 5 whole" << QList<int>() << QList<int32_t>();
    QTest::addRow("profile -1 is no slot")
        << "profile -1 whole" << QList<int>() << QList<int32_t>();
    QTest::addRow("everything") << "all" << QList<int>{0, 1, 2, 3, 4}
                                << QList<int32_t>{2, 3, 4, 5, 2, 3, 4, 5, 2, 3,
                                                  4, 5, 2, 3, 4, 5, 2, 3, 4, 5};
}

void test_main_page::resets() {
    QFETCH(QString, how);
    QFETCH(QList<int>, reset_slots);
    QFETCH(QList<int32_t>, hub_resets);
    rig r(m_host, favourites());
    r.scribble();
    const QByteArray before = r.everything();

    if (how == QLatin1String("all")) {
        r.page()->reset_all();
    } else {
        const QStringList parts = how.split(' ');
        r.page()->reset_profile(parts[1].toInt(), parts[2] == QLatin1String("whole"));
    }

    QCOMPARE(m_host->center.hub.resets, hub_resets);
    for (int slot = 0; slot < 5; ++slot) {
        const QByteArray settings = r.settings(slot);
        const QByteArray old_settings = before.mid(slot * 37, 33);
        if (!reset_slots.contains(slot)) {
            QCOMPARE(settings, old_settings);
            QCOMPARE(r.aux(slot), before.mid(slot * 37 + 33, 4));
            continue;
        }
        // Mode 0, X and Y 6, then five steps on: 800 1600 3200 6400 12000, step 0 active.
        QCOMPARE(settings.mid(3, 3), QByteArray("\x00\x06\x06", 3));
        QCOMPARE(settings.mid(6, 12), dpi_bytes(0x1F, {800, 1600, 3200, 6400, 12000}, 0));
        QCOMPARE(int(uint8_t(r.aux(slot)[1])), 6);
        // The head, the polling rate, the lighting and the advanced pair stay.
        QCOMPARE(settings.left(3), old_settings.left(3));
        QCOMPARE(settings.mid(18), old_settings.mid(18));
        QCOMPARE(r.aux(slot).mid(2), before.mid(slot * 37 + 35, 2));
    }
}

void test_main_page::reset_ctrl_resets_and_refreshes_the_current_slot_data() {
    QTest::addColumn<int32_t>("type");
    QTest::addColumn<QStringList>("calls");
    QTest::addRow("sensitivity") << int32_t(0)
                                 << QStringList{"ctrl 0 set_value 0", "ctrl 0 favorite 0"};
    QTest::addRow("pointer speed")
        << int32_t(2)
        << QStringList{"hub reset 2", "ctrl 2 set_value 0", "ctrl 2 hub_byte_0 1",
                       "ctrl 2 hub_byte_1 0", "ctrl 2 favorite 0"};
    QTest::addRow("double click") << int32_t(5)
                                  << QStringList{"hub reset 5", "ctrl 5 set_value 5",
                                                 "ctrl 5 favorite 0"};
}

void test_main_page::reset_ctrl_resets_and_refreshes_the_current_slot() {
    QFETCH(int32_t, type);
    QFETCH(QStringList, calls);
    rig r(m_host, favourites());
    r.scribble();
    m_host->center.slot = 3;
    const QByteArray before = r.everything();
    journal().clear();

    r.page()->reset_ctrl(r.page()->ctrl_funcs(type));
    QCOMPARE(journal(), calls);
    for (int slot = 0; slot < 5; ++slot) {
        if (slot == 3 && type == 0)
            continue;
        QCOMPARE(r.settings(slot), before.mid(slot * 37, 33));
    }
    if (type == 0) {
        QCOMPARE(r.settings(3).mid(3, 3), QByteArray("\x00\x06\x06", 3));
        QCOMPARE(r.settings(3).mid(6), before.mid(3 * 37 + 6, 27));
    }
}

void test_main_page::dpi_reports_write_the_current_slot_data() {
    QTest::addColumn<uint8_t>("host_slot");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QByteArray>("dpi_part");
    // Before: mask 0x15, steps 1000..5000, step 2 active.
    QTest::addRow("no slot: step 1 on") << uint8_t(0xFF) << 0 << "enabled 1 1"
                                        << dpi_bytes(0x17, {1000, 2000, 3000, 4000, 5000}, 2);
    QTest::addRow("slot 3: step 4 off")
        << uint8_t(3) << 3 << "enabled 4 0" << dpi_bytes(0x05, {1000, 2000, 3000, 4000, 5000}, 2);
    QTest::addRow("slot 1: step 0 dpi 12000")
        << uint8_t(1) << 1 << "dpi 0 12000" << dpi_bytes(0x15, {12000, 2000, 3000, 4000, 5000}, 2);
    QTest::addRow("no slot: step 4 dpi 4650")
        << uint8_t(0xFF) << 0 << "dpi 4 4650" << dpi_bytes(0x15, {1000, 2000, 3000, 4000, 4650}, 2);
    QTest::addRow("slot 4: step 4 active")
        << uint8_t(4) << 4 << "active 4" << dpi_bytes(0x15, {1000, 2000, 3000, 4000, 5000}, 4);
    QTest::addRow("step 5 is no step")
        << uint8_t(0xFF) << 0 << "dpi 5 900" << dpi_bytes(0x15, {1000, 2000, 3000, 4000, 5000}, 2);
    QTest::addRow("step -1 is no step")
        << uint8_t(2) << 2 << "enabled -1 0" << dpi_bytes(0x15, {1000, 2000, 3000, 4000, 5000}, 2);
}

void test_main_page::dpi_reports_write_the_current_slot() {
    QFETCH(uint8_t, host_slot);
    QFETCH(int, slot);
    QFETCH(QString, op);
    QFETCH(QByteArray, dpi_part);
    rig r(m_host, favourites());
    r.scribble();
    for (int s = 0; s < 5; ++s) {
        profile_settings_rec& settings = r.data()->settings(s);
        settings.dpi_mask() = 0x15;
        for (int step = 0; step < 5; ++step)
            settings.set_dpi(step, uint16_t(1000 * (step + 1)));
        settings.active_dpi_step() = 2;
    }
    m_host->center.slot = host_slot;
    const QByteArray before = r.everything();
    journal().clear();

    auto* listener = query<dpi_switcher_ctrl_funcs_listener_i>(r.page());
    QVERIFY(listener);
    const QStringList parts = op.split(' ');
    if (parts[0] == QLatin1String("enabled"))
        listener->step_enabled_changed(parts[1].toInt(), parts[2] == QLatin1String("1"));
    else if (parts[0] == QLatin1String("dpi"))
        listener->step_dpi_changed(parts[1].toInt(), parts[2].toInt());
    else
        listener->active_step_changed(parts[1].toInt());

    QCOMPARE(r.settings(slot).mid(6, 12), dpi_part);
    QCOMPARE(r.settings(slot).left(6), before.mid(slot * 37, 6));
    QCOMPARE(r.settings(slot).mid(18), before.mid(slot * 37 + 18, 15));
    for (int s = 0; s < 5; ++s) {
        if (s != slot)
            QCOMPARE(r.settings(s), before.mid(s * 37, 33));
    }
    // Stored, and nothing else: no refresh, no notification.
    QCOMPARE(journal(), QStringList());
}

void test_main_page::dpi_form_edits_reach_the_profile() {
    rig r(m_host, favourites());
    m_host->center.slot = 2;
    r.page()->reset_profile(2, false);
    r.refresh();
    r.open();
    QWidget* form = r.form();
    QVERIFY(form);

    QTest::mouseClick(form->findChild<QCheckBox*>(QStringLiteral("cb_dpi_4")), Qt::LeftButton);
    auto* box = form->findChild<QSpinBox*>(QStringLiteral("sb_value_2"));
    box->clear();
    QTest::keyClicks(box, QStringLiteral("2400"));
    QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("wg_slider_box_5")), Qt::LeftButton,
                      {}, QPoint(5, 25));

    QCOMPARE(r.settings(2).mid(6, 12), dpi_bytes(0x17, {800, 2400, 3200, 6400, 12000}, 4));
    QCOMPARE(r.settings(0).mid(6, 12), QByteArray(12, '\0'));
}

void test_main_page::refresh_pushes_values_in_type_order() {
    rig r(m_host, favourites());
    r.open();
    auto* dpi_listener = new dpi_recorder;
    connect_listener(static_cast<ctrl_funcs_i*>(r.dpi()), static_cast<listener_i*>(dpi_listener));
    m_host->center.slot = 1;
    profile_settings_rec& s = r.data()->settings(1);
    s.adv_sensitivity_mode() = 0;
    s.sensitivity_x() = 3;
    s.sensitivity_y() = 10;
    s.dpi_mask() = 0x1B;
    for (int step = 0; step < 5; ++step)
        s.set_dpi(step, uint16_t(400 * (step + 1)));
    s.active_dpi_step() = 3;
    // Pointer speed -3 is kept as a signed byte.
    m_host->center.hub.bytes = {1, 0, 1, 7, 8, 9, 0xFD};
    r.data()->favourites() = {3, 1};
    journal().clear();

    r.refresh();

    QStringList seen;
    for (const QString& line : journal()) {
        if (line.startsWith(QLatin1String("ctrl ")) || line.startsWith(QLatin1String("enabled")) ||
            line == QLatin1String("box set_favorite_mark 1"))
            seen << line;
    }
    const QStringList expected = {
        "ctrl 0 set_value -3",
        "ctrl 0 favorite 0",
        // Only the changed state of step 2 is reported; its favourite mark ends the DPI part.
        "enabled 2 0",
        "box set_favorite_mark 1",
        "ctrl 2 set_value -3",
        "ctrl 2 hub_byte_0 1",
        "ctrl 2 hub_byte_1 0",
        "ctrl 2 favorite 0",
        "ctrl 3 set_value 7",
        "ctrl 3 hub_byte_2 1",
        "ctrl 3 favorite 1",
        "ctrl 4 set_value 8",
        "ctrl 4 favorite 0",
        "ctrl 5 set_value 9",
        "ctrl 5 favorite 0",
    };
    QCOMPARE(seen, expected);
    dpi_switcher_ctrl_funcs_i* dpi = r.dpi();
    for (int step = 0; step < 5; ++step) {
        QCOMPARE(dpi->is_step_enabled(step), ((0x1B >> step) & 1) != 0);
        QCOMPARE(dpi->step_dpi(step), 400 * (step + 1));
    }
    QCOMPARE(dpi->active_step(), 3);
    QVERIFY(r.dpi()->is_favorite());
    // The values the form showed came back unchanged.
    QCOMPARE(r.settings(1).mid(6, 12), dpi_bytes(0x1B, {400, 800, 1200, 1600, 2000}, 3));
    disconnect_listener(static_cast<ctrl_funcs_i*>(r.dpi()),
                        static_cast<listener_i*>(dpi_listener));
    delete dpi_listener;
}

void test_main_page::refresh_shows_single_sensitivity_with_separate_axes() {
    rig r(m_host, favourites());
    profile_settings_rec& s = r.data()->settings(0);
    s.adv_sensitivity_mode() = 1;
    s.sensitivity_x() = 2;
    r.data()->aux(0).single_sensitivity() = 11;
    journal().clear();
    r.refresh();
    QCOMPARE(entries(QStringLiteral("ctrl 0 set_value")), QStringList{"ctrl 0 set_value 5"});
}

void test_main_page::refresh_needs_a_hub() {
    rig r(m_host, favourites());
    m_host->center.has_hub = false;
    r.data()->favourites() = {0, 1, 2};
    journal().clear();
    r.refresh();
    QCOMPARE(journal(), QStringList());
    QVERIFY(!r.dpi()->is_favorite());
}

void test_main_page::kernel_notifications_refresh_the_page() {
    rig r(m_host, favourites());
    r.data()->settings(0).sensitivity_x() = 8;
    journal().clear();
    r.kernel->set_current_profile(1);
    QCOMPARE(entries(QStringLiteral("ctrl 0 set_value")), QStringList{"ctrl 0 set_value 2"});
    QCOMPARE(entries(QStringLiteral("ctrl 5 favorite")).size(), 1);
}

void test_main_page::tab_button_follows_the_language() {
    rig r(m_host, favourites());
    std::unique_ptr<QPushButton> button(r.page()->create_tab_button());
    QCOMPARE(button->text(), QStringLiteral("T27"));
    QVERIFY(button->isCheckable());
    QCOMPARE(button->height(), 34);

    m_host->center.texts.prefix = QStringLiteral("Hauptseite ");
    query<language_listener_i>(r.page())->language_changed(&m_host->center, nullptr);
    m_host->center.texts.prefix = QStringLiteral("T");
    QCOMPARE(button->text(), QStringLiteral("Hauptseite 27"));
    QCOMPARE(button->width(), button->fontMetrics().horizontalAdvance(button->text()) + 48);
}

void test_main_page::form_puts_boxes_into_panels_and_lays_them_out() {
    rig r(m_host, favourites());
    r.parent->resize(1202, 700);
    journal().clear();
    r.open();
    QWidget* form = r.form();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Form"));
    QCOMPARE(entries(QStringLiteral("ctrl ")),
             (QStringList{"ctrl 0 create_box wg_sen", "ctrl 3 create_box wg_v_scroll",
                          "ctrl 4 create_box wg_h_scroll", "ctrl 5 create_box wg_db_click",
                          "ctrl 2 create_box wg_pointer"}));
    QVERIFY(journal().contains(QStringLiteral("box attach wg_dpi")));
    // Opening an open page does not build a second form.
    r.page()->open_page();
    QCOMPARE(form->parentWidget()->findChildren<QWidget*>(QStringLiteral("main_ctrl_fm_c")).size(),
             1);

    struct expected_panel {
        const char* name;
        int x, y, height;
    };
    // Width 1202: columns at 10 and 606, each 586 wide.
    const expected_panel panels[] = {
        {"wg_sen", 10, 10, 100},       {"wg_dpi", 606, 10, 346},      {"wg_v_scroll", 10, 120, 126},
        {"wg_h_scroll", 10, 256, 100}, {"wg_db_click", 10, 366, 120}, {"wg_pointer", 606, 366, 150},
    };
    QTRY_COMPARE(form->findChild<QWidget*>(QStringLiteral("wg_dpi"))->x(), 606);
    QCOMPARE(form->width(), 1202);
    for (const expected_panel& p : panels) {
        QWidget* panel = form->findChild<QWidget*>(QLatin1String(p.name));
        QVERIFY2(panel, p.name);
        QCOMPARE(panel->geometry(), QRect(p.x, p.y, 586, p.height));
        QCOMPARE(panel->minimumHeight(), p.height);
        QCOMPARE(panel->maximumHeight(), p.height);
        QVERIFY(panel->graphicsEffect());
    }
    // The taller column ends at 366 + 150 + 10.
    QCOMPARE(form->minimumHeight(), 526);
}

void test_main_page::closing_the_page_closes_every_box() {
    rig r(m_host, favourites());
    r.open();
    QVERIFY(r.form());
    journal().clear();
    r.page()->close_page();
    QVERIFY(!r.form());
    QVERIFY(!r.dpi()->form());
    QCOMPARE(entries(QStringLiteral("ctrl ")),
             (QStringList{"ctrl 0 close_box", "ctrl 3 close_box", "ctrl 4 close_box",
                          "ctrl 5 close_box", "ctrl 2 close_box"}));
    QVERIFY(journal().contains(QStringLiteral("box detach")));

    // A later opening builds a new form from the control's copy.
    r.page()->open_page();
    QVERIFY(r.form());
}

void test_main_page::destruction_order() {
    auto* recorder = new dpi_recorder;
    {
        rig r(m_host, favourites());
        r.open();
        connect_listener(static_cast<ctrl_funcs_i*>(r.dpi()), static_cast<listener_i*>(recorder));
        journal().clear();
        r.kernel->release();
        r.kernel = new zarek_white_kernel_c;
    }
    QStringList seen;
    for (const QString& line : journal()) {
        if (line.startsWith(QLatin1String("ctrl ")) || line == QLatin1String("box detach"))
            seen << line;
    }
    const QStringList expected = {
        "ctrl 0 remove_listener page",
        "ctrl 0 close_box",
        "ctrl 0 release",
        "box detach",
        "ctrl 2 close_box",
        "ctrl 2 release",
        "ctrl 3 close_box",
        "ctrl 3 release",
        "ctrl 4 close_box",
        "ctrl 4 release",
        "ctrl 5 close_box",
        "ctrl 5 release",
    };
    QCOMPARE(seen, expected);
    // The DPI switcher told its remaining listener that it went away.
    QVERIFY(recorder->closed);
    delete recorder;
}

QTEST_MAIN(test_main_page)
#include "test_main_page.moc"
