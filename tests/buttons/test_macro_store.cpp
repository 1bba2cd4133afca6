// The macro store: record conversion and validity, synchronisation into the library,
// numbering, preset macro files and matching against changed library macros.
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

void put16(QByteArray& bytes, int at, uint32_t v) {
    qToLittleEndian<quint16>(quint16(v), bytes.data() + at);
}

// A library record written byte by byte, independent of the record's accessors.
QByteArray forge_library(uint8_t record_byte, uint16_t word1, uint16_t word2,
                         const QByteArray& name, const QVector<library_key>& keys,
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
                                 const QByteArray& name, const QVector<library_key>& keys) {
    return library_record(forge_library(record_byte, word1, word2, name, keys));
}

// Appended one by one: GCC warns falsely on the list constructor with such records.
QVector<library_macro_rec> records_of(std::initializer_list<library_macro_rec> list) {
    QVector<library_macro_rec> out;
    for (const library_macro_rec& record : list)
        out.append(record);
    return out;
}

struct forged_device_key {
    uint8_t a, b;
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

QByteArray patch(QByteArray bytes, int at, const QByteArray& with) {
    return bytes.replace(at, with.size(), with);
}

const QByteArray e_acute = QByteArray("\xC3\xA9"); // two bytes

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
        module_log().init(m_log_dir.path() + QLatin1Char('/'), QStringLiteral("Quil"));

        // Product 8 takes macro kinds 0 and 1, product 9 only kind 0.
        const QByteArray xml =
            R"(<CATALOGUE><PRODUCTS><PRODUCT type="8" macro="1"/><PRODUCT type="9" macro="0"/>
            </PRODUCTS></CATALOGUE>)";
        QFile catalogue(m_install_dir.filePath(QStringLiteral("settings.xml")));
        QVERIFY(catalogue.open(QIODevice::WriteOnly) && catalogue.write(qCompress(xml)) > 0);
        catalogue.close();
        m_installation = std::make_unique<global_func_c>(
            m_install_dir.path(), m_install_dir.filePath(QStringLiteral("user")));
        m_installation->load_catalogue();
    }

    void conversion_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<QByteArray>("expected");

        const QVector<library_key> keys = {
            {1, 2, 9, 100}, {3, 4, 0, 65535}, {5, 6, 7, 65536}, {7, 8, 0, 0xFFFFFFFF}};
        const QVector<forged_device_key> device_keys = {
            {1, 2, 100}, {3, 4, 65535}, {5, 6, 0xFFFF}, {7, 8, 0xFFFF}};
        // Only the low option bits and the low byte of the second word are kept.
        QTest::addRow("fields and clipped delays")
            << QStringLiteral("Games") << forge_library(4, 0xFFF2, 0x1234, "Jump", keys)
            << forge_device(3, 17, 0x34, "Games", "Jump", 4, 2, device_keys);

        QTest::addRow("key count capped at 480")
            << QStringLiteral("G")
            << forge_library(0, 1, 0, "N", QVector<library_key>(500, {1, 2, 0, 7}))
            << forge_device(3, 17, 0, "G", "N", 480, 1, QVector<forged_device_key>(480, {1, 2, 7}));
        QTest::addRow("damaged key count beyond the array")
            << QStringLiteral("G") << forge_library(0, 1, 0, "N", {}, 0xFFFF)
            << forge_device(3, 17, 0, "G", "N", 480, 1, {});
        QTest::addRow("group name cut to 39 bytes")
            << QString(45, QLatin1Char('g')) << forge_library(0, 0, 0, "N", {})
            << forge_device(3, 17, 0, QByteArray(39, 'g'), "N", 0, 0, {});
        // 20 two-byte characters: 31 bytes would end in the middle of the 16th.
        QTest::addRow("two-byte name not split")
            << QStringLiteral("G") << forge_library(0, 0, 0, e_acute.repeated(20), {})
            << forge_device(3, 17, 0, "G", e_acute.repeated(15), 0, 0, {});
    }

    void conversion() {
        QFETCH(QString, group);
        QFETCH(QByteArray, library);
        QFETCH(QByteArray, expected);

        macro_rec target;
        target.b.fill(0xAA); // whatever was there before must not survive
        convert_library_macro(group, 3, 17, library_record(library), target);
        QCOMPARE(target.to_bytes(), expected);
    }

    void validity_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<bool>("valid");

        QTest::addRow("480 keys, kind bits aside")
            << forge_device(0, 0, 0, "G", "N", 480, 15, {}) << true;
        QTest::addRow("481 keys") << forge_device(0, 0, 0, "G", "N", 481, 0, {}) << false;
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

        const log_capture log;
        fake_library library;
        QVERIFY(!synchronise_to_library(&library, record, QStringLiteral("Games")));
        QCOMPARE(log.messages().value(0),
                 QStringLiteral("This key macro is invalid, reset to default macro."));
        QCOMPARE(record.to_bytes(), forge_device(3, 17, 0, "My Macros", "My Macro", 0, 0, {}));
    }

    void synchronise_data() {
        QTest::addColumn<QVector<QByteArray>>("group"); // the library's group "Games"
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("verdict"); // the journal's deciding line; "" not checked

        const QVector<library_key> keys = {{1, 2, 0, 10}, {3, 4, 0, 20}};
        const QVector<library_key> one_differs = {{1, 2, 0, 10}, {3, 4, 0, 21}};
        const QByteArray device =
            forge_device(0, 5, 7, "Games", "Jump", 2, 1, {{1, 2, 10}, {3, 4, 20}});
        using group = QVector<QByteArray>;
        QTest::addRow("same macro")
            << group{forge_library(0, 1, 7, "Jump", keys)} << device << QByteArray("Jump")
            << "This is the same macro, no need to rename it.";
        QTest::addRow("option word differs")
            << group{forge_library(0, 2, 7, "Jump", keys)} << device << QByteArray("Jump[1]")
            << "This Macro's parameter is different, needs to rename it.";
        QTest::addRow("one different key")
            << group{forge_library(0, 1, 7, "Jump", one_differs)} << device << QByteArray("Jump[1]")
            << "This Macro's key data is different, needs to rename it.";
        QTest::addRow("[1] taken") << group{forge_library(0, 1, 7, "Jump", one_differs),
                                            forge_library(0, 1, 7, "Jump[1]", keys)}
                                   << device << QByteArray("Jump[2]") << "";
    }

    void synchronise() {
        QFETCH(QVector<QByteArray>, group);
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, name);
        QFETCH(QString, verdict);

        fake_library library;
        library.groups.append({QStringLiteral("Other"), {}});
        library.groups.append({QStringLiteral("Games"), {}});
        for (const QByteArray& bytes : group)
            library.groups[1].macros.append(library_record(bytes));

        macro_rec record = device_record(device);
        const log_capture log;
        const bool renamed = name.endsWith(']');
        QCOMPARE(synchronise_to_library(&library, record, QStringLiteral("Games")), renamed);
        // The name is terminated inside its field and nothing else moved.
        QByteArray expected = device;
        expected.replace(46, 32, QByteArray(32, '\0'));
        expected.replace(46, name.size(), name);
        QCOMPARE(record.to_bytes(), expected);
        QCOMPARE(library_group_names(&library), (QStringList{"Other", "Games"}));
        // Synchronising only names the device macro: the library gains no macro.
        QCOMPARE(library.groups[1].macros.size(), group.size());
        QVERIFY(library.groups[0].macros.isEmpty());
        if (verdict.isEmpty())
            return;
        QStringList journal{"Prepare synchronize macro to data base, target group name = Games",
                            "Checking macro detail, member name = Jump, key count = 2",
                            "Checking macro member name is unique. If not, will rename it."};
        journal << "There are another macro have the same name(Jump), prepare compare the detail"
                << verdict;
        if (renamed)
            journal << "Prepare to generate a new macro name."
                    << "New macro name is [Jump[1]]."
                    << "This macro needs to rename."
                    << "Macro name length is 7."
                    << "Prepare copy new macro name to data structure"
                    << "Add end line symbol"
                    << "Add end line symbol on last byte. Pos = 7"
                    << "New macro name = Jump[1].";
        QCOMPARE(log.messages(), journal);
    }

    void without_target_my_macros_is_appended() {
        fake_library library;
        library.groups.append({QStringLiteral("Games"), {}});
        macro_rec record = device_record(forge_device(1, 9, 0, "Games", "Jump", 0, 1, {}));
        const log_capture log;
        synchronise_to_library(&library, record, QString());
        QCOMPARE(log.messages().value(1),
                 QStringLiteral("Macro group name is not exist, create [My Macros] group."));
        QCOMPARE(
            log.messages().value(4),
            QStringLiteral("This are no macro have same name, need to create a new one [Jump]."));
        QCOMPARE(library_group_names(&library), (QStringList{"Games", "My Macros"}));
        QVERIFY(library.groups[1].macros.isEmpty());
    }

    // Without a folder the files go where the installation keeps preset macros.
    void preset_files_in_the_installation_folder() {
        QTemporaryDir maker;
        global_func_c& installation = global_func();
        const QString before = installation.maker_folder();
        installation.set_maker_folder(maker.path() + QLatin1Char('/'));
        QVector<macro_group> groups{{QStringLiteral("My Macros"), {}}};
        write_all_preset_files(groups);
        const QString folder = installation.preset_macro_folder();
        installation.set_maker_folder(before);
        QVERIFY(folder.startsWith(maker.path()));
        QVERIFY(folder.endsWith(QStringLiteral("/preset_macro/")));
        QVERIFY(QFile::exists(folder + QStringLiteral("My Macros.dat")));
    }

    void renamed_40_byte_name_fits_the_device() {
        const library_macro_rec taken =
            library_record(0, 0, 0, QByteArray(40, 'x'), {{1, 1, 1, 1}});
        const QString name =
            compare_or_rename({&taken}, library_record(0, 0, 0, QByteArray(40, 'x'), {}));
        macro_rec record = device_record(forge_device(0, 5, 0, "G", "old", 0, 0, {}));
        record.b[46 + 31] = 0xEE;
        QCOMPARE(set_device_macro_name(record, name.toUtf8()), 31);
        QCOMPARE(record.to_bytes().mid(46, 32), QByteArray(28, 'x') + "[1]" + '\0');
    }

    void numbering_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("groups");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("next");

        QTest::addRow("no groups") << QStringList{} << true << 0 << "My Macros 001";
        QTest::addRow("002 then 001")
            << QStringList{"My Macros 002", "My Macros 001"} << true << 2 << "My Macros 003";
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

    void preset_file_layout() {
        QTemporaryDir dir;
        const QByteArray first = forge_library(1, 2, 3, "Jump", {{1, 2, 3, 4}});
        const QByteArray second = forge_library(0, 0, 0, "Run", {});
        const macro_group group{QString::fromUtf8("G\xC3\xA9"),
                                records_of({library_record(first), library_record(second)})};
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
        QVERIFY(read.size() == 1 && read[0].name == group.name && read[0].macros == group.macros);
    }

    void write_all_preset_files_recreates_folder() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("preset_macro/"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile(folder + QStringLiteral("old.dat")).open(QIODevice::WriteOnly));

        fake_library library;
        library.groups.append({QStringLiteral("A:B*D"), {}});
        // A name longer than any file system allows cannot be opened: only it is skipped.
        const QString too_long(300, QLatin1Char('L'));
        library.groups.append({too_long, {}});
        library.groups.append(
            {QStringLiteral("Games"), records_of({library_record(0, 0, 0, "J", {{1, 1, 1, 1}}),
                                                  library_record(0, 0, 0, "K", {})})});
        library.groups.append({QStringLiteral("a|b>c/d<e\"f?g*h:i\\j"), {}});
        const log_capture log;
        write_all_preset_files(library_groups(&library), folder);

        QCOMPARE(log.messages(),
                 QStringList{QStringLiteral("save_macro_dat, can not open the file: ") +
                             QDir(folder).filePath(too_long + QStringLiteral(".dat"))});
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::IgnoreCase),
                 (QStringList{"abcdefghij.dat", "ABD.dat", "Games.dat"}));
        QVector<macro_group> read;
        QVERIFY(read_preset_macro_file(folder + "Games.dat", preset_macro_magic, read));
        QVERIFY(read.size() == 1 && read[0].macros == library.groups[2].macros);
    }

    void preset_reader_bad_input_data() {
        QTest::addColumn<QByteArray>("bytes");
        // Magic, one group "G" holding one record (the whole file is read back above).
        const QByteArray good = QByteArray("VANTOR01") +
                                QByteArray::fromHex("00000001000000020047000000010000") +
                                QByteArray::fromHex("4057") + forge_library(0, 0, 0, "X", {});
        QTest::addRow("wrong magic") << QByteArray("VANTOR02") + good.mid(8);
        QTest::addRow("truncated in the record") << good.left(good.size() - 1);
        QTest::addRow("negative group count") << patch(good, 8, "\xFF\xFF\xFF\xFF");
        QTest::addRow("huge group count") << patch(good, 8, "\x7F\xFF\xFF\xFF");
        QTest::addRow("short record") << patch(good, 22, QByteArray::fromHex("00004056"));
        QTest::addRow("long record") << patch(good, 22, "\xFF\xFF\xFF\xF0");
    }

    void preset_reader_bad_input() {
        QFETCH(QByteArray, bytes);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const macro_group kept{QStringLiteral("kept"),
                               records_of({library_record(0, 0, 0, "K", {})})};
        QVector<macro_group> groups{kept};
        const log_capture log;
        QVERIFY(!read_preset_macro_file(&buffer, preset_macro_magic, groups));
        // Refused: one line in the log, and what the caller held is untouched.
        QVERIFY(log.messages().size() == 1 &&
                log.messages()[0].startsWith(QStringLiteral("read_macro_dat, ")));
        QVERIFY(groups.size() == 1 && groups[0].name == kept.name &&
                groups[0].macros == kept.macros);
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

        const QVector<library_key> keys = {{1, 2, 5, 10}, {3, 4, 6, 20}};
        const QByteArray library = forge_library(0, 1, 0x0207, "Jump", keys);
        // Slot 4, button 33; byte 5 is older than the library's.
        const QByteArray device =
            forge_device(4, 33, 0x01, "Games", "Jump", 2, 1, {{1, 2, 10}, {3, 4, 20}});
        const QString games = QStringLiteral("Games");

        // An empty `held` stands for the device record above.
        auto row = [&](const char* tag, bool matched, bool gone, const QByteArray& from,
                       const QString& group = QStringLiteral("Games"), QByteArray held = {},
                       int product = 8, int state = 0, int kind = 1) {
            QTest::newRow(tag) << product << (held.isEmpty() ? device : held) << uint8_t(state)
                               << group << from << kind << matched << gone;
        };
        row("match is refreshed", true, false, library);
        row("other group", false, false, library, "Other");
        row("other name", false, false, forge_library(0, 1, 7, "Jumps", keys));
        row("other key value", false, false,
            forge_library(0, 1, 7, "Jump", {{1, 2, 5, 10}, {3, 4, 6, 21}}));
        row("deleted", true, true, library, games, {}, 8, 1);
        row("kind not accepted by the product", true, true, library, games, {}, 9);
        // Without keys nothing past the count is compared.
        row("no keys", true, false, forge_library(0, 1, 0, "Jump", {}), games,
            forge_device(4, 33, 0, "Games", "Jump", 0, 1, {{9, 9, 9}}), 8, 0, 0);
        // Held by the device as conversion stored it.
        row("long delay", true, false, forge_library(0, 1, 0, "Jump", {{1, 2, 0, 70000}}), games,
            forge_device(4, 33, 0, "Games", "Jump", 1, 1, {{1, 2, 0xFFFF}}), 8, 0, 0);
        row("long name", true, false, forge_library(0, 1, 0, QByteArray(40, 'n'), {}), games,
            forge_device(4, 33, 0, "Games", QByteArray(31, 'n'), 0, 1, {}), 8, 0, 0);
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

        const library_item item{state, group, library_record(library), uint16_t(kind)};

        macro_rec record = device_record(device);
        const macro_match result = ::match_and_refresh(product, item, record, *m_installation);
        QCOMPARE(result.matched, matched);
        QCOMPARE(result.gone, gone);
        if (matched && !gone) {
            // Rebuilt from the library, still the same button of the same slot.
            macro_rec expected;
            convert_library_macro(group, 4, 33, item.record, expected);
            QVERIFY(record == expected);
        } else {
            QCOMPARE(record.to_bytes(), device);
        }
    }
};

QTEST_GUILESS_MAIN(test_macro_store)
#include "test_macro_store.moc"
