// The main page against a recording host: the controls it creates, how values flow
// between them, the current profile and the hub, resets, refreshes and its form.
#include "common/utilities.h"
#include "controls/dpi_ctrl_funcs.h"
#include "controls_test_support.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_white_kernel.h"
#include "pages/main_ctrl.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace test_support;

namespace {

// A kernel attached to the recording host, with its main page.
struct rig {
    std::unique_ptr<QWidget> parent;
    zarek_white_kernel_c* kernel;
    component_host* host;
    dpi_recorder recorder; // hears the DPI switcher
    rig(component_host* h, const QString& favourites_file)
        : parent(std::make_unique<QWidget>())
        , kernel(new zarek_white_kernel_c)
        , host(h) {
        parent->resize(1002, 700);
        parent->show();
        data()->set_favourites_file(favourites_file);
        kernel->attach(&host->center, parent.get());
        connect_listener(page()->ctrl_funcs(ctrl_type::dpi_switcher),
                         static_cast<listener_i*>(&recorder));
    }
    ~rig() {
        kernel->release();
        host->value_ctrls.clear();
    }

    zarek_data_c* data() const { return kernel->data(); }
    product_function_page_i* page() const { return kernel->page(page_type::main); }
    // The page hands out the host's controls as they are.
    fake_value_ctrl* value_ctrl(int32_t type) const {
        return static_cast<fake_value_ctrl*>(page()->ctrl_funcs(type));
    }
    dpi_ctrl_funcs_c* dpi() const {
        return static_cast<dpi_ctrl_funcs_c*>(page()->ctrl_funcs(ctrl_type::dpi_switcher));
    }
    listener_i* page_listener() const { return query<listener_i>(page()); }
    // What a kernel notification does: the page's listener update().
    void refresh() const { page_listener()->update(); }
    // Every slot's settings (33 bytes) and aux record (4 bytes), one after the other.
    QByteArray everything() const {
        QByteArray all;
        for (int slot = 0; slot < 5; ++slot)
            all += data()->settings(slot).to_bytes() + data()->aux(slot).to_bytes();
        return all;
    }
    // Every slot gets a pattern, sensitivity mode `mode`, X 3, Y 9, single 4, and steps on
    // 0, 2 and 4 at 1000 to 5000 with step 2 active.
    void preset(uint8_t mode) {
        for (int slot = 0; slot < 5; ++slot) {
            profile_settings_rec& s = data()->settings(slot);
            for (int i = 3; i < 33; ++i)
                s.b[i] = uint8_t(0x40 + slot * 8 + i);
            s.adv_sensitivity_mode() = mode;
            s.sensitivity_x() = 3;
            s.sensitivity_y() = 9;
            data()->aux(slot).single_sensitivity() = 4;
            s.dpi_mask() = 0x15;
            for (int step = 0; step < 5; ++step)
                s.set_dpi(step, uint16_t(1000 * (step + 1)));
            s.active_dpi_step() = 2;
        }
    }
    // Does what the action line says: a value control or the DPI switcher reports, or the
    // host asks for a reset.
    void act(const QString& line) {
        const QStringList w = line.split(QLatin1Char(' '));
        const int a = w.value(1).toInt();
        const int b = w.value(2).toInt();
        auto* dpi_listener = query<dpi_switcher_ctrl_funcs_listener_i>(page());
        if (w[0] == QLatin1String("value"))
            value_ctrl(a)->user_sets(b);
        else if (w[0] == QLatin1String("enabled"))
            dpi_listener->step_enabled_changed(a, b != 0);
        else if (w[0] == QLatin1String("dpi"))
            dpi_listener->step_dpi_changed(a, b);
        else if (w[0] == QLatin1String("active"))
            dpi_listener->active_step_changed(a);
        else if (w[0] == QLatin1String("profile"))
            page()->reset_profile(a, b != 0);
        else if (w[0] == QLatin1String("all"))
            page()->reset_all();
        else if (w[0] == QLatin1String("reset"))
            page()->reset_ctrl(page()->ctrl_funcs(a));
    }
    void open() {
        page()->set_parent_widget(parent.get());
        page()->open_page();
    }
    QWidget* form() const { return parent->findChild<QWidget*>(QStringLiteral("main_ctrl_fm_c")); }
};

// The DPI part of a settings record as the device reads it.
QByteArray dpi_bytes(uint8_t mask, const QList<uint16_t>& dpi, uint8_t active) {
    QByteArray b(1, char(mask));
    for (uint16_t v : dpi)
        b.append(char(v & 0xFF)).append(char(v >> 8));
    return b.append(char(active));
}

// Bytes written at `at` into a slot's settings and aux record (aux starts at 33).
struct patch {
    int slot, at;
    QByteArray bytes;
};
using patches = QList<patch>;

} // namespace

Q_DECLARE_METATYPE(patches)

class test_main_page : public QObject {
    Q_OBJECT

    component_host* m_host = nullptr;
    QTemporaryDir m_dir;
    QString favourites() const { return m_dir.filePath(QStringLiteral("favorites.ini")); }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        m_host = new component_host;
        quil_init_module(m_host);
    }
    void cleanupTestCase() {
        quil_exit_module();
        delete m_host;
    }
    void init() {
        journal().clear();
        m_host->created.clear();
        m_host->missing_types.clear();
        m_host->center.slot = 0xFF;
        m_host->hub.bytes = {1, 0, 1, 3, 4, 5, 0};
    }

    // A control the host does not offer is left out; the others follow in order.
    void init_creates_controls_in_order() {
        m_host->missing_types = {ctrl_type::v_scroll};
        rig r(m_host, favourites());
        const QList<int32_t> classes = {0x101, 0x201, 0x301, 0x501, 0x601};
        QCOMPARE(m_host->created.mid(m_host->created.indexOf(0x101), 5), classes);
        // Sensitivity and pointer speed run -5..5, the others 1..10.
        QStringList expected;
        for (const QString& c : QStringList{"ctrl 0 %1", "ctrl 2 %1", "ctrl 4 %1", "ctrl 5 %1"})
            expected << c.arg("set_context")
                     << c.arg(c[5] < QLatin1Char('4') ? "setup 5 -5 1 1" : "setup 10 1 1 1")
                     << c.arg("add_listener page") << c.arg("add_listener hub");
        QCOMPARE(entries({"ctrl "}), expected);
        QVERIFY(!r.page()->ctrl_funcs(ctrl_type::v_scroll));
        QVERIFY(same_object(r.dpi()->kernel(), static_cast<product_kernel_i*>(r.kernel)));
        QCOMPARE(r.dpi()->listeners().first(), r.page_listener());
    }

    // What reaches the profile from value reports, DPI reports and resets: only the bytes
    // of the page's part in the slot the host shows (slot 0 when it shows none); what the
    // hub heard and was asked to reset; and what the controls show afterwards.
    void page_writes_only_its_part_data() {
        QTest::addColumn<uint8_t>("host_slot");
        QTest::addColumn<uint8_t>("mode");
        QTest::addColumn<QString>("action");
        QTest::addColumn<patches>("changes");
        QTest::addColumn<QStringList>("hub");
        QTest::addColumn<QString>("shown");
        const QList<uint16_t> steps = {1000, 2000, 3000, 4000, 5000};
        const uint8_t none = 0xFF;
        const QStringList quiet_hub;
        const QString nothing_shown;
        // Sensitivity -5..+5 is stored as 1..11: as X, Y and single with one value (mode 0),
        // as the remembered single value only with separate axes (mode 1).
        QTest::addRow("sensitivity -5, one value, no slot shown")
            << none << uint8_t(0) << "value 0 -5" << patches{{0, 4, "\x01\x01"}, {0, 34, "\x01"}}
            << QStringList{"hub value 0 -5"} << nothing_shown;
        QTest::addRow("sensitivity +5, one value, slot 2")
            << uint8_t(2) << uint8_t(0) << "value 0 5"
            << patches{{2, 4, "\x0b\x0b"}, {2, 34, "\x0b"}} << QStringList{"hub value 0 5"}
            << nothing_shown;
        QTest::addRow("sensitivity -5, separate axes, slot 4")
            << uint8_t(4) << uint8_t(1) << "value 0 -5" << patches{{4, 34, "\x01"}}
            << QStringList{"hub value 0 -5"} << nothing_shown;
        QTest::addRow("vertical scroll is the hub's")
            << none << uint8_t(0) << "value 3 7" << patches{} << QStringList{"hub value 3 7"}
            << nothing_shown;
        // DPI reports are stored as they come, and nothing else happens.
        QTest::addRow("step 4 off, slot 3")
            << uint8_t(3) << uint8_t(0) << "enabled 4 0"
            << patches{{3, 6, dpi_bytes(0x05, steps, 2)}} << quiet_hub << nothing_shown;
        QTest::addRow("step 0 at 12000, slot 1")
            << uint8_t(1) << uint8_t(0) << "dpi 0 12000"
            << patches{{1, 6, dpi_bytes(0x15, {12000, 2000, 3000, 4000, 5000}, 2)}} << quiet_hub
            << nothing_shown;
        QTest::addRow("step 4 active, slot 4")
            << uint8_t(4) << uint8_t(0) << "active 4" << patches{{4, 6, dpi_bytes(0x15, steps, 4)}}
            << quiet_hub << nothing_shown;
        // A reset gives mode 0, X, Y and single 6, all five steps on at 800, 1600, 3200,
        // 6400 and 12000 with step 0 active; the hub resets its own settings.
        auto reset = [](int slot) {
            return patches{{slot, 3, QByteArray("\x00\x06\x06", 3)},
                           {slot, 6, dpi_bytes(0x1F, {800, 1600, 3200, 6400, 12000}, 0)},
                           {slot, 34, "\x06"}};
        };
        const QStringList hub_resets = {"hub reset 2", "hub reset 3", "hub reset 4", "hub reset 5"};
        QTest::addRow("profile 2, page part only")
            << none << uint8_t(1) << "profile 2 0" << reset(2) << quiet_hub << nothing_shown;
        QTest::addRow("profile 4, whole")
            << none << uint8_t(1) << "profile 4 1" << reset(4) << hub_resets << nothing_shown;
        QTest::addRow("profile 5 is no slot")
            << none << uint8_t(1) << "profile 5 1" << patches{} << quiet_hub << nothing_shown;
        // ...and a reset of everything shows every value again (slot 0 shown; the fake
        // hub keeps its bytes 1 0 1 3 4 5 0 whatever it is asked).
        QTest::addRow("everything")
            << none << uint8_t(1) << "all" << reset(0) + reset(1) + reset(2) + reset(3) + reset(4)
            << hub_resets + hub_resets + hub_resets + hub_resets + hub_resets
            << "0:0 2:0 3:3 4:4 5:5";
        // A control's reset touches the slot shown, then shows the control's value again.
        QTest::addRow("reset sensitivity, slot 3")
            << uint8_t(3) << uint8_t(1) << "reset 0"
            << patches{{3, 3, QByteArray("\x00\x06\x06", 3)}, {3, 34, "\x06"}} << quiet_hub
            << "0:0";
        QTest::addRow("reset double click") << uint8_t(3) << uint8_t(1) << "reset 5" << patches{}
                                            << QStringList{"hub reset 5"} << "5:5";
    }
    void page_writes_only_its_part() {
        QFETCH(uint8_t, host_slot);
        QFETCH(uint8_t, mode);
        QFETCH(QString, action);
        QFETCH(patches, changes);
        QFETCH(QStringList, hub);
        QFETCH(QString, shown);
        rig r(m_host, favourites());
        r.preset(mode);
        m_host->center.slot = host_slot;
        QByteArray expected = r.everything();
        for (const patch& p : changes)
            expected.replace(p.slot * 37 + p.at, p.bytes.size(), p.bytes);
        for (fake_value_ctrl* ctrl : qAsConst(m_host->value_ctrls))
            ctrl->shown.reset();
        journal().clear();
        r.act(action);
        QCOMPARE(r.everything(), expected);
        // The hub's settings are its own to order; what counts is what it heard.
        QStringList heard = entries({"hub "});
        heard.sort();
        hub.sort();
        QCOMPARE(heard, hub);
        QStringList now_shown;
        for (int32_t type : {0, 2, 3, 4, 5}) {
            fake_value_ctrl* ctrl = r.value_ctrl(type);
            if (ctrl->shown)
                now_shown << QStringLiteral("%1:%2").arg(type).arg(*ctrl->shown);
            // A refreshed control also learns it is no favourite here.
            QCOMPARE(ctrl->favorite.value_or(false), false);
        }
        QCOMPARE(now_shown.join(QLatin1Char(' ')), shown);
    }

    void refresh_pushes_values_in_type_order() {
        rig r(m_host, favourites());
        // The form opens with the shown profile's steps: all five on.
        r.data()->settings(0).dpi_mask() = 0x1F;
        r.open();
        m_host->center.slot = 1;
        r.preset(0);
        // Pointer speed -3 is kept as a signed byte.
        m_host->hub.bytes = {1, 0, 1, 7, 8, 9, 0xFD};
        r.data()->favourites() = {3, 1};
        journal().clear();

        r.refresh();

        // Type order; only the changed states of steps 1 and 3 are reported, and the
        // switcher's favourite mark ends the DPI part.
        const QStringList expected = {
            "ctrl 0 set_value -3", "ctrl 0 favorite 0",       "enabled 1 0",
            "enabled 3 0",         "box set_favorite_mark 1", "ctrl 2 set_value -3",
            "ctrl 2 hub_byte_0 1", "ctrl 2 hub_byte_1 0",     "ctrl 2 favorite 0",
            "ctrl 3 set_value 7",  "ctrl 3 hub_byte_2 1",     "ctrl 3 favorite 1",
            "ctrl 4 set_value 8",  "ctrl 4 favorite 0",       "ctrl 5 set_value 9",
            "ctrl 5 favorite 0"};
        QCOMPARE(entries({"ctrl ", "enabled", "box set_favorite_mark 1"}), expected);
        QCOMPARE(r.dpi()->active_step(), 2);
        QCOMPARE(r.dpi()->step_dpi(4), 5000);
        // The values the form showed came back unchanged.
        QCOMPARE(r.data()->settings(1).to_bytes().mid(6, 12),
                 dpi_bytes(0x15, {1000, 2000, 3000, 4000, 5000}, 2));
    }

    void refresh_edges() {
        rig r(m_host, favourites());
        // With separate axes the remembered single value is shown; a kernel notification
        // refreshes the slot the host shows, not the kernel's.
        profile_settings_rec& s = r.data()->settings(0);
        s.adv_sensitivity_mode() = 1;
        s.sensitivity_x() = 2;
        r.data()->aux(0).single_sensitivity() = 11;
        r.kernel->set_current_profile(1);
        QCOMPARE(r.value_ctrl(ctrl_type::sensitivity)->shown, std::optional<int32_t>(5));
    }

    // Opening boxes hands the DPI switcher's steps back to the page, which stores
    // them: a host that moved its slot without telling must not get another
    // profile's steps written over the one it shows.
    void opening_the_page_stores_nothing_stale() {
        rig r(m_host, favourites());
        r.preset(0);
        r.data()->settings(0).dpi_mask() = 0x1F;
        r.refresh();
        QVERIFY(r.dpi()->is_step_enabled(1));
        m_host->center.slot = 1;
        const QByteArray before = r.everything();
        r.open();
        QCOMPARE(r.everything(), before);
        QVERIFY(!r.dpi()->is_step_enabled(1));
        QCOMPARE(r.dpi()->active_step(), 2);
    }

    void form_puts_boxes_into_panels_lays_them_out_and_closes_them() {
        rig r(m_host, favourites());
        r.parent->resize(1202, 700);
        journal().clear();
        r.open();
        QWidget* form = r.form();
        // Boxes go into their panels in panel order.
        QCOMPARE(entries({"ctrl [0-9] create_box", "box attach"}),
                 (QStringList{"ctrl 0 create_box wg_sen", "box attach wg_dpi",
                              "ctrl 3 create_box wg_v_scroll", "ctrl 4 create_box wg_h_scroll",
                              "ctrl 5 create_box wg_db_click", "ctrl 2 create_box wg_pointer"}));
        // Width 1202: columns at 10 and 606, each 586 wide; the taller column ends at 526.
        const std::pair<const char*, QRect> panels[] = {
            {"wg_sen", {10, 10, 586, 100}},       {"wg_dpi", {606, 10, 586, 346}},
            {"wg_v_scroll", {10, 120, 586, 126}}, {"wg_h_scroll", {10, 256, 586, 100}},
            {"wg_db_click", {10, 366, 586, 120}}, {"wg_pointer", {606, 366, 586, 150}}};
        QTRY_COMPARE(form->findChild<QWidget*>(QStringLiteral("wg_dpi"))->x(), 606);
        for (const auto& [name, rect] : panels)
            QCOMPARE(form->findChild<QWidget*>(QLatin1String(name))->geometry(), rect);
        QCOMPARE(form->minimumHeight(), 526);

        journal().clear();
        r.page()->close_page();
        QVERIFY(!r.form());
        QCOMPARE(entries({"ctrl ", "box detach"}).size(), 6); // every box closed
    }

    void destruction_order() {
        rig r(m_host, favourites());
        r.open();
        journal().clear();
        r.kernel->release();
        r.kernel = new zarek_white_kernel_c;
        // Type order; the sensitivity stops listening first, the DPI switcher's box goes
        // with the page's own control.
        QStringList expected = {"ctrl 0 remove_listener", "ctrl 0 close_box", "ctrl 0 release",
                                "box detach"};
        for (int type : {2, 3, 4, 5})
            expected << QStringLiteral("ctrl %1 close_box").arg(type)
                     << QStringLiteral("ctrl %1 release").arg(type);
        QCOMPARE(entries({"ctrl ", "box detach"}), expected);
        // The DPI switcher told its remaining listener that it went away.
        QVERIFY(r.recorder.closed);
    }
};

QTEST_MAIN(test_main_page)
#include "test_main_page.moc"
