// The profile set and the profile object in memory: defaults, slot maintenance,
// listeners and bounds. The full default records are checked byte for byte by
// the layout tests of the stream formats.
#include "kernel/zarek_data.h"
#include "kernel/zarek_profile.h"
#include "kernel_test_support.h"

#include <QStandardPaths>
#include <QtTest>

namespace {

// Marks every per-slot record of a slot with its own byte, so moves are visible.
void tag_slot(zarek_data_c& d, int slot, uint8_t tag) {
    d.name(slot).set_name(QStringLiteral("P%1").arg(tag));
    d.extra_word(slot).b[1] = tag;
    d.btn_assign(slot).b[100] = tag;
    d.param_map(slot).insert(tag, btn_param_block());
    d.text_map(slot).insert(tag, QString::number(tag));
    d.data_map(slot).insert(tag, btn_data_block());
    d.macro(slot, 39).b[2000] = tag;
    d.settings(slot).b[20] = tag;
    d.layout(slot).b[10] = tag;
    d.aux(slot).b[3] = tag;
    d.paths(slot).set_path(4, QString::number(tag));
    QPixmap p(tag, 1);
    p.fill(Qt::red);
    d.picture(slot) = p;
}

// The tag of a slot as each record sees it; -1 where records disagree.
int tag_of(zarek_data_c& d, int slot) {
    const int tag = d.extra_word(slot).b[1];
    const bool same =
        d.name(slot).name() == QStringLiteral("P%1").arg(tag) && d.btn_assign(slot).b[100] == tag &&
        d.param_map(slot).keys() == QList<int32_t>{tag} &&
        d.text_map(slot).value(tag) == QString::number(tag) &&
        d.data_map(slot).keys() == QList<int32_t>{tag} && d.macro(slot, 39).b[2000] == tag &&
        d.settings(slot).b[20] == tag && d.layout(slot).b[10] == tag && d.aux(slot).b[3] == tag &&
        d.paths(slot).path(4) == QString::number(tag) && d.picture(slot).width() == tag;
    return same ? tag : -1;
}

QVector<int> tags_of(zarek_data_c& d) {
    QVector<int> tags;
    for (int s = 0; s < 5; ++s)
        tags.append(tag_of(d, s));
    return tags;
}

} // namespace

class test_profile_data : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void new_set_state() {
        zarek_data_c d(nullptr, product_type::white);
        QCOMPARE(d.count(), 1);
        QCOMPARE(int(d.current_slot()), 0);
        QCOMPARE(d.host_profile(), -1);
        QVERIFY(d.device_flag());
        QVERIFY(d.favourites().isEmpty());
        // The device bytes that never travel in the blob.
        QCOMPARE(bytes_of(d.device().data() + 11, 16), QByteArray("\x16\x10", 2) + rec(14));
    }

    void default_buttons() {
        zarek_data_c d(nullptr, product_type::black);
        const int top[8] = {1, 2, 3, 13, 14, 65, 9, 10};
        const int alter_top[8] = {0, 0, 37, 38, 39, 0, 99, 98};
        const int keys[12] = {30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 45, 46};
        QByteArray expected;
        for (int layer = 0; layer < 2; ++layer) {
            for (int i = 0; i < 8; ++i)
                expected += QByteArray(1, char(layer == 0 ? top[i] : alter_top[i])) + rec(2);
            for (int key : keys)
                expected += QByteArray(1, 5) + char(2 * layer) + char(key);
        }
        QByteArray table;
        for (auto it = d.default_buttons().begin(); it != d.default_buttons().end(); ++it) {
            QCOMPARE(it.key(), table.size() / 3);
            table += char(it->code) + QByteArray(1, char(it->param1)) + char(it->param2);
        }
        QCOMPARE(table, expected);

        uint8_t entry[3] = {48, 7, 7};
        d.restore_default_entry(38, entry);
        QCOMPARE(bytes_of(entry, 3), QByteArray("\x05\x02\x2D", 3));
        // Indices the table lacks leave the entry alone.
        uint8_t other[3] = {48, 7, 7};
        d.restore_default_entry(40, other);
        d.restore_default_entry(-1, other);
        QCOMPARE(bytes_of(other, 3), QByteArray("\x30\x07\x07", 3));
        d.restore_default_entry(3, nullptr);
    }

    void out_of_range_slots_are_inert() {
        zarek_data_c d(nullptr, product_type::black);
        const QByteArray before = write_all_of(d);
        for (int s : {-1, 5, 255}) {
            d.name(s).set_name(QStringLiteral("ghost"));
            d.settings(s).b[5] = 9;
            d.param_map(s).insert(1, btn_param_block());
            d.macro(s, 0).b[10] = 1;
            QCOMPARE(d.name(s).name(), QString());
            QVERIFY(d.param_map(s).isEmpty());
        }
        d.macro(0, 40).b[10] = 1;
        d.macro(0, -1).b[10] = 1;
        QCOMPARE(int(d.macro(0, 40).b[10]), 0);
        d.reset_profile(5);
        QCOMPARE(write_all_of(d), before);
    }

    void listeners() {
        QStringList journal;
        journal_listener a(&journal, "a", false), b(&journal, "b", false), c(&journal, "c", false);
        {
            zarek_data_c d(nullptr, product_type::black);
            auto* manager = query<listener_mgr_i>(&d);
            QCOMPARE(manager, static_cast<listener_mgr_i*>(&d));
            QCOMPARE(query<interface_i>(&d), static_cast<interface_i*>(&d));
            QVERIFY(!query<listener_i>(&d));
            for (listener_i* l : std::initializer_list<listener_i*>{&a, &b, &a, nullptr, &c})
                manager->add_listener(l);
            QCOMPARE(d.listeners(), (QList<listener_i*>{&a, &b, &c}));
            manager->remove_listener(&b);
            manager->remove_listener(&b);
            QCOMPARE(d.listeners(), (QList<listener_i*>{&a, &c}));
            QVERIFY(journal.isEmpty());
        }
        // Destruction tells the listeners still registered, in order.
        QCOMPARE(journal, (QStringList{"a closing set", "c closing set"}));
    }

    void set_layout_announces_to_layout_listeners() {
        QStringList journal;
        journal_listener plain(&journal, "plain", false), editor(&journal, "editor", true),
            panel(&journal, "panel", true);
        zarek_data_c d(nullptr, product_type::black);
        d.set_count(3);
        for (journal_listener* l : {&editor, &plain, &panel})
            d.add_listener(l);
        btn_layout_rec r;
        r.set_name("Twin");
        r.set_fitted_mask(0x0F0F);
        r.double_mask() = 2;

        // No valid current slot: nothing is stored nor announced.
        d.set_current_slot(5);
        const QByteArray before = write_all_of(d);
        d.set_layout(r);
        QCOMPARE(write_all_of(d), before);
        QVERIFY(journal.isEmpty());

        d.set_current_slot(2);
        d.set_layout(r);
        btn_layout_rec expected = r;
        expected.b[2] = 2;
        QCOMPARE(bytes_of(d.layout(2)), bytes_of(expected));
        QCOMPARE(journal, (QStringList{"editor layout Twin 2", "panel layout Twin 2"}));
        for (journal_listener* l : {&editor, &plain, &panel})
            d.remove_listener(l);
    }

    void reset_keeps_device_bytes() {
        zarek_data_c d(nullptr, product_type::black);
        d.set_host_profile(3);
        for (int s = 0; s < 5; ++s) {
            d.name(s).b.fill(0xAA);
            d.paths(s).b.fill(0x11);
            d.picture(s) = QPixmap(3, 3);
        }
        d.reset_profile(2);
        QByteArray expected = rec(112);
        put_utf16le(expected, 0, QStringLiteral("Default3"));
        expected.replace(100, 5, QByteArray(5, char(0xAA)));
        QCOMPARE(bytes_of(d.name(2)), expected);
        QCOMPARE(bytes_of(d.paths(2)), rec(2560));
        QVERIFY(d.picture(2).isNull());
        QCOMPARE(bytes_of(d.name(1)), QByteArray(112, char(0xAA)));
        QCOMPARE(d.host_profile(), 3);

        d.reset_all();
        QCOMPARE(d.host_profile(), -1);
        for (int s = 0; s < 5; ++s)
            QCOMPARE(d.name(s).name(), QStringLiteral("Default%1").arg(s + 1));
    }

    void renumber() {
        zarek_data_c d(nullptr, product_type::black);
        for (int s = 0; s < 5; ++s) {
            d.aux(s).b[0] = d.btn_assign(s).b[2] = d.layout(s).b[2] = d.settings(s).b[2] = 9;
            for (int k = 0; k < 40; ++k)
                d.macro(s, k).b[3] = 9;
        }
        d.renumber();
        for (int s = 0; s < 5; ++s) {
            const QVector<int> numbers = {d.aux(s).b[0],      d.btn_assign(s).b[2],
                                          d.layout(s).b[2],   d.settings(s).b[2],
                                          d.macro(s, 0).b[3], d.macro(s, 39).b[3]};
            QCOMPARE(numbers, QVector<int>(6, s));
        }
    }

    void insert_gap_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QVector<int>>("tags");
        // Slots are tagged 10..14 first; the kernel has already raised the count.
        QTest::addRow("front of three") << 3 << 0 << QVector<int>{10, 10, 11, 13, 14};
        QTest::addRow("slot 3 of five") << 5 << 3 << QVector<int>{10, 11, 12, 13, 13};
        QTest::addRow("slot 4 does nothing") << 5 << 4 << QVector<int>{10, 11, 12, 13, 14};
        QTest::addRow("last in use does nothing") << 3 << 2 << QVector<int>{10, 11, 12, 13, 14};
        QTest::addRow("negative does nothing") << 5 << -1 << QVector<int>{10, 11, 12, 13, 14};
    }

    void insert_gap() {
        QFETCH(int, count);
        QFETCH(int, slot);
        zarek_data_c d(nullptr, product_type::black);
        for (int s = 0; s < 5; ++s)
            tag_slot(d, s, uint8_t(10 + s));
        d.set_count(count);
        d.insert_gap(slot);
        QTEST(tags_of(d), "tags");
        QCOMPARE(d.count(), count);
    }

    void remove_slot() {
        zarek_data_c d(nullptr, product_type::black);
        for (int s = 0; s < 5; ++s)
            tag_slot(d, s, uint8_t(10 + s));
        d.set_count(4);
        d.remove_slot(1);
        QCOMPARE(d.count(), 3);
        QCOMPARE(tags_of(d).mid(0, 4), (QVector<int>{10, 12, 13, 14}));
        // The freed last slot is zeros, only numbered again.
        QCOMPARE(bytes_of(d.name(4)), rec(112));
        QCOMPARE(bytes_of(d.btn_assign(4)), rec(123, {0, 0, 4}));
        QCOMPARE(bytes_of(d.settings(4)), rec(33, {0, 0, 4}));
        QCOMPARE(bytes_of(d.layout(4)), rec(30, {0, 0, 4}));
        QCOMPARE(bytes_of(d.aux(4)), rec(4, {4}));
        for (int k = 0; k < 40; ++k)
            QCOMPARE(bytes_of(d.macro(4, k)), rec(2002, {0, 0, 0, 4}));
        QVERIFY(d.param_map(4).isEmpty() && d.text_map(4).isEmpty() && d.data_map(4).isEmpty());
        QVERIFY(d.picture(4).isNull());
        // Records that moved carry their new slot.
        QCOMPARE(int(d.btn_assign(2).b[2]), 2);
        QCOMPARE(int(d.macro(3, 0).b[3]), 3);
    }

    void clear_unfitted_buttons_data() {
        QTest::addColumn<int>("mask");
        QTest::addRow("all fitted") << 0x0FFF;
        QTest::addRow("none fitted") << 0x0000;
        QTest::addRow("first and last") << 0x0801;
        QTest::addRow("upper bits ignored") << 0xF0F0;
    }

    void clear_unfitted_buttons() {
        QFETCH(int, mask);
        zarek_data_c d(nullptr, product_type::black);
        for (int s = 0; s < 5; ++s) {
            for (int k = 0; k < 40; ++k)
                d.btn_assign(s).set(k, {uint8_t(k + 1), 7, 8});
            d.layout(s).set_fitted_mask(s == 1 ? uint16_t(mask) : 0x0FFF);
        }
        d.clear_unfitted_buttons();
        for (int s = 0; s < 5; ++s) {
            for (int k = 0; k < 40; ++k) {
                const int side = (k >= 8 && k < 20) ? k - 8 : (k >= 28 ? k - 28 : -1);
                const bool cleared = s == 1 && side >= 0 && !(mask & (1 << side));
                const btn_entry e = d.btn_assign(s).get(k);
                QCOMPARE(int(e.code), cleared ? 0 : k + 1);
                QCOMPARE(int(e.param1) * 16 + e.param2, 7 * 16 + 8);
            }
        }
    }

    void count_stays_in_range_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("count");
        QTest::addRow("zero") << 0 << 1;
        QTest::addRow("five") << 5 << 5;
        QTest::addRow("two hundred") << 200 << 5;
    }

    void count_stays_in_range() {
        QFETCH(int, stored);
        zarek_data_c d(nullptr, product_type::black);
        d.device().slot_count() = uint8_t(stored);
        QTEST(d.count(), "count");
        // Whatever the device said, no slot beyond the five moves (the sanitizers watch).
        d.insert_gap(3);
        d.remove_slot(4);
        QVERIFY(d.count() >= 1 && d.count() <= 5);
    }

    void profile_object_clone_is_deep() {
        auto* p = new zarek_profile_c;
        QCOMPARE(query<profile_i>(p), static_cast<profile_i*>(p));
        QCOMPARE(query<interface_i>(p), static_cast<interface_i*>(p));
        QVERIFY(!query<listener_mgr_i>(p));
        QCOMPARE(p->host_value(), 0);
        p->set_host_value(77);
        p->set_product_type(9);
        p->set_name(QStringLiteral("Sniper"));
        p->set_byte_105(5);
        p->set_byte_106(6);
        p->set_path(1, QStringLiteral("C:/games/x.exe"));
        p->profile().params.insert(3, btn_param_block());
        p->profile().macros.append(default_macro_rec());
        QPixmap pic(2, 2);
        pic.fill(Qt::green);
        p->set_picture(pic);

        profile_i* copy = p->clone();
        QVERIFY(copy && copy != p);
        QCOMPARE(copy->host_value(), 77);
        QCOMPARE(copy->picture()->toImage(), pic.toImage());
        // Everything else travels in the profile blob.
        QCOMPARE(profile_of(*copy), profile_of(*p));
        // Changing the copy leaves the original alone.
        copy->set_name(QStringLiteral("Other"));
        copy->clear_picture();
        QCOMPARE(p->name(), QStringLiteral("Sniper"));
        QVERIFY(p->has_picture());
        copy->release();
        p->release();
    }

    void profile_object_picture() {
        zarek_profile_c p;
        QVERIFY(!p.has_picture());
        QImage image(3, 2, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        QPixmap pic = QPixmap::fromImage(image);
        p.set_picture(pic);
        QCOMPARE(int(p.profile().name.b[107]), 1);
        // The profile keeps its own copy.
        pic.fill(Qt::red);
        QCOMPARE(p.picture()->toImage().pixelColor(1, 1), QColor(Qt::blue));
        p.clear_picture();
        QVERIFY(!p.has_picture());
        QCOMPARE(p.picture()->size(), QSize(3, 2));
        QCOMPARE(p.picture()->toImage().pixelColor(1, 1).alpha(), 0);
    }

    void profile_object_paths_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("kept");
        QTest::addRow("first") << 0 << true;
        QTest::addRow("last") << 4 << true;
        QTest::addRow("five") << 5 << false;
        QTest::addRow("negative") << -1 << false;
    }

    void profile_object_paths() {
        QFETCH(int, n);
        QFETCH(bool, kept);
        zarek_profile_c p;
        p.set_path(n, QStringLiteral("D:/x"));
        QCOMPARE(p.path(n), kept ? QStringLiteral("D:/x") : QString());
        QByteArray expected = rec(2560);
        if (kept)
            put_utf16le(expected, 512 * n, QStringLiteral("D:/x"));
        QCOMPARE(bytes_of(p.profile().paths), expected);
        // 255 units fit with the terminating zero; more are cut.
        p.set_path(0, QString(300, QLatin1Char('x')));
        QCOMPARE(p.path(0).size(), 255);
        QCOMPARE(p.profile().paths.u16(510), uint16_t(0));
    }

    void profile_object_name_limit() {
        zarek_profile_c p;
        p.profile().name.b.fill(0x7F);
        p.set_name(QString(60, QChar(0x263A)));
        QCOMPARE(p.name(), QString(49, QChar(0x263A)));
        QCOMPARE(p.profile().name.u16(98), uint16_t(0));
        // The bytes after the name field are not the name's.
        QCOMPARE(int(p.profile().name.b[100]), 0x7F);
    }
};

QTEST_MAIN(test_profile_data)
#include "test_profile_data.moc"
