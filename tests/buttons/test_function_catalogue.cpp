// The function catalogue as a model: which codes a button may take, the twin rule's pairs,
// the order of the tree, and the entries made from live data.
#include "buttons/function_catalogue.h"

#include <QtTest>

namespace {

QString texts(int32_t id) {
    return QStringLiteral("T%1").arg(id);
}

QStringList labels_of(const catalogue_node* menu) {
    QStringList out;
    for (const auto& child : menu->children)
        out << child->label;
    return out;
}

QList<int> codes_of(const catalogue_node* menu) {
    QList<int> out;
    for (const auto& child : menu->children)
        out << child->code;
    return out;
}

} // namespace

class test_function_catalogue : public QObject {
    Q_OBJECT

private slots:
    void allowed_codes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("vista_or_7");
        QTest::addColumn<bool>("allowed");
        QTest::addRow("fixed top row 0") << 0 << 1 << true << false;
        QTest::addRow("fixed top row 1") << 1 << 5 << true << false;
        QTest::addRow("top 2 takes 190") << 2 << 190 << false << true;
        QTest::addRow("top 5 has no 190") << 5 << 190 << false << false;
        QTest::addRow("top 7 takes the layer switch") << 7 << 65 << false << true;
        QTest::addRow("top 7 talk") << 7 << 81 << false << true;
        QTest::addRow("71 on other systems") << 7 << 71 << false << false;
        QTest::addRow("71 on Vista or 7") << 7 << 71 << true << true;
        QTest::addRow("72..80 never") << 7 << 75 << true << false;
        QTest::addRow("wheel 3 no DPI step") << 3 << 53 << false << false;
        QTest::addRow("wheel 3 no 65") << 3 << 65 << false << false;
        QTest::addRow("wheel 4 no 124") << 4 << 124 << false << false;
        QTest::addRow("wheel 4 no 66") << 4 << 66 << false << false;
        QTest::addRow("wheel 4 no 84") << 4 << 84 << false << false;
        QTest::addRow("wheel 4 no 188") << 4 << 188 << false << false;
        QTest::addRow("wheel 3 no 190") << 3 << 190 << false << false;
        QTest::addRow("wheel 3 keeps 50") << 3 << 50 << false << true;
        QTest::addRow("wheel 3 keeps 71 on Vista") << 3 << 71 << true << true;
        QTest::addRow("side 8 talk") << 8 << 82 << false << true;
        QTest::addRow("side 19 up to 207") << 19 << 207 << false << true;
        QTest::addRow("side 19 not 208") << 19 << 208 << false << false;
        QTest::addRow("side 12 reset") << 12 << 256 << false << true;
        QTest::addRow("side 12 no 251") << 12 << 251 << false << false;
        QTest::addRow("alter top 20 no 65") << 20 << 65 << false << false;
        QTest::addRow("alter top 20 no talk") << 20 << 81 << false << false;
        QTest::addRow("alter top 20 from 85") << 20 << 85 << false << true;
        QTest::addRow("alter wheel 24 loses 190") << 24 << 190 << false << false;
        QTest::addRow("alter top 22 takes 190") << 22 << 190 << false << true;
        QTest::addRow("alter top 25 no 190") << 25 << 190 << false << false;
        QTest::addRow("alter wheel 23 no DPI step") << 23 << 51 << false << false;
        QTest::addRow("alter wheel 23 no 66") << 23 << 66 << false << false;
        QTest::addRow("alter wheel 24 no 188") << 24 << 188 << false << false;
        QTest::addRow("alter side 28 layer switch never") << 28 << 65 << false << false;
        QTest::addRow("alter side 28 DPI steps") << 28 << 55 << false << true;
        QTest::addRow("alter side 39 no 60") << 39 << 60 << false << false;
        QTest::addRow("alter side 39 to 207") << 39 << 207 << false << true;
        QTest::addRow("alter side 39 Vista 71") << 39 << 71 << true << true;
        QTest::addRow("index 40 nothing") << 40 << 1 << true << false;
        QTest::addRow("index -1 nothing") << -1 << 1 << true << false;
    }
    void allowed_codes() {
        QFETCH(int, index);
        QFETCH(int, code);
        QFETCH(bool, vista_or_7);
        QFETCH(bool, allowed);
        const QVector<int> codes = catalogue::allowed_codes(index, vista_or_7);
        QCOMPARE(codes.contains(code), allowed);
        QVERIFY(std::is_sorted(codes.begin(), codes.end()));
        QCOMPARE(std::adjacent_find(codes.begin(), codes.end()), codes.end());
    }

    // Whole-list sizes catch a range that is one too long or too short.
    void allowed_code_counts_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        // 0..70, 81..189, 190, 191..207, 252..256
        QTest::addRow("top 2") << 2 << 71 + 109 + 1 + 17 + 5;
        QTest::addRow("top 6") << 6 << 71 + 109 + 17 + 5;
        // minus 65, 51..55, 124, 66..70, 81..84, 188..190
        QTest::addRow("wheel 3") << 3 << 71 + 109 + 1 + 17 + 5 - 1 - 5 - 1 - 5 - 4 - 3;
        QTest::addRow("side 8") << 8 << 71 + 127 + 5;
        QTest::addRow("alter top 20") << 20 << 56 + 5 + 105 + 1 + 17 + 5;
        QTest::addRow("alter wheel 24") << 24 << 56 + 5 + 105 + 1 + 17 + 5 - 5 - 5 - 1 - 3;
        QTest::addRow("alter side 30") << 30 << 56 + 5 + 123 + 5;
    }
    void allowed_code_counts() {
        QFETCH(int, index);
        QFETCH(int, count);
        QCOMPARE(catalogue::allowed_codes(index, false).size(), count);
        QCOMPARE(catalogue::allowed_codes(index, true).size(), count + 1);
    }

    void twin_rule_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("twin");
        QTest::addRow("top") << 5 << 25;
        QTest::addRow("alter top") << 25 << 5;
        QTest::addRow("side") << 19 << 39;
        QTest::addRow("alter side") << 28 << 8;
        QTest::addRow("past the end") << 40 << -1;
        QTest::addRow("negative") << -3 << -1;
    }
    void twin_rule() {
        QFETCH(int, index);
        QFETCH(int, twin);
        QCOMPARE(catalogue::twin_of(index), twin);
    }

    void locking_codes() {
        QList<int> locking;
        for (int code = 0; code <= 256; ++code) {
            if (catalogue::locks_twin(code))
                locking << code;
        }
        QCOMPARE(locking, (QList<int>{65, 81, 82, 83, 84}));
    }

    void tree_in_menu_order() {
        function_catalogue_c c(&texts);
        c.build({});
        const catalogue_node& root = c.root();
        QCOMPARE(labels_of(&root), (QStringList{"T73", "T76", "T79", "T85", "T101", "T110", "T121",
                                                "T130", "T152", "T167", "T194", "T340"}));
        // Categories carry icons; the last two are entries with icons.
        QCOMPARE(root.children[0]->icon_base, QStringLiteral("Assign_a_Macro"));
        QCOMPARE(root.children[0]->icon("over"),
                 QStringLiteral("://graphics/button_assignment/icons/Assign_a_Macro_over.png"));
        QCOMPARE(root.children[10]->code, 0);
        QCOMPARE(root.children[10]->icon_flag, 1);
        QCOMPARE(root.children[11]->code, 256);
        QCOMPARE(root.children[11]->icon_base, QStringLiteral("Reset"));
        // Default functions, in order.
        QCOMPARE(codes_of(root.children[3].get()),
                 (QList<int>{1, 4, 2, 13, 14, 9, 10, 98, 99, 100, 101, 3}));
        // The "add" entries are the only plain entries with icons.
        int with_icons = 0;
        for (const catalogue_node* e : c.entries())
            with_icons += e->icon_flag;
        QCOMPARE(with_icons, 5);
        // Open: its two submenus after the five entries.
        const catalogue_node* open = root.children[7].get();
        QCOMPARE(labels_of(open).mid(5), (QStringList{"T137", "T149"}));
        QCOMPARE(codes_of(open->children[5].get()),
                 (QList<int>{134, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150}));
        QCOMPARE(open->children[5]->children.back()->label, QStringLiteral("T148"));
        QCOMPARE(codes_of(root.children[9]->children[7].get()).size(), 17);
        QCOMPARE(root.children[9]->children[7]->children.back()->label, QStringLiteral("T193"));
    }

    void steps_submenu() {
        function_catalogue_c c(&texts);
        c.build({});
        const catalogue_node* steps = c.find_menu(catalogue_node::role::steps);
        QVERIFY(steps);
        QCOMPARE(codes_of(steps),
                 (QList<int>{113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123}));
        QCOMPARE(steps->children.front()->label, QStringLiteral("T529-5"));
        QCOMPARE(steps->children[5]->label, QStringLiteral("T5290"));
        QCOMPARE(steps->children.back()->label, QStringLiteral("T5295"));
    }

    void dpi_submenu_follows_steps() {
        function_catalogue_c c(&texts);
        function_catalogue_c::inputs in;
        in.dpi_steps = {{0, 400}, {2, 1600}};
        c.build(in);
        const catalogue_node* dpi = c.find_menu(catalogue_node::role::dpi);
        QCOMPARE(codes_of(dpi), (QList<int>{208, 51, 53, 124}));
        QCOMPARE(labels_of(dpi),
                 (QStringList{"T155 200 DPI", "T155 400 T156", "T155 1600 T156", "T157"}));
        c.set_dpi_steps({{4, 12000}});
        QCOMPARE(codes_of(c.find_menu(catalogue_node::role::dpi)), (QList<int>{208, 55, 124}));
        QCOMPARE(c.first_label(55), QStringLiteral("T155 12000 T156"));
        QCOMPARE(c.first_label(53), QString());
    }

    void generated_entries() {
        function_catalogue_c c(&texts);
        function_catalogue_c::inputs in;
        in.macro_groups = {{"Games", {{"Reload", 3}, {"Jump", 1}}}, {"Work", {{"Sign", 3}}}};
        in.timers = {{77, "Tea"}, {9, "Egg"}};
        in.profiles = QStringList{"Alpha", "Beta"};
        c.build(in);
        const catalogue_node* macros = c.find_menu(catalogue_node::role::macros);
        QCOMPARE(labels_of(macros), (QStringList{"T75", "Games", "Work"}));
        const catalogue_node* work = macros->children[2].get();
        QCOMPARE(work->children[0]->code, 48);
        QCOMPARE(work->children[0]->parameter, 65536);
        QCOMPARE(macros->children[1]->children[1]->parameter, 1);
        QCOMPARE(macros->children[1]->children[1]->macro_kind, uint16_t(1));
        const catalogue_node* timers = c.find_menu(catalogue_node::role::timers);
        QCOMPARE(labels_of(timers), (QStringList{"Tea", "Egg"}));
        QCOMPARE(timers->children[0]->identifier, 77u);
        QCOMPARE(codes_of(c.find_menu(catalogue_node::role::profiles)), (QList<int>{191, 192}));
        c.set_profiles({"A", "B", "C", "D", "E", "F"});
        QCOMPARE(codes_of(c.find_menu(catalogue_node::role::profiles)),
                 (QList<int>{191, 192, 193, 194, 195}));
        QCOMPARE(c.first_label(193), QStringLiteral("C"));
        c.set_timers({});
        QVERIFY(c.find_menu(catalogue_node::role::timers)->children.empty());
        QCOMPARE(c.first_label(49), QString());
    }

    void talk_devices_come_and_go() {
        function_catalogue_c c(&texts);
        c.build({});
        const catalogue_node* talk = c.find_menu(catalogue_node::role::talk);
        const int fixed = int(talk->children.size());
        c.add_device({12, "Pad"});
        c.add_device({13, "Keys"});
        c.add_device({12, "Pad again"});
        QCOMPARE(int(talk->children.size()), fixed + 2);
        const catalogue_node* pad = c.device_menu(12);
        QVERIFY(pad);
        QCOMPARE(pad->label, QStringLiteral("Vantor Talk: Pad"));
        QCOMPARE(codes_of(pad), (QList<int>{81, 82}));
        QCOMPARE(pad->children[0]->identifier, 12u);
        QCOMPARE(pad->children[0]->label, QStringLiteral("Alter-Key[+]™ Pad"));
        c.remove_device(12);
        QVERIFY(!c.device_menu(12));
        QCOMPARE(c.device_menu(13)->label, QStringLiteral("Vantor Talk: Keys"));
        QCOMPARE(c.first_label(81), QStringLiteral("Alter-Key[+]™ Keys"));
        c.remove_device(99);
        QCOMPARE(int(talk->children.size()), fixed + 1);
    }

    void first_label_is_first_in_order() {
        function_catalogue_c c(&texts);
        c.build({});
        QCOMPARE(c.first_label(1), QStringLiteral("T87"));
        QCOMPARE(c.first_label(0), QStringLiteral("T194"));
        QCOMPARE(c.first_label(66), QStringLiteral("T530"));
        QCOMPARE(c.first_label(187), QStringLiteral("T193"));
        QCOMPARE(c.first_label(26), QString());
        QCOMPARE(c.first_label(257), QString());
    }

    void availability() {
        function_catalogue_c c(&texts);
        c.build({});
        c.set_available([](const catalogue_node& e) { return e.code < 100; });
        int on = 0;
        for (const catalogue_node* e : c.entries()) {
            QCOMPARE(e->enabled, e->code < 100);
            on += e->enabled;
        }
        QVERIFY(on > 0);
    }
};

QTEST_MAIN(test_function_catalogue)
#include "test_function_catalogue.moc"
