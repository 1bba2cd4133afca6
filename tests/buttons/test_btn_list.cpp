// The button list form over a real profile set, with the host's real menus and small
// scripted dialogs: rows and their labels, storing a chosen function with its side records,
// the double-block copy, the twin rule, the unfitted-position rule and relabelling.
#include "buttons/btn_list_fm.h"
#include "buttons/macro_store.h"
#include "host/components/menu.h"
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"
#include "module/global_func.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

// The host's service 6: timers and devices from lists a test fills.
class fake_catalogue_service final : public catalogue_service_i, public listener_mgr_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_catalogue_service_i)
            return static_cast<catalogue_service_i*>(this);
        if (iid == iid_listener_mgr_i)
            return static_cast<listener_mgr_i*>(this);
        return nullptr;
    }
    void release() override {}
    int32_t timer_count() override { return timers.size(); }
    uint32_t timer_identifier(int32_t i) override { return timers.value(i).first; }
    QString timer_name(int32_t i) override { return timers.value(i).second; }
    int32_t timer_index(uint32_t id) override {
        for (int i = 0; i < timers.size(); ++i) {
            if (timers[i].first == id)
                return i;
        }
        return -1;
    }
    int32_t device_count() override { return 0; }
    uint16_t device_product_id(int32_t) override { return 0; }
    uint16_t device_identifier(int32_t) override { return 0; }
    QString device_name(int32_t) override { return QString(); }
    int32_t device_index(uint16_t) override { return -1; }
    int32_t new_macro() override { return ++editor_requests, 0; }
    void add_listener(listener_i* l) override {
        if (!listeners.contains(l))
            listeners.append(l);
    }
    void remove_listener(listener_i* l) override { listeners.removeOne(l); }

    QList<QPair<uint32_t, QString>> timers;
    QList<listener_i*> listeners;
    int editor_requests = 0;
};

// Scripted answers of the host's dialogs.
struct script {
    int32_t answer = 1;
    uint8_t modifiers = 0;
    uint8_t key = 0;
    int32_t value = 0;
    QString address;
    int initial = -1;
    QList<int> ticks;
};
script g_script;

class scripted_hotkey final : public hotkey_dialog_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i || iid == iid_hotkey_dialog_i ? this : nullptr;
    }
    void release() override { delete this; }
    int32_t run(uint8_t* entry, int32_t code, int32_t) override {
        if (g_script.answer != 1)
            return 0;
        entry[0] = uint8_t(code), entry[1] = g_script.modifiers, entry[2] = g_script.key;
        return 1;
    }
};

class scripted_slider final : public value_slider_dialog_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i || iid == iid_value_slider_dialog_i ? this : nullptr;
    }
    void release() override { delete this; }
    void setup(int32_t, int32_t, int32_t, int32_t initial, int32_t, int32_t) override {
        g_script.initial = initial;
        g_script.ticks.clear();
    }
    void add_tick(int32_t value, const QString&, int32_t) override { g_script.ticks << value; }
    int32_t run() override { return g_script.answer; }
    int32_t value() override { return g_script.value; }
    void set_title(const QString&) override {}
};

class scripted_web final : public web_address_dialog_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i || iid == iid_web_address_dialog_i ? this : nullptr;
    }
    void release() override { delete this; }
    int32_t run() override { return g_script.answer; }
    QString address() override { return g_script.address; }
    void set_address(const QString&) override {}
};

struct owner final : btn_set_owner_i {
    product_kernel_i* kernel() const override { return k.get(); }
    zarek_data_c* profile_set() const override { return k->data(); }
    jigsawparent1* editor() const override { return nullptr; }
    void clear_select_all() override {}
    std::unique_ptr<zarek_black_kernel_c> k = std::make_unique<zarek_black_kernel_c>();
};

library_macro_rec library_macro(const QString& name, int keys) {
    library_macro_rec r;
    r.set_name(name);
    r.set_first_option_word(uint16_t(keys ? 1 : 5));
    r.set_key_count(uint16_t(keys));
    for (int i = 0; i < keys; ++i)
        r.set_key(i, {uint8_t(4 + i), 1, 0, uint32_t(20 * i)});
    return r;
}

} // namespace

class test_btn_list : public QObject {
    Q_OBJECT

    fake_host m_host;
    fake_hub m_hub;
    fake_library m_library;
    fake_catalogue_service m_service;
    std::unique_ptr<owner> m_owner;
    std::unique_ptr<btn_list_fm_c> m_list;
    QTemporaryDir m_install;

    zarek_data_c* data() { return m_owner->k->data(); }
    btn_entry entry(int i) { return data()->btn_assign(0).get(i); }
    void set(int i, btn_entry e) { data()->btn_assign(0).set(i, e); }
    QString label(int i) { return m_list->row_button(i)->text(); }
    menu_c* root() { return static_cast<menu_c*>(m_list->host_menu()); }

    // The side box's rows: positions 1..12 on both layers.
    void side_rows() {
        for (int p = 0; p < 12; ++p) {
            m_list->add_standard_row(p, 8 + p, true);
            m_list->add_alter_row(p, 28 + p, true);
        }
    }
    void set_layout(uint32_t value) {
        data()->layout(0).set_layout_value(value);
        m_list->reload();
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        m_host.center.texts.prefix = QStringLiteral("T");
        m_host.center.texts.table[1] = {{87, QStringLiteral("Linksklick")}};
        m_host.center.slot = 0;
        m_host.center.hub = &m_hub;
        m_host.center.services.insert(host_service::function_catalogue,
                                      static_cast<catalogue_service_i*>(&m_service));
        m_hub.library = &m_library;
        m_host.factory = [](int32_t id, const GUID& iid) -> interface_i* {
            if (id == class_id::menu && iid == iid_menu_i)
                return static_cast<menu_i*>(new menu_c);
            if (id == class_id::menu_entry && iid == iid_menu_entry_i)
                return static_cast<menu_entry_i*>(new menu_entry_c);
            if (id == class_id::hotkey_dialog)
                return new scripted_hotkey;
            if (id == class_id::value_slider_dialog)
                return new scripted_slider;
            if (id == class_id::web_address_dialog)
                return new scripted_web;
            return nullptr;
        };
        quil_init_module(&m_host);
        // An installation where product 8 takes macro kinds 0..2 and 0x1B20 is a keyboard
        // that can talk.
        const QByteArray xml = R"(<CATALOGUE><PRODUCTS>
            <PRODUCT type="8" pid="2C4A" device_type="0" macro="3"/>
            <PRODUCT type="4" pid="1B20" device_type="1"/>
            <PRODUCT type="6" pid="3D10" device_type="2"/></PRODUCTS></CATALOGUE>)";
        QFile catalogue(m_install.filePath(QStringLiteral("settings.xml")));
        QVERIFY(catalogue.open(QIODevice::WriteOnly) && catalogue.write(qCompress(xml)) > 0);
        catalogue.close();
        global_func().set_application_folder(m_install.path());
        global_func().load_catalogue();
        QCOMPARE(global_func().device_class(0x1B20), 1);
    }
    void cleanupTestCase() { quil_exit_module(); }

    void init() {
        fake_library::group games{QStringLiteral("Games"), {}};
        games.macros.append(library_macro("Reload", 3));
        games.macros.append(library_macro("Jump", 0));
        m_library.groups = {games};
        m_service.timers = {{77, "Tea"}};
        m_host.center.language = 0;
        g_script = {};
        m_owner = std::make_unique<owner>();
        data()->layout(0).set_layout_value(0x000FFF);
        for (int i = 0; i < 40; ++i)
            data()->restore_default_entry(i, data()->btn_assign(0).entry(i));
        m_list = std::make_unique<btn_list_fm_c>(m_owner.get(), btn_box_kind::side);
    }
    void cleanup() {
        m_list.reset();
        m_owner.reset();
    }

    void listens_and_leaves() {
        QVERIFY(m_service.listeners.size() == 1);
        QVERIFY(m_hub.listeners.size() == 1);
        m_list->manager_closing();
        QVERIFY(m_service.listeners.isEmpty());
        QVERIFY(m_hub.listeners.isEmpty());
        // A closed list changes nothing any more.
        side_rows();
        m_list->choose(8, 1, 0);
        QCOMPARE(entry(8), (btn_entry{5, 0, 30}));
    }

    void labels_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("p1");
        QTest::addColumn<int>("p2");
        QTest::addColumn<QString>("side");
        QTest::addColumn<QString>("expected");
        QTest::addRow("DPI step") << 52 << 0 << 0 << ""
                                  << "T155 1600 T156";
        QTest::addRow("open app") << 15 << 0 << 0 << "/opt/tools/forge"
                                  << "Open app: forge";
        QTest::addRow("open document") << 137 << 0 << 0 << "/home/a/plan.odt"
                                       << "Open document: plan.odt";
        QTest::addRow("open folder") << 138 << 0 << 0 << "/home/a/Docs"
                                     << "Open folder: Docs";
        QTest::addRow("open website") << 139 << 0 << 0 << "example.org/x"
                                      << "Open website: example.org/x";
        QTest::addRow("hotkey modifier only") << 5 << 2 << 0 << ""
                                              << "Shift";
        QTest::addRow("hotkey none") << 5 << 1 << 4 << ""
                                     << "";
        QTest::addRow("macro") << 48 << 0 << 0 << "Combo"
                               << "Combo";
        QTest::addRow("timer present") << 49 << 0 << 0 << "77"
                                       << "Tea";
        QTest::addRow("timer gone") << 49 << 0 << 0 << "78"
                                    << "Disabled";
        QTest::addRow("timer without record") << 49 << 0 << 0 << ""
                                              << "";
        QTest::addRow("DPI value bytes") << 124 << 0x08 << 0x20 << ""
                                         << "T155 8200 DPI";
        QTest::addRow("talk alter key") << 81 << 0 << 0 << "Pad"
                                        << "Alter-Key[+]™ Pad";
        QTest::addRow("talk lock") << 82 << 0 << 0 << "Pad"
                                   << "Pad Lock/Unlock";
        QTest::addRow("catalogue entry") << 13 << 0 << 0 << ""
                                         << "T89";
        QTest::addRow("generated entry") << 115 << 0 << 0 << ""
                                         << "T529-3";
        QTest::addRow("disable") << 0 << 0 << 0 << ""
                                 << "T194";
        QTest::addRow("unknown code") << 26 << 9 << 9 << ""
                                      << "";
    }
    void labels() {
        QFETCH(int, code);
        QFETCH(int, p1);
        QFETCH(int, p2);
        QFETCH(QString, side);
        QFETCH(QString, expected);
        side_rows();
        const int i = 9;
        set(i, {uint8_t(code), uint8_t(p1), uint8_t(p2)});
        data()->settings(0).set_dpi(1, 1600);
        if (!side.isEmpty()) {
            if (code == 48)
                set_device_macro_name(data()->macro(0, i), side.toUtf8());
            if (code == 49) {
                btn_param_block block;
                block.set_u32(0, side.toUInt());
                data()->param_map(0).insert(i, block);
            }
            if (code == 81 || code == 82) {
                btn_data_block block;
                std::memcpy(block.data() + 5, side.toUtf8().constData(), side.size());
                data()->data_map(0).insert(i, block);
            }
            data()->text_map(0).insert(i, side);
        }
        m_list->reload();
        QCOMPARE(label(i), expected);
        QCOMPARE(m_list->row_button(i)->toolTip().contains(QStringLiteral("Function 26 ")),
                 code == 26);
        // Showing never rewrites what is stored.
        QCOMPARE(entry(i), (btn_entry{uint8_t(code), uint8_t(p1), uint8_t(p2)}));
    }

    void unfitted_positions() {
        side_rows();
        set_layout(0x000FFF & ~(1u << 4));
        QCOMPARE(label(12), QStringLiteral("T388"));
        QCOMPARE(label(32), QStringLiteral("T388"));
        QVERIFY(!m_list->row_button(12)->isEnabled());
        QVERIFY(!m_list->row_number(32)->isEnabled());
        // Read from a stored layout, the entries stay until the user changes the layout.
        QCOMPARE(entry(12), (btn_entry{5, 0, 34}));
        m_list->set_show_all_positions(true);
        QVERIFY(label(12) != QStringLiteral("T388"));
        QVERIFY(m_list->row_button(12)->isEnabled());
        m_list->set_show_all_positions(false);

        // The editor takes a cap off: both layers' entries are cleared.
        m_list->on_button_fitted(10, false);
        QCOMPARE(entry(10), (btn_entry{0, 0, 0}));
        QCOMPARE(entry(30), (btn_entry{0, 0, 0}));
        QCOMPARE(label(30), QStringLiteral("T388"));
        QVERIFY(!m_list->row_button(10)->isEnabled());
        m_list->on_button_fitted(10, true);
        QVERIFY(m_list->row_button(10)->isEnabled());
        QCOMPARE(label(10), QStringLiteral("T194"));
    }

    void reset_rows_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("p1");
        QTest::addColumn<int>("p2");
        QTest::addRow("side 12") << 12 << 5 << 0 << 34;
        QTest::addRow("alter side 39") << 39 << 5 << 2 << 46;
        QTest::addRow("alter side 28") << 28 << 5 << 2 << 30;
    }
    void reset_rows() {
        QFETCH(int, index);
        side_rows();
        set(index, {13, 0, 0});
        m_list->choose(index, 256, 0);
        QFETCH(int, code);
        QFETCH(int, p1);
        QFETCH(int, p2);
        QCOMPARE(entry(index), (btn_entry{uint8_t(code), uint8_t(p1), uint8_t(p2)}));
    }

    // A function chosen for the first position of a double block goes to both positions,
    // side records included.
    void double_block_copy_data() {
        QTest::addColumn<uint32_t>("layout");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("copied");
        QTest::addRow("double on positions 3 and 4") << 0x020FFFu << 10 << true;
        QTest::addRow("double, alter layer") << 0x020FFFu << 30 << true;
        QTest::addRow("second position of a double") << 0x020FFFu << 11 << false;
        QTest::addRow("singles") << 0x000FFFu << 10 << false;
    }
    void double_block_copy() {
        QFETCH(uint32_t, layout);
        QFETCH(int, index);
        QFETCH(bool, copied);
        side_rows();
        set_layout(layout);
        const int partner = index % 2 ? index - 1 : index + 1;
        const btn_entry before = entry(partner);
        m_list->choose(index, 48, 1); // Games / Jump
        QCOMPARE(entry(index), (btn_entry{48, 0, 0}));
        QCOMPARE(QString::fromUtf8(device_macro_name(data()->macro(0, index))),
                 QStringLiteral("Jump"));
        QCOMPARE(int(data()->macro(0, index).button()), index);
        if (!copied) {
            QCOMPARE(entry(partner), before);
            return;
        }
        QCOMPARE(entry(partner), (btn_entry{48, 0, 0}));
        macro_rec expected = data()->macro(0, index);
        expected.button() = uint8_t(partner);
        QVERIFY(data()->macro(0, partner) == expected);
        QCOMPARE(label(partner), QStringLiteral("Jump"));

        // A timer's record is copied with the partner's button index.
        m_list->choose(index, 49, 77);
        QCOMPARE(data()->param_map(0).value(partner).u32(0), 77u);
        QCOMPARE(int(data()->param_map(0).value(partner).u16(4)), partner);
        QCOMPARE(int(data()->param_map(0).value(index).u16(4)), index);
        QCOMPARE(label(partner), QStringLiteral("Tea"));
    }

    void macro_past_the_library_changes_nothing() {
        side_rows();
        m_list->choose(8, 48, 5);
        m_list->choose(8, 48, 2 << 16);
        QCOMPARE(entry(8), (btn_entry{5, 0, 30}));
    }

    void twin_rule() {
        side_rows();
        m_list->choose(8, 82, 0);
        QCOMPARE(entry(8), (btn_entry{82, 0, 0}));
        QCOMPARE(data()->data_map(0).value(8).u16(0), uint16_t(0x1E7D));
        QCOMPARE(int(data()->data_map(0).value(8).b[4]), 246);
        QCOMPARE(entry(28), (btn_entry{0, 0, 0}));
        QCOMPARE(label(28), QStringLiteral("Disabled"));
        QVERIFY(!m_list->is_assignable(28));
        m_list->click_row(28);
        QVERIFY(!m_list->open_menu_timer()->isActive());
        // Any other code frees the twin; its entry stays as it is.
        m_list->choose(8, 1, 0);
        QVERIFY(m_list->is_assignable(28));
        QCOMPARE(entry(28), (btn_entry{0, 0, 0}));
        // The lock is read from the stored entries, so it holds after a reload.
        set(9, {65, 0, 0});
        m_list->reload();
        QVERIFY(!m_list->is_assignable(29));
        QCOMPARE(entry(29), (btn_entry{5, 2, 31}));
    }

    void top_box_rows() {
        m_list = std::make_unique<btn_list_fm_c>(m_owner.get(), btn_box_kind::top);
        const int standard[] = {0, 1, 2, 4, 3, 5, 6, 7};
        for (int p = 0; p < 8; ++p) {
            m_list->add_standard_row(p, standard[p], standard[p] > 1);
            m_list->add_alter_row(p, standard[p] + 20, standard[p] + 20 != 25);
        }
        QCOMPARE(m_list->row_number(3)->text(), QStringLiteral("5"));
        QCOMPARE(m_list->row_number(4)->text(), QStringLiteral("4"));
        QCOMPARE(m_list->row_button(3)->y(), 27 * 4);
        QCOMPARE(m_list->row_button(3)->size(), QSize(153, 22));
        QCOMPARE(m_list->row_number(3)->size(), QSize(21, 22));
        for (int i : {0, 1, 25}) {
            QVERIFY(!m_list->is_assignable(i));
            m_list->click_row(i);
            QVERIFY(!m_list->open_menu_timer()->isActive());
        }
        QCOMPARE(label(0), QStringLiteral("T87"));
        // The layer switch locks the twin even where the twin is a fixed row.
        m_list->choose(5, 65, 0);
        QCOMPARE(entry(25), (btn_entry{0, 0, 0}));
        QCOMPARE(label(25), QStringLiteral("Disabled"));
        m_list->choose(5, 1, 0);
        QVERIFY(!m_list->is_assignable(25));
        QVERIFY(m_list->is_assignable(22));
        QVERIFY(!m_list->is_allowed(3, 65));
        QVERIFY(m_list->is_allowed(5, 65));
    }

    void hotkey_and_cancel() {
        side_rows();
        g_script.modifiers = 4 | 8;
        g_script.key = 0x04;
        m_list->choose(8, 5, 0);
        QCOMPARE(entry(8), (btn_entry{5, 12, 4}));
        g_script.answer = 0;
        m_list->choose(8, 5, 0);
        m_list->choose(8, 124, 0);
        m_list->choose(8, 139, 0);
        QCOMPARE(entry(8), (btn_entry{5, 12, 4}));
        QVERIFY(!data()->text_map(0).contains(8));
    }

    void value_slider() {
        side_rows();
        g_script.value = 8200;
        m_list->choose(9, 124, 0);
        QCOMPARE(g_script.initial, 1200);
        QCOMPARE(g_script.ticks, (QList<int>{200, 2000, 4000, 6000, 8200, 12000}));
        QCOMPARE(entry(9), (btn_entry{124, 0x08, 0x20}));
        QCOMPARE(label(9), QStringLiteral("T155 8200 DPI"));
        m_list->choose(9, 124, 0);
        QCOMPARE(g_script.initial, 8200);
    }

    void web_address() {
        side_rows();
        g_script.address = QStringLiteral("example.org");
        m_list->choose(9, 139, 0);
        QCOMPARE(entry(9), (btn_entry{139, 0, 0}));
        QCOMPARE(data()->text_map(0).value(9), QStringLiteral("example.org"));
        QCOMPARE(label(9), QStringLiteral("Open website: example.org"));
    }

    void open_path_through_chooser() {
        side_rows();
        m_list->set_file_chooser(
            [](int code) { return code == 138 ? QStringLiteral("/srv/share") : QString(); });
        m_list->choose(10, 15, 0);
        QCOMPARE(entry(10), (btn_entry{5, 0, 32}));
        m_list->choose(10, 138, 0);
        QCOMPARE(entry(10), (btn_entry{138, 0, 0}));
        QCOMPARE(label(10), QStringLiteral("Open folder: share"));
    }

    void row_menu_offers_the_rows_codes() {
        side_rows();
        QVERIFY(root());
        m_list->click_row(28);
        QVERIFY(m_list->open_menu_timer()->isActive());
        // The clicked row is current at once; the menu opens when the timer fires.
        QCOMPARE(m_list->current_button_index(), 28);
        QTRY_VERIFY(root()->menu() && root()->menu()->isVisible());
        QCOMPARE(m_list->open_menu_timer()->interval(), 20);
        QTRY_COMPARE(m_list->current_button_index(), 28);
        auto enabled = [&](const QString& text) {
            menu_entry_c* e = root()->find_entry(text);
            return e && e->is_enabled();
        };
        QVERIFY(enabled("T87"));           // 1
        QVERIFY(!enabled("T164"));         // 65 never on the Alter-Key[+] layer
        QVERIFY(!enabled("T155 200 DPI")); // 208 is offered to nobody
        QCOMPARE(enabled("T163"), false);  // 71 only on two old systems
        root()->close_menu();
        QTRY_COMPARE(m_list->current_button_index(), -1);

        m_list->click_row(8);
        QTRY_COMPARE(m_list->current_button_index(), 8);
        QVERIFY(enabled("T164"));
        root()->find_entry("T89")->choose();
        QTRY_COMPARE(entry(8), (btn_entry{13, 0, 0}));
        QCOMPARE(label(8), QStringLiteral("T89"));
    }

    void relabels_after_language_change() {
        side_rows();
        set(8, {1, 0, 0});
        m_list->reload();
        QCOMPARE(label(8), QStringLiteral("T87"));
        m_host.center.switch_language(1);
        QVERIFY(m_list->language_timer()->isActive());
        QCOMPARE(m_list->language_timer()->interval(), 100);
        QCOMPARE(label(8), QStringLiteral("T87"));
        QTRY_COMPARE(label(8), QStringLiteral("Linksklick"));
        QVERIFY(root()->find_entry("Linksklick"));
        m_host.center.switch_language(0);
        QTRY_COMPARE(label(8), QStringLiteral("T87"));
    }

    void macro_library_changes_rebuild() {
        side_rows();
        QVERIFY(!root()->find_menu("Work"));
        fake_library::group work{QStringLiteral("Work"), {}};
        work.macros.append(library_macro("Sign", 1));
        m_library.groups.append(work);
        m_list->on_macros_changed({});
        QVERIFY(root()->find_menu("Work"));
        QVERIFY(root()->find_entry("Sign"));
    }

    void timers_follow_the_host() {
        side_rows();
        m_list->choose(11, 49, 77);
        QCOMPARE(label(11), QStringLiteral("Tea"));
        m_service.timers = {{78, "Egg"}};
        m_list->timers_changed();
        QCOMPARE(label(11), QStringLiteral("Disabled"));
        QVERIFY(root()->find_entry("Egg"));
        QVERIFY(!root()->find_entry("Tea"));
        QCOMPARE(entry(11), (btn_entry{49, 0, 0}));
        QVERIFY(!m_list->timer_in_use(78));
        QVERIFY(m_list->timer_in_use(77));
    }

    void talk_notices_bring_submenus() {
        side_rows();
        m_list->talk_device_added(7, 0x1B20, QStringLiteral("Brenn"));
        m_list->talk_device_added(8, 0x3D10, QStringLiteral("Headset"));
        QVERIFY(root()->find_menu(QStringLiteral("Vantor Talk: Brenn")));
        QVERIFY(!root()->find_menu(QStringLiteral("Vantor Talk: Headset")));
        // Its entries carry the device; choosing one writes the talk record.
        menu_entry_c* lock = root()->find_entry(QStringLiteral("Brenn Lock/Unlock"));
        QVERIFY(lock);
        QCOMPARE(lock->identifier(), 7u);
        m_list->click_row(9);
        QTRY_COMPARE(m_list->current_button_index(), 9);
        lock->choose();
        QTRY_COMPARE(entry(9), (btn_entry{82, 0, 0}));
        const btn_data_block record = data()->data_map(0).value(9);
        QCOMPARE(record.u16(2), uint16_t(7));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(record.data() + 5)), QByteArray("Brenn"));
        QCOMPARE(label(9), QStringLiteral("Brenn Lock/Unlock"));
        QCOMPARE(label(29), QStringLiteral("Disabled"));
        m_list->talk_device_removed(7);
        QVERIFY(!root()->find_menu(QStringLiteral("Vantor Talk: Brenn")));
        // The stored record still names the device.
        QCOMPARE(label(9), QStringLiteral("Brenn Lock/Unlock"));
    }

    void macros_offered_by_kind() {
        side_rows();
        m_list->click_row(8);
        QTRY_COMPARE(m_list->current_button_index(), 8);
        QVERIFY(root()->find_entry(QStringLiteral("Reload"))->is_enabled());
        QVERIFY(!root()->find_entry(QStringLiteral("Jump"))->is_enabled());
        root()->close_menu();
    }

    void menu_feedback_follows_the_menu() {
        struct feedback final : main_menu_listener_i {
            interface_i* query_interface(const GUID&) override { return this; }
            void release() override {}
            void main_menu_shown(menu_i*) override { lines << QStringLiteral("shown"); }
            void main_menu_closed(menu_i*) override { lines << QStringLiteral("closed"); }
            QStringList lines;
        } box;
        side_rows();
        m_list->set_menu_feedback(&box);
        m_list->click_row(12);
        QTRY_COMPARE(box.lines, QStringList{"shown"});
        QCOMPARE(m_list->current_button_index(), 12);
        root()->close_menu();
        QTRY_COMPARE(box.lines, (QStringList{"shown", "closed"}));
        QCOMPARE(m_list->current_button_index(), -1);
        m_list->set_menu_feedback(nullptr);
    }

    void allowed_list_edits() {
        side_rows();
        m_list->disallow_code(8, 13);
        QVERIFY(!m_list->is_allowed(8, 13));
        m_list->allow_code(8, 13);
        m_list->allow_code(8, 13);
        QCOMPARE(m_list->allowed_codes(8).count(13), 1);
        const QVector<int> codes = m_list->allowed_codes(8);
        QVERIFY(std::is_sorted(codes.begin(), codes.end()));
    }
};

QTEST_MAIN(test_btn_list)
#include "test_btn_list.moc"
