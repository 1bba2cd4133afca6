// The macro store: library and device record layouts, conversion, validity, the
// synchronisation into the library with its naming rules and log lines, group and
// macro numbering, preset macro files and matching against changed library macros.
#include "buttons/macro_store.h"
#include "common/log.h"
#include "common/log_capture.h"
#include "module/global_func.h"
#include "support/fake_host.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <memory>

namespace {

// Key entries as the library stores them: a, b, 16-bit c, 32-bit d.
using forged_key = library_key;

void put16(QByteArray& bytes, int at, uint32_t v) {
    qToLittleEndian<quint16>(quint16(v), bytes.data() + at);
}

// A library record written byte by byte, independent of the record's accessors.
QByteArray forge_library(uint8_t record_byte, uint16_t word1, uint16_t word2,
                         const QByteArray& name, const QVector<forged_key>& keys,
                         int stored_count = -1) {
    QByteArray bytes(16471, '\0');
    bytes[0] = char(record_byte);
    put16(bytes, 1, word1);
    put16(bytes, 3, word2);
    bytes.replace(5, qMin(name.size(), 80), name.left(80));
    put16(bytes, 85, uint32_t(stored_count < 0 ? keys.size() : stored_count));
    for (int i = 0; i < keys.size(); ++i) {
        const int at = 87 + 8 * i;
        bytes[at] = char(keys[i].a);
        bytes[at + 1] = char(keys[i].b);
        put16(bytes, at + 2, keys[i].c);
        qToLittleEndian<quint32>(keys[i].d, bytes.data() + at + 4);
    }
    return bytes;
}

library_macro_rec library_record(const QByteArray& bytes) {
    library_macro_rec record;
    record.overlay(bytes);
    return record;
}

library_macro_rec library_record(uint8_t record_byte, uint16_t word1, uint16_t word2,
                                 const QByteArray& name, const QVector<forged_key>& keys) {
    return library_record(forge_library(record_byte, word1, word2, name, keys));
}

// Appends one by one: the list constructor of a vector of such large records trips a
// false overflow warning in GCC.
QVector<library_macro_rec> records_of(std::initializer_list<library_macro_rec> list) {
    QVector<library_macro_rec> out;
    for (const library_macro_rec& record : list)
        out.append(record);
    return out;
}

struct forged_device_key {
    uint8_t a;
    uint8_t b;
    uint16_t value;
};

// A device macro record written byte by byte.
QByteArray forge_device(uint8_t slot, uint8_t button, uint8_t byte5, const QByteArray& group,
                        const QByteArray& name, int key_count, int kind,
                        const QVector<forged_device_key>& keys) {
    QByteArray bytes(2002, '\0');
    const char head[] = {0x0E, char(0xD2), 0x07, char(slot), char(button), char(byte5)};
    bytes.replace(0, 6, QByteArray(head, 6));
    bytes.replace(6, group.size(), group);
    bytes.replace(46, name.size(), name);
    put16(bytes, 78, uint32_t(key_count | (kind << 12)));
    for (int i = 0; i < keys.size(); ++i) {
        bytes[80 + 4 * i] = char(keys[i].a);
        bytes[81 + 4 * i] = char(keys[i].b);
        put16(bytes, 82 + 4 * i, keys[i].value);
    }
    return bytes;
}

macro_rec device_record(const QByteArray& bytes) {
    macro_rec record;
    record.overlay(bytes);
    return record;
}

QVector<forged_key> numbered_keys(int count) {
    QVector<forged_key> keys;
    for (int i = 0; i < count; ++i)
        keys.append({uint8_t(i), uint8_t(i >> 8), uint16_t(i * 3), uint32_t(i * 7)});
    return keys;
}

QVector<forged_device_key> device_keys_of(const QVector<forged_key>& keys) {
    QVector<forged_device_key> out;
    for (const forged_key& k : keys)
        out.append({k.a, k.b, uint16_t(k.d < 65536 ? k.d : 0xFFFF)});
    return out;
}

QByteArray patch(QByteArray bytes, int at, const QByteArray& with) {
    return bytes.replace(at, with.size(), with);
}

QByteArray text_at(const macro_rec& record, int at) {
    return QByteArray(reinterpret_cast<const char*>(record.data() + at));
}

const QByteArray e_acute = QByteArray("\xC3\xA9");       // two bytes
const QByteArray euro_sign = QByteArray("\xE2\x82\xAC"); // three bytes

} // namespace

class test_macro_store : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_log_dir;
    QTemporaryDir m_install_dir;
    std::unique_ptr<global_func_c> m_installation;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_log_dir.isValid());
        QVERIFY(m_install_dir.isValid());
        module_log().init(m_log_dir.path() + QLatin1Char('/'), QStringLiteral("Quil"));
        QVERIFY(module_log().is_open());

        // Product 8 takes macro kinds 0 and 1, product 9 only kind 0.
        const QByteArray xml = R"(<CATALOGUE><PRODUCTS>
            <PRODUCT type="8" macro="1" alias_name="QuilBlack"/>
            <PRODUCT type="9" macro="0" alias_name="QuilWhite"/>
            </PRODUCTS></CATALOGUE>)";
        QFile catalogue(m_install_dir.filePath(QStringLiteral("settings.xml")));
        QVERIFY(catalogue.open(QIODevice::WriteOnly));
        catalogue.write(qCompress(xml));
        catalogue.close();
        m_installation = std::make_unique<global_func_c>(
            m_install_dir.path(), m_install_dir.filePath(QStringLiteral("user")));
        m_installation->load_catalogue();
        QVERIFY(m_installation->macro_allowed(1, 8));
        QVERIFY(!m_installation->macro_allowed(1, 9));
    }

    void library_record_layout() {
        const QVector<forged_key> keys = {{1, 2, 0x0304, 0x05060708}, {0xFF, 0, 0xBEEF, 70000}};
        library_macro_rec record =
            library_record(forge_library(9, 0x1234, 0xABCD, "Jump", keys, 2));
        QCOMPARE(record.record_byte(), uint8_t(9));
        QCOMPARE(record.first_option_word(), uint16_t(0x1234));
        QCOMPARE(record.second_option_word(), uint16_t(0xABCD));
        QCOMPARE(record.name(), QStringLiteral("Jump"));
        QCOMPARE(record.key_count(), uint16_t(2));
        QVERIFY(record.key(0) == (library_key{1, 2, 0x0304, 0x05060708}));
        QVERIFY(record.key(1) == (library_key{0xFF, 0, 0xBEEF, 70000}));
        QVERIFY(record.key(2048) == library_key{});

        // A name that fills its 80 bytes has no terminator and still reads back whole.
        record.set_name_bytes(QByteArray(85, 'n'));
        QCOMPARE(record.name_bytes(), QByteArray(80, 'n'));
        QCOMPARE(record.key_count(), uint16_t(2));
    }

    void conversion_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<QByteArray>("expected");

        const QVector<forged_key> keys = {
            {1, 2, 9, 100}, {3, 4, 0, 65535}, {5, 6, 7, 65536}, {7, 8, 0, 0xFFFFFFFF}};
        const QVector<forged_device_key> device_keys = {
            {1, 2, 100}, {3, 4, 65535}, {5, 6, 0xFFFF}, {7, 8, 0xFFFF}};
        QTest::addRow("fields and clipped delays")
            << QStringLiteral("Games") << forge_library(4, 0x0002, 0x1234, "Jump", keys)
            << forge_device(3, 17, 0x34, "Games", "Jump", 4, 2, device_keys);
        QTest::addRow("only the low option bits are kept")
            << QStringLiteral("G") << forge_library(0, 0xFFF3, 0xFF00, "N", {})
            << forge_device(3, 17, 0x00, "G", "N", 0, 3, {});

        const QVector<forged_key> many = numbered_keys(500);
        QTest::addRow("key count capped at 480")
            << QStringLiteral("G") << forge_library(0, 1, 0, "N", many)
            << forge_device(3, 17, 0, "G", "N", 480, 1, device_keys_of(many.mid(0, 480)));
        QTest::addRow("damaged key count beyond the array")
            << QStringLiteral("G") << forge_library(0, 1, 0, "N", {}, 0xFFFF)
            << forge_device(3, 17, 0, "G", "N", 480, 1, {});
        QTest::addRow("group name cut to 39 bytes")
            << QString(45, QLatin1Char('g')) << forge_library(0, 0, 0, "N", {})
            << forge_device(3, 17, 0, QByteArray(39, 'g'), "N", 0, 0, {});
        QTest::addRow("unterminated library name cut to 31 bytes")
            << QStringLiteral("G") << forge_library(0, 0, 0, QByteArray(80, 'n'), {})
            << forge_device(3, 17, 0, "G", QByteArray(31, 'n'), 0, 0, {});
        // 20 two-byte characters: 31 bytes would end in the middle of the 16th.
        QTest::addRow("two-byte name not split")
            << QStringLiteral("G") << forge_library(0, 0, 0, e_acute.repeated(20), {})
            << forge_device(3, 17, 0, "G", e_acute.repeated(15), 0, 0, {});
        // 14 three-byte characters: 39 bytes hold exactly 13.
        QTest::addRow("three-byte group not split")
            << QString::fromUtf8(euro_sign.repeated(14)) << forge_library(0, 0, 0, "N", {})
            << forge_device(3, 17, 0, euro_sign.repeated(13), "N", 0, 0, {});
    }

    void conversion() {
        QFETCH(QString, group);
        QFETCH(QByteArray, library);
        QFETCH(QByteArray, expected);

        macro_rec target;
        target.b.fill(0xAA); // whatever was there before must not survive
        convert_library_macro(group, 3, 17, library_record(library), target);
        const QByteArray actual = target.to_bytes();
        for (int i = 0; i < actual.size(); ++i) {
            if (actual[i] != expected[i])
                QFAIL(qPrintable(QStringLiteral("byte %1: %2, expected %3")
                                     .arg(i)
                                     .arg(uint8_t(actual[i]))
                                     .arg(uint8_t(expected[i]))));
        }
        QVERIFY(is_valid_device_macro(target));
    }

    void validity_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<bool>("valid");

        QTest::addRow("empty") << forge_device(0, 0, 0, "", "", 0, 0, {}) << true;
        QTest::addRow("480 keys") << forge_device(0, 0, 0, "G", "N", 480, 0, {}) << true;
        QTest::addRow("481 keys") << forge_device(0, 0, 0, "G", "N", 481, 0, {}) << false;
        QTest::addRow("kind bits do not count")
            << forge_device(0, 0, 0, "G", "N", 480, 15, {}) << true;
        QTest::addRow("group fills its 40 bytes, macro name empty")
            << forge_device(0, 0, 0, QByteArray(40, 'g'), "", 0, 0, {}) << true;
        QTest::addRow("group runs on into the macro name")
            << forge_device(0, 0, 0, QByteArray(40, 'g'), "N", 0, 0, {}) << false;
        // With no keys the word at 78 starts with a zero byte that ends the name.
        QTest::addRow("name fills its 32 bytes, no keys")
            << forge_device(0, 0, 0, "G", QByteArray(32, 'n'), 0, 0, {}) << true;
        QTest::addRow("name runs on into the key count")
            << forge_device(0, 0, 0, "G", QByteArray(32, 'n'), 1, 0, {}) << false;
    }

    void validity() {
        QFETCH(QByteArray, record);
        QFETCH(bool, valid);
        QCOMPARE(is_valid_device_macro(device_record(record)), valid);
    }

    void invalid_macro_is_reset_keeping_head() {
        QByteArray bytes = forge_device(3, 17, 0x77, "Games", "Jump", 481, 5, {{1, 2, 3}});
        bytes[2001] = char(0x5A);
        macro_rec record = device_record(bytes);

        // Without a library there is nothing to do, and nothing is logged.
        const log_capture log;
        QVERIFY(!synchronise_to_library(nullptr, record, QStringLiteral("Games")));
        QCOMPARE(record.to_bytes(), bytes);
        QVERIFY(log.messages().isEmpty());

        fake_library library;
        QVERIFY(!synchronise_to_library(&library, record, QStringLiteral("Games")));
        QCOMPARE(log.messages().value(0),
                 QStringLiteral("This key macro is invalid, reset to default macro."));
        QCOMPARE(record.to_bytes(), forge_device(3, 17, 0, "My Macros", "My Macro", 0, 0, {}));
    }

    void renaming_data() {
        QTest::addColumn<QVector<QByteArray>>("group");
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<bool>("renamed");
        QTest::addColumn<QByteArray>("name");

        const QVector<forged_key> keys = {{1, 2, 0, 10}, {3, 4, 0, 20}};
        const QVector<forged_key> one_differs = {{1, 2, 0, 10}, {3, 4, 0, 21}};
        const QByteArray device =
            forge_device(0, 5, 7, "Games", "Jump", 2, 1, device_keys_of(keys));

        QTest::addRow("name not in the group")
            << QVector<QByteArray>{forge_library(0, 1, 7, "Run", keys)} << device << false
            << QByteArray("Jump");
        QTest::addRow("identical content keeps the name")
            << QVector<QByteArray>{forge_library(0, 1, 7, "Jump", keys)} << device << false
            << QByteArray("Jump");
        QTest::addRow("one different key")
            << QVector<QByteArray>{forge_library(0, 1, 7, "Jump", one_differs)} << device << true
            << QByteArray("Jump[1]");
        QTest::addRow("[1] taken")
            << QVector<QByteArray>{forge_library(0, 1, 7, "Jump", one_differs),
                                   forge_library(0, 1, 7, "Jump[1]", keys)}
            << device << true << QByteArray("Jump[2]");
        QTest::addRow("[1] and [2] taken in reverse order")
            << QVector<QByteArray>{forge_library(0, 1, 7, "Jump[2]", keys),
                                   forge_library(0, 1, 7, "Jump[1]", keys),
                                   forge_library(0, 1, 7, "Jump", one_differs)}
            << device << true << QByteArray("Jump[3]");
        QTest::addRow("first option word differs")
            << QVector<QByteArray>{forge_library(0, 2, 7, "Jump", keys)} << device << true
            << QByteArray("Jump[1]");
        // The device keeps only the low byte of the second word.
        QTest::addRow("second option word differs")
            << QVector<QByteArray>{forge_library(0, 1, 0x0107, "Jump", keys)} << device << true
            << QByteArray("Jump[1]");
        QTest::addRow("key field c differs")
            << QVector<QByteArray>{forge_library(0, 1, 7, "Jump", {{1, 2, 0, 10}, {3, 4, 1, 20}})}
            << device << true << QByteArray("Jump[1]");
        QTest::addRow("empty macros with the same name are the same")
            << QVector<QByteArray>{forge_library(0, 0, 0, "Jump", {}, 0)}
            << forge_device(0, 5, 0, "Games", "Jump", 0, 0, {}) << false << QByteArray("Jump");
        // The device holds 32 bytes; name and number must fit its 31 usable bytes.
        QTest::addRow("32-byte name")
            << QVector<QByteArray>{forge_library(0, 0, 0, QByteArray(32, 'A'), keys)}
            << forge_device(0, 5, 0, "Games", QByteArray(32, 'A'), 0, 0, {}) << true
            << QByteArray(28, 'A') + "[1]";
    }

    void renaming() {
        QFETCH(QVector<QByteArray>, group);
        QFETCH(QByteArray, device);
        QFETCH(bool, renamed);
        QFETCH(QByteArray, name);

        fake_library library;
        library.groups.append({QStringLiteral("Other"), {}});
        library.groups.append({QStringLiteral("Games"), {}});
        for (const QByteArray& bytes : group)
            library.groups[1].macros.append(library_record(bytes));
        const auto groups_before = library.groups.size();

        macro_rec record = device_record(device);
        QCOMPARE(synchronise_to_library(&library, record, QStringLiteral("Games")), renamed);
        QCOMPARE(device_macro_name(record), name);
        // The name is terminated inside its field and nothing else moved.
        QCOMPARE(record.b[46 + std::size_t(name.size())], uint8_t(0));
        QByteArray expected = device;
        expected.replace(46, 32, QByteArray(32, '\0'));
        expected.replace(46, name.size(), name);
        QCOMPARE(record.to_bytes(), expected);
        QCOMPARE(library.groups.size(), groups_before);
    }

    void long_names_fit_the_device() {
        // A 40-byte name stored into a device record keeps 31 bytes and a zero.
        macro_rec record = device_record(forge_device(0, 5, 0, "G", "old", 0, 0, {}));
        record.b[46 + 31] = 0xEE;
        QCOMPARE(set_device_macro_name(record, QByteArray(40, 'x')), 31);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(record.data() + 46), 32),
                 QByteArray(31, 'x') + '\0');

        // A 40-byte candidate that needs a new name gets one that the device can hold.
        const library_macro_rec taken =
            library_record(0, 0, 0, QByteArray(40, 'x'), {{1, 1, 1, 1}});
        const library_macro_rec candidate = library_record(0, 0, 0, QByteArray(40, 'x'), {});
        const QString name = compare_or_rename({&taken}, candidate);
        QCOMPARE(name.toUtf8(), QByteArray(28, 'x') + "[1]");
        QCOMPARE(set_device_macro_name(record, name.toUtf8()), 31);
        QCOMPARE(text_at(record, 46), QByteArray(28, 'x') + "[1]");

        // Twenty two-byte characters: the zero lands on a character boundary.
        QCOMPARE(set_device_macro_name(record, e_acute.repeated(20)), 30);
        QCOMPARE(text_at(record, 46), e_acute.repeated(15));
        QCOMPARE(QString::fromUtf8(text_at(record, 46)).size(), 15);
    }

    void log_lines_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QByteArray>("library"); // the one macro of the group "Games"
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("groups"); // the library's groups afterwards

        const QVector<forged_key> keys = {{1, 2, 0, 10}, {3, 4, 0, 20}};
        auto head = [](const QString& target, const QString& creation) {
            QStringList lines{"Prepare synchronize macro to data base, target group name = " +
                              target};
            if (!creation.isEmpty())
                lines << "Macro group name is not exist, create " + creation;
            return lines +
                   QStringList{"Checking macro detail, member name = Jump, key count = 2",
                               "Checking macro member name is unique. If not, will rename it."};
        };
        const QString new_name =
            "This are no macro have same name, need to create a new one [Jump].";
        const QString same_name =
            "There are another macro have the same name(Jump), prepare compare the detail";
        const QStringList renamed = {"Prepare to generate a new macro name.",
                                     "New macro name is [Jump[1]].",
                                     "This macro needs to rename.",
                                     "Macro name length is 7.",
                                     "Prepare copy new macro name to data structure",
                                     "Add end line symbol",
                                     "Add end line symbol on last byte. Pos = 7",
                                     "New macro name = Jump[1]."};
        const QStringList games{"Games"};
        const QByteArray jump = forge_library(0, 1, 0, "Jump", keys);

        QTest::addRow("new name") << "Games" << forge_library(0, 1, 0, "Run", keys)
                                  << head("Games", {}) + QStringList{new_name} << games;
        QTest::addRow("same macro")
            << "Games" << jump
            << head("Games", {}) +
                   QStringList{same_name, "This is the same macro, no need to rename it."}
            << games;
        QTest::addRow("parameter differs")
            << "Games" << forge_library(0, 2, 0, "Jump", keys)
            << head("Games", {}) +
                   QStringList{same_name,
                               "This Macro's parameter is different, needs to rename it."} +
                   renamed
            << games;
        QTest::addRow("key differs")
            << "Games" << forge_library(0, 1, 0, "Jump", {{1, 2, 0, 10}, {3, 5, 0, 20}})
            << head("Games", {}) +
                   QStringList{same_name,
                               "This Macro's key data is different, needs to rename it."} +
                   renamed
            << games;
        QTest::addRow("target group missing is appended")
            << "New" << jump << head("New", "new macro group.") + QStringList{new_name}
            << QStringList{"Games", "New"};
        QTest::addRow("no target: My Macros is appended")
            << "" << jump << head("", "[My Macros] group.") + QStringList{new_name}
            << QStringList{"Games", "My Macros"};
    }

    void log_lines() {
        QFETCH(QString, target);
        QFETCH(QByteArray, library);

        fake_library lib;
        lib.groups.append({QStringLiteral("Games"), records_of({library_record(library)})});
        macro_rec record =
            device_record(forge_device(1, 9, 0, "Games", "Jump", 2, 1, {{1, 2, 10}, {3, 4, 20}}));
        const log_capture log;
        synchronise_to_library(&lib, record, target);
        QTEST(log.messages(), "lines");
        QTEST(library_group_names(&lib), "groups");
    }

    void numbering_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("groups");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("next");

        QTest::addRow("no groups") << QStringList{} << true << 0 << "My Macros 001";
        QTest::addRow("002 then 001")
            << QStringList{"My Macros 002", "My Macros 001"} << true << 2 << "My Macros 003";
        QTest::addRow("gap after 001")
            << QStringList{"My Macros 001", "My Macros 003"} << true << 1 << "My Macros 002";
        QTest::addRow("not zero-padded")
            << QStringList{"My Macros 1", "My Macros 01"} << true << 0 << "My Macros 001";
        QTest::addRow("macro names are not group names")
            << QStringList{"My Macro 001"} << true << 0 << "My Macros 001";
        QTest::addRow("macros 002 then 001")
            << QStringList{"My Macro 002", "My Macro 001"} << false << 2 << "My Macro 003";
        QStringList thousand;
        for (int i = 1000; i >= 1; --i)
            thousand.append(QStringLiteral("My Macro %1").arg(i, 3, 10, QLatin1Char('0')));
        QTest::addRow("past three digits") << thousand << false << 1000 << "My Macro 1001";
    }

    void numbering() {
        QFETCH(QStringList, names);
        QFETCH(bool, groups);
        QFETCH(int, number);
        QFETCH(QString, next);

        const int n = groups ? next_group_number(names) : next_macro_number(names);
        QCOMPARE(n, number);
        QCOMPARE(groups ? numbered_group_name(n + 1) : numbered_macro_name(n + 1), next);
    }

    void preset_file_names_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("file");

        QTest::addRow("colon and asterisk") << "A:B*D"
                                            << "ABD.dat";
        QTest::addRow("every forbidden character") << "a|b>c/d<e\"f?g*h:i\\j"
                                                   << "abcdefghij.dat";
        QTest::addRow("nothing left") << "::"
                                      << ".dat";
    }

    void preset_file_names() {
        QFETCH(QString, group);
        QFETCH(QString, file);
        QCOMPARE(preset_file_name(group), file);
    }

    void preset_file_layout() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray first = forge_library(1, 2, 3, "Jump", {{1, 2, 3, 4}});
        const QByteArray second = forge_library(0, 0, 0, "Run", {});
        macro_group group{QString::fromUtf8("G\xC3\xA9"), {}};
        group.macros.append(library_record(first));
        group.macros.append(library_record(second));
        const QString path = dir.filePath(QStringLiteral("g.dat"));
        QVERIFY(save_preset_macro_file(path, preset_macro_magic, {group}));

        QByteArray expected("VANTOR01");
        expected += QByteArray::fromHex("00000001"); // group count
        expected += QByteArray::fromHex("00000004"
                                        "004700E9");         // "Gé", UTF-16 big-endian
        expected += QByteArray::fromHex("00000002");         // macro count
        expected += QByteArray::fromHex("00004057") + first; // 16471 bytes each
        expected += QByteArray::fromHex("00004057") + second;

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);

        QVector<macro_group> read;
        QVERIFY(read_preset_macro_file(path, preset_macro_magic, read));
        QCOMPARE(read.size(), 1);
        QCOMPARE(read[0].name, group.name);
        QVERIFY(read[0].macros == group.macros);
    }

    void write_all_preset_files_recreates_folder() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("preset_macro/"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("stale")));
        QFile stale(folder + QStringLiteral("old.dat"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();

        fake_library library;
        library.groups.append(
            {QStringLiteral("A:B*D"), records_of({library_record(0, 1, 0, "X", {})})});
        // A name longer than any file system allows cannot be opened: only it is skipped.
        const QString too_long(300, QLatin1Char('L'));
        library.groups.append({too_long, records_of({library_record(0, 0, 0, "X", {})})});
        library.groups.append(
            {QStringLiteral("Games"), records_of({library_record(0, 0, 0, "J", {{1, 1, 1, 1}}),
                                                  library_record(0, 0, 0, "K", {})})});
        library.groups.append({QStringLiteral("Empty"), {}});
        const log_capture log;
        write_all_preset_files(library_groups(&library), folder);

        QCOMPARE(log.messages(),
                 QStringList{QStringLiteral("save_macro_dat, can not open the file: ") +
                             QDir(folder).filePath(too_long + QStringLiteral(".dat"))});
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"ABD.dat", "Empty.dat", "Games.dat"}));
        library.groups.removeAt(1);
        for (const auto& group : library.groups) {
            QVector<macro_group> read;
            QVERIFY(read_preset_macro_file(folder + preset_file_name(group.name),
                                           preset_macro_magic, read));
            QCOMPARE(read.size(), 1);
            QCOMPARE(read[0].name, group.name);
            QVERIFY(read[0].macros == group.macros);
        }
    }

    void preset_reader_bad_input_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("accepted"); // and then empty: the one accepted file has no group

        // Magic, one group "G" holding one record (the whole file is read back above).
        const QByteArray good = QByteArray("VANTOR01") +
                                QByteArray::fromHex("00000001"
                                                    "00000002"
                                                    "0047"
                                                    "00000001"
                                                    "00004057") +
                                forge_library(0, 0, 0, "X", {});
        QTest::addRow("no groups") << QByteArray("VANTOR01") + QByteArray(4, '\0') << true;
        QTest::addRow("empty") << QByteArray() << false;
        QTest::addRow("wrong magic") << QByteArray("VANTOR02") + good.mid(8) << false;
        QTest::addRow("truncated in the group name") << good.left(15) << false;
        QTest::addRow("truncated in the record") << good.left(good.size() - 1) << false;
        QTest::addRow("negative group count") << patch(good, 8, "\xFF\xFF\xFF\xFF") << false;
        QTest::addRow("huge group count") << patch(good, 8, "\x7F\xFF\xFF\xFF") << false;
        QTest::addRow("huge macro count") << patch(good, 18, "\x7F\xFF\xFF\xFF") << false;
        QTest::addRow("huge name length") << patch(good, 12, "\x7F\xFF\xFF\xFE") << false;
        QTest::addRow("odd name length")
            << patch(good, 12, QByteArray::fromHex("00000003")) << false;
        QTest::addRow("short record") << patch(good, 22, QByteArray::fromHex("00004056")) << false;
        QTest::addRow("long record") << patch(good, 22, "\xFF\xFF\xFF\xF0") << false;
    }

    void preset_reader_bad_input() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, accepted);

        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const macro_group kept{QStringLiteral("kept"),
                               records_of({library_record(0, 0, 0, "K", {})})};
        QVector<macro_group> groups{kept};
        const log_capture log;
        QCOMPARE(read_preset_macro_file(&buffer, preset_macro_magic, groups), accepted);
        if (accepted) {
            QVERIFY(log.messages().isEmpty());
            QVERIFY(groups.isEmpty());
            return;
        }
        // Refused: one line in the log, and what the caller held is untouched.
        QCOMPARE(log.messages().size(), 1);
        QVERIFY(log.messages()[0].startsWith(QStringLiteral("read_macro_dat, ")));
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0].name, kept.name);
        QVERIFY(groups[0].macros == kept.macros);
    }

    void match_and_refresh_data() {
        QTest::addColumn<int>("product");
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<uint8_t>("state");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("matched");
        QTest::addColumn<bool>("gone");

        const QVector<forged_key> keys = {{1, 2, 5, 10}, {3, 4, 6, 20}};
        const QByteArray library = forge_library(0, 1, 0x0207, "Jump", keys);
        // Slot 4, button 33; byte 5 is older than the library's.
        const QByteArray device =
            forge_device(4, 33, 0x01, "Games", "Jump", 2, 1, {{1, 2, 10}, {3, 4, 20}});
        const QString games = QStringLiteral("Games");

        QTest::addRow("match is refreshed")
            << 8 << device << uint8_t(0) << games << library << 1 << true << false;
        QTest::addRow("other group")
            << 8 << device << uint8_t(0) << "Other" << library << 1 << false << false;
        QTest::addRow("other name") << 8 << device << uint8_t(0) << games
                                    << forge_library(0, 1, 7, "Jumps", keys) << 1 << false << false;
        QTest::addRow("other key count")
            << 8 << device << uint8_t(0) << games << forge_library(0, 1, 7, "Jump", keys.mid(0, 1))
            << 1 << false << false;
        QTest::addRow("other option word")
            << 8 << device << uint8_t(0) << games << forge_library(0, 2, 7, "Jump", keys) << 1
            << false << false;
        QTest::addRow("other key a")
            << 8 << device << uint8_t(0) << games
            << forge_library(0, 1, 7, "Jump", {{1, 2, 5, 10}, {9, 4, 6, 20}}) << 1 << false
            << false;
        QTest::addRow("other key value")
            << 8 << device << uint8_t(0) << games
            << forge_library(0, 1, 7, "Jump", {{1, 2, 5, 10}, {3, 4, 6, 21}}) << 1 << false
            << false;
        QTest::addRow("deleted") << 8 << device << uint8_t(1) << games << library << 1 << true
                                 << true;
        QTest::addRow("kind not accepted by the product")
            << 9 << device << uint8_t(0) << games << library << 1 << true << true;
        QTest::addRow("kind accepted by the other product")
            << 9 << device << uint8_t(0) << games << library << 0 << true << false;

        // Without keys nothing past the count is compared.
        QByteArray no_keys = forge_device(4, 33, 0, "Games", "Jump", 0, 1, {{9, 9, 9}});
        QTest::addRow("no keys") << 8 << no_keys << uint8_t(0) << games
                                 << forge_library(0, 1, 0, "Jump", {}) << 0 << true << false;
        // Held by the device as conversion stored it.
        QTest::addRow("long delay")
            << 8 << forge_device(4, 33, 0, "Games", "Jump", 1, 1, {{1, 2, 0xFFFF}}) << uint8_t(0)
            << games << forge_library(0, 1, 0, "Jump", {{1, 2, 0, 70000}}) << 0 << true << false;
        QTest::addRow("long name")
            << 8 << forge_device(4, 33, 0, "Games", QByteArray(31, 'n'), 0, 1, {}) << uint8_t(0)
            << games << forge_library(0, 1, 0, QByteArray(40, 'n'), {}) << 0 << true << false;
    }

    void match_and_refresh() {
        QFETCH(int, product);
        QFETCH(QByteArray, device);
        QFETCH(uint8_t, state);
        QFETCH(QString, group);
        QFETCH(QByteArray, library);
        QFETCH(int, kind);
        QFETCH(bool, matched);
        QFETCH(bool, gone);

        library_item item;
        item.state = state;
        item.group_name = group;
        item.record = library_record(library);
        item.kind = uint16_t(kind);

        macro_rec record = device_record(device);
        const macro_match result = ::match_and_refresh(product, item, record, *m_installation);
        QCOMPARE(result.matched, matched);
        QCOMPARE(result.gone, gone);
        if (matched && !gone) {
            // Rebuilt from the library, still the same button of the same slot.
            macro_rec expected;
            convert_library_macro(group, 4, 33, item.record, expected);
            QVERIFY(record == expected);
            QCOMPARE(record.b[5], uint8_t(item.record.second_option_word() & 0xFF));
        } else {
            QCOMPARE(record.to_bytes(), device);
        }
    }
};

QTEST_GUILESS_MAIN(test_macro_store)
#include "test_macro_store.moc"
