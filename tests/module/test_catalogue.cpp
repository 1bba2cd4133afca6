// The installation layout: settings.xml (qCompress format), its paths, the test values.
#include "common/log.h"
#include "common/log_capture.h"
#include "module/global_func.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

QByteArray catalogue_xml(const QByteArray& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KORAL_SETTINGS version=\"1\">\n" + body +
           "\n</KORAL_SETTINGS>\n";
}

QByteArray products_xml(const QByteArray& products) {
    return catalogue_xml("<PRODUCTS>" + products + "</PRODUCTS>");
}

// A small installation: the host (alias KORAL), both editions and a language.
QByteArray standard_xml() {
    return catalogue_xml(R"(<LANGUAGES><LANGUAGE id="3" name="Deutsch" file="de"/></LANGUAGES>
        <PRODUCTS>
            <PRODUCT type="1" alias_name="KORAL"/>
            <PRODUCT type="8" alias_name="QuilBlack"/>
            <PRODUCT type="9" alias_name="QuilWhite"/>
        </PRODUCTS>)");
}

// Products with device types and macro masks; two pids are listed twice.
QByteArray classes_xml() {
    return products_xml(R"(
        <PRODUCT type="10" pid="0010" device_type="0"/>
        <PRODUCT type="12" pid="0050" device_type="2" macro="1"/>
        <PRODUCT type="13" pid="0050" device_type="1" macro="2"/>
        <PRODUCT type="14" pid="0060" device_type="3" macro="3"/>
        <PRODUCT type="15" pid="0060" device_type="0" macro="4"/>
        <PRODUCT type="16" pid="0080" device_type="4"/>)");
}

} // namespace

class test_catalogue : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_log_dir;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_app;
    QString m_maker;

    void write_file(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        QCOMPARE(file.write(bytes), qint64(bytes.size()));
    }
    void write_catalogue(const QByteArray& xml) {
        write_file(m_app + "settings.xml", qCompress(xml));
    }

    global_func_c loaded(const QByteArray& xml) {
        write_catalogue(xml);
        global_func_c layout(m_app, m_maker);
        layout.load_catalogue();
        return layout;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_log_dir.isValid());
        module_log().init(m_log_dir.path() + "/", "Quil");
    }

    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_app = m_dir->path() + "/app/";
        m_maker = m_dir->path() + "/maker/VANTOR/";
        QVERIFY(QDir().mkpath(m_app));
    }

    void product_attributes_data() {
        QTest::addColumn<QByteArray>("element");
        // type, pid, updating pid (hexadecimal), dll name|display name, auto unplug
        QTest::addColumn<QString>("expected");

        QTest::addRow("all attributes")
            << QByteArray(R"(<PRODUCT type="8" pid="2C4A" updating_pid="2C4B" dll_name="quil"
                          alias_name="QuilBlack" disp_name="Quil Black" auto_unplug_plugin="1"/>)")
            << "8 2c4a 2c4b quil|Quil Black 1";
        QTest::addRow("updating_pid and disp_name missing: the pid and the dll_name")
            << QByteArray(R"(<PRODUCT type="8" pid="2C4A" dll_name="quil"/>)")
            << "8 2c4a 2c4a quil|quil 0";
        QTest::addRow("updating_pid 0 takes the pid")
            << QByteArray(R"(<PRODUCT type="8" pid="2C4A" updating_pid="0" disp_name="Q"/>)")
            << "8 2c4a 2c4a |Q 0";
        QTest::addRow("pids are hexadecimal, any case")
            << QByteArray(R"(<PRODUCT type="9" pid="ffff" updating_pid="10"/>)") << "9 ffff 10 | 0";
        QTest::addRow("type missing is 0; attribute names are case-sensitive")
            << QByteArray(R"(<PRODUCT PID="2C4A" dll_name="x" auto_unplug_plugin="7"/>)")
            << "0 0 0 x|x 1";
    }

    void product_attributes() {
        QFETCH(QByteArray, element);
        QFETCH(QString, expected);
        const global_func_c layout = loaded(products_xml(element));
        QCOMPARE(layout.product_types().size(), 1);
        const int32_t type = layout.product_types().first();
        const global_func_c::product_t* product = layout.product(type);
        QVERIFY(product);
        QCOMPARE(QString("%1 %2 %3 %4|%5 %6")
                     .arg(type)
                     .arg(product->pid, 0, 16)
                     .arg(product->updating_pid, 0, 16)
                     .arg(layout.dll_name(type), layout.disp_name(type))
                     .arg(int(product->auto_unplug)),
                 expected);
    }

    void device_class_data() {
        QTest::addColumn<int>("pid");
        QTest::addColumn<int>("device_class");

        QTest::addRow("listed as headset and keyboard: the lower type") << 0x0050 << 1;
        QTest::addRow("listed as pad and mouse: the lower type") << 0x0060 << 0;
        QTest::addRow("device_type out of range") << 0x0080 << -1;
        QTest::addRow("unknown pid") << 0x1234 << -1;
    }

    void device_class() {
        const global_func_c layout = loaded(classes_xml());
        QFETCH(int, pid);
        QTEST(layout.device_class(uint16_t(pid)), "device_class");
    }

    void macro_allowed_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<bool>>("kinds"); // allowed for kinds 0, 1, 2, 3

        QTest::addRow("macro missing") << 10 << QList<bool>{false, false, false, false};
        QTest::addRow("macro 1") << 12 << QList<bool>{true, true, false, false};
        QTest::addRow("macro 2") << 13 << QList<bool>{true, false, true, false};
        QTest::addRow("higher bits add no kind") << 15 << QList<bool>{true, false, false, false};
    }

    void macro_allowed() {
        const global_func_c layout = loaded(classes_xml());
        QFETCH(int, type);
        QFETCH(QList<bool>, kinds);
        for (int kind = 0; kind < kinds.size(); ++kind)
            QVERIFY2(layout.macro_allowed(kind, type) == kinds[kind],
                     qPrintable(QString("kind %1").arg(kind)));
        QVERIFY(!layout.macro_allowed(-1, type));
    }

    void tables_and_unknown_elements() {
        const global_func_c layout = loaded(catalogue_xml(R"(
            <NEWS><LANGUAGE id="5" name="Hidden" file="hidden"/></NEWS>
            <LANGUAGES>
                <LANGUAGE id="3" name="Deutsch" file="de"/>
                <LANGUAGE id="0" name="English" file="en"/>
                <LANGUAGE id="oops" name="Broken" file="broken"/>
            </LANGUAGES>
            <PRODUCTS><PRODUCT type="8" alias_name="QuilBlack"/></PRODUCTS>
            <OVRA_PRODUCT><PRODUCT type="9"/><PRODUCT type="1"/><PRODUCT type="8"/></OVRA_PRODUCT>
            <M_KEY_PRODUCT><PRODUCT type="4"/><PRODUCT/><PRODUCT type="x"/></M_KEY_PRODUCT>
            <T_KEY_PRODUCT><PRODUCT type="1"/><PRODUCT type="5"/></T_KEY_PRODUCT>
            <MACRO_KEY_COUNT>
                <MACRO_KEY_COUNT type="4" count="5"/><EXTEND_KEY_COUNT type="6" count="9"/>
            </MACRO_KEY_COUNT>
            <EASY_ZONE_KEY_COUNT><EASY_ZONE_KEY_COUNT type="6" count="70000"/></EASY_ZONE_KEY_COUNT>
            <EXTEND_KEY_COUNT><EXTEND_KEY_COUNT type="5" count="65535"/></EXTEND_KEY_COUNT>)"));
        // Ascending ids; an id that is no number is 0 and the later entry wins.
        QCOMPARE(layout.language_ids(), (QList<int32_t>{0, 3}));
        QCOMPARE(layout.translation_file(8, 0), m_app + "data/QuilBlack/language/broken.qm");
        // The host (type 1) is skipped, the order of the file is kept; missing and
        // unparsable types count as 0.
        QCOMPARE(layout.ovra_products(), (QList<int32_t>{9, 8}));
        QCOMPARE(layout.m_key_products(), (QList<int32_t>{4, 0, 0}));
        QCOMPARE(layout.t_key_products(), QList<int32_t>{5});
        QCOMPARE(layout.macro_key_count(4), uint16_t(5));
        // A child of another table's name does not count here, nor there.
        QCOMPARE(layout.extend_key_count(6), uint16_t(0));
        QCOMPARE(layout.easy_zone_key_count(6), uint16_t(0)); // beyond 16 bits
        QCOMPARE(layout.extend_key_count(5), uint16_t(65535));
    }

    void paths() {
        const global_func_c layout = loaded(standard_xml());
        const QString module = m_maker + "KORAL/";
        const QList<QPair<QString, QString>> paths = {
            {layout.catalogue_file(), m_app + "settings.xml"},
            {layout.translation_file(9, 3), m_app + "data/QuilWhite/language/de.qm"},
            {layout.module_data_folder(), module},
            {layout.log_folder(), module + "log/Quil/"},
            {layout.preset_macro_folder(), module + "preset_macro/"},
            {layout.favourites_file(9), module + "setting/QuilWhite"},
            {layout.test_values_file(), module + "test_value.ini"},
            {layout.shared_memory_prefix(8), "KORALQuilBlack"},
        };
        for (const auto& path : paths)
            QCOMPARE(path.first, path.second);
    }

    void default_folders() {
        const global_func_c layout;
        QCOMPARE(layout.catalogue_file(), QCoreApplication::applicationDirPath() + "/settings.xml");
        // The maker's folder sits beside the application's own per-user folder (here the
        // test-mode one, so nothing real is touched).
        const QString own = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QVERIFY(own.contains(".qttest"));
        QCOMPARE(layout.maker_folder(), QFileInfo(own).path() + "/VANTOR/");
    }

    void test_values() {
        global_func_c layout = loaded(standard_xml());
        QVERIFY(QDir().mkpath(layout.module_data_folder()));
        write_file(layout.test_values_file(), "[General]\n0=abc\n1=11\n9=-19\n10=99\n");
        QVector<int> values;
        for (const bool present : {true, false}) {
            if (!present) // a missing file reads as empty
                QVERIFY(QFile::remove(layout.test_values_file()));
            layout.load_test_values();
            for (int i = -1; i <= 10; ++i)
                values.append(layout.test_value(i));
        }
        // Outside 0..9, missing keys and non-numbers are 0.
        QCOMPARE(values,
                 (QVector<int>{0, 0, 11, 0, 0, 0, 0, 0, 0, 0, -19, 0}) + QVector<int>(12, 0));
    }

    void malformed_catalogue_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: no file at all
        QTest::addColumn<QString>("logged");
        QTest::addColumn<bool>("first_kept"); // the language before the first product
        QTest::addColumn<bool>("last_kept");  // the last product of the file

        // Many products, so that a cut in the compressed stream lands well inside them.
        QByteArray xml = R"(<LANGUAGES><LANGUAGE id="0" name="English" file="en"/></LANGUAGES>)";
        for (int type = 100; type < 400; ++type)
            xml +=
                QString(R"(<PRODUCTS><PRODUCT type="%1" pid="%1"/></PRODUCTS>)").arg(type).toUtf8();
        xml = catalogue_xml(xml);
        const QByteArray compressed = qCompress(xml);
        const QString cut = QStringLiteral("$F ends before its compressed stream does");
        QByteArray claims_4_gib = compressed;
        qToBigEndian<quint32>(0xFFFFFFFFu, claims_4_gib.data());

        QTest::addRow("missing file") << QByteArray() << "$F not exist" << false << false;
        QTest::addRow("empty file") << QByteArray("") << "$F is too short" << false << false;
        QTest::addRow("zlib stream cut in the middle")
            << compressed.left(compressed.size() / 2) << cut << true << false;
        QTest::addRow("not zlib") << QByteArray("\x00\x00\x01\x00<KORAL_SETTINGS/>", 21)
                                  << "$F is not valid compressed data" << false << false;
        QTest::addRow("zlib of plain text") << qCompress("not the products you are looking for")
                                            << "$F:1:1: Start tag expected" << false << false;
        // The length only claims; it must never size an allocation.
        QTest::addRow("length prefix claims 4 GiB")
            << claims_4_gib << QString("$F declares 4294967295 bytes but holds %1").arg(xml.size())
            << true << true;
        // A stream that inflates past the limit is cut there: what came before stays.
        const int limit = global_func_c::max_catalogue_bytes;
        QTest::addRow("inflates past the limit")
            << qCompress(catalogue_xml(
                   R"(<LANGUAGES><LANGUAGE id="0" file="en"/></LANGUAGES><!--)" +
                   QByteArray(limit, ' ') + R"(--><PRODUCTS><PRODUCT type="399"/></PRODUCTS>)"))
            << QString("$F inflates to more than %1 bytes").arg(limit) << true << false;
    }

    void malformed_catalogue() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, logged);
        if (!bytes.isNull())
            write_file(m_app + "settings.xml", bytes);
        global_func_c layout(m_app, m_maker);
        const log_capture capture;
        layout.load_catalogue();

        const QString log = capture.text();
        QVERIFY2(log.contains(logged.replace("$F", layout.catalogue_file())), qPrintable(log));
        QTEST(layout.language_ids().contains(0), "first_kept");
        QTEST(layout.product(399) != nullptr, "last_kept");
        // Without the host's product the module's data sits in the maker folder + "/".
        QCOMPARE(layout.module_data_folder(), m_maker + "/");
    }

    void shipped_catalogue() {
        // bin/settings.xml is what the build made from the host's readable catalogue.
        QVERIFY(QFile::copy(QStringLiteral(QUIL_BIN_DIR "/settings.xml"), m_app + "settings.xml"));
        global_func_c layout(m_app, m_maker);
        const log_capture log;
        layout.load_catalogue();
        QCOMPARE(log.text(), QString());
        QCOMPARE(layout.alias_name(1), QString("KORAL"));
        QCOMPARE(layout.alias_name(8), QString("QuilBlack"));
        QCOMPARE(layout.alias_name(9), QString("QuilWhite"));
        for (const int32_t type : {8, 9}) {
            QCOMPARE(layout.dll_name(type), QString("quil"));
            QVERIFY(layout.macro_allowed(2, type));
            QCOMPARE(layout.device_class(layout.product(type)->pid), 0);
        }
        QCOMPARE(layout.language_ids(), (QList<int32_t>{0, 3}));
    }
};

QTEST_GUILESS_MAIN(test_catalogue)
#include "test_catalogue.moc"
