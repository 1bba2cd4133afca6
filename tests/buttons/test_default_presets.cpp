// The default button-set presets: the compiled-in file, the is-default-preset test, and
// preset files that are damaged in every way the reader promises to survive.
#include "../common/log_capture.h"
#include "buttons/default_presets.h"
#include "kernel/zarek_data.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// "name/id/layout" of each preset, in list order.
QStringList describe(const QList<btn_layout_rec>& presets) {
    QStringList out;
    for (const btn_layout_rec& r : presets) {
        out << QStringLiteral("%1/%2/%3")
                   .arg(QString::fromUtf8(r.name()))
                   .arg(r.preset_id())
                   .arg(r.layout_value(), 6, 16, QLatin1Char('0'));
    }
    return out;
}

btn_layout_rec candidate(const QString& name, uint32_t layout) {
    btn_layout_rec r;
    r.set_name(name.toUtf8());
    r.set_layout_value(layout);
    return r;
}

} // namespace

class test_default_presets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        module_log().init(m_dir.path() + QLatin1Char('/'), QStringLiteral("Quil"));
    }

    void shipped_file() {
        QFile file(QString::fromLatin1(default_presets_path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("[LOAD%20DEFAULT]\r\nVALUE=1\r\n[CS%20GO]\r\nID=0\r\n"));
        zarek_data_c data(nullptr, 8);
        load_default_presets(&data);
        QCOMPARE(describe(data.saved_layouts()),
                 QStringList({"CS GO/0/020f0f", "LEAGUE OF LEGENDS/1/230e0f",
                              "BATTLEFIELD 4/2/230e0f", "Button Preset/3/000fff"}));
        // The side buttons' factory record is one of them, so a reset adds no fifth preset.
        const btn_layout_rec factory = side_default_preset(2);
        QCOMPARE(describe({factory}), QStringList{"Button Preset/3/000fff"});
        QCOMPARE(factory.b[2], uint8_t(2));
        QVERIFY(::is_default_preset(data.saved_layouts(), factory));
        for (const btn_layout_rec& r : data.saved_layouts())
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(r.data()), 3),
                     QByteArray("\x0a\x1e\x00", 3));
    }

    void is_default_preset_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("layout");
        QTest::addColumn<bool>("is_default");
        QTest::addRow("Butt with twelve singles") << "Butt" << 0x000FFFu << true;
        QTest::addRow("Button Preset with another layout") << "Button Preset" << 0x000FFEu << false;
        QTest::addRow("two characters compared whole") << "Bu" << 0x000FFFu << false;
        QTest::addRow("CS GO's layout under another name") << "XYZ" << 0x020F0Fu << false;
    }
    void is_default_preset() {
        QFETCH(QString, name);
        QFETCH(uint, layout);
        QFETCH(bool, is_default);
        const QList<btn_layout_rec> presets = read_default_presets();
        QCOMPARE(::is_default_preset(presets, candidate(name, layout)), is_default);
        QVERIFY(!::is_default_preset({}, candidate(name, layout)));
    }

    // Each file is written as given (lines joined with CR LF); `log` is a piece of what the
    // log must say, empty when it must say nothing.
    void damaged_files_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("presets");
        QTest::addColumn<QString>("log");
        QTest::addRow("empty file") << QByteArray() << QStringList() << "";
        QTest::addRow("SETTING that is no number")
            << QByteArray("[A]\nID=1\nSETTING=0xZZ\n[B]\nID=2\nSETTING=0F\n")
            << QStringList{"B/2/00000f"} << "no valid SETTING";
        QTest::addRow("missing keys") << QByteArray("[A]\nID=3\n[B]\nSETTING=1\n")
                                      << QStringList{"B/0/000001"} << "no valid SETTING";
        QTest::addRow("repeated identifier")
            << QByteArray("[A]\nID=5\nSETTING=1\n[B]\nID=5\nSETTING=2\n")
            << QStringList{"A/5/000001"} << "repeats identifier 5";
        QTest::addRow("identifier and layout beyond their fields")
            << QByteArray("[A]\nID=65537\nSETTING=0x7F000FFF\n") << QStringList{"A/1/000fff"} << "";
        QTest::addRow("name longer than the record, cut between characters")
            << QByteArray("[%C3%84%C3%84%C3%84%C3%84%C3%84%C3%84%C3%84%C3%84%C3%84%C3%84%C3%84x]"
                          "\nSETTING=1\n")
            << QStringList{QString(11, QChar(0xC4)) + "/0/000001"} << "";
        QTest::addRow("name that is not valid UTF-8")
            << QByteArray("[%FFab]\nSETTING=1\n")
            << QStringList{QString(QChar(0xFF)) + "ab/0/000001"} << "not valid UTF-8";
        QTest::addRow("garbage bytes")
            << QByteArray("\x00\xff[\x01=\n=[]]\n\xc3", 12) << QStringList() << "";
    }
    void damaged_files() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, presets);
        QFETCH(QString, log);
        QTemporaryDir dir;
        const QString path = dir.filePath("presets.dat");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content.replace("\n", "\r\n"));
        file.close();
        log_capture capture;
        QCOMPARE(describe(read_default_presets(path)), presets);
        if (!log.isEmpty())
            QVERIFY2(capture.text().contains(log), qPrintable(capture.text()));
    }

    void missing_oversized_and_overlong_files() {
        QTemporaryDir dir;
        log_capture capture;
        QVERIFY(read_default_presets(dir.filePath("absent.dat")).isEmpty());
        QVERIFY(capture.text().contains("missing"));

        QFile big(dir.filePath("big.dat"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write("[A]\r\nSETTING=1\r\n" + QByteArray(70 * 1024, ';'));
        big.close();
        QVERIFY(read_default_presets(big.fileName()).isEmpty());

        QFile many(dir.filePath("many.dat"));
        QVERIFY(many.open(QIODevice::WriteOnly));
        for (int i = 0; i < 60; ++i)
            many.write(QStringLiteral("[P%1]\r\nID=%1\r\nSETTING=FFF\r\n")
                           .arg(i, 2, 10, QLatin1Char('0'))
                           .toLatin1());
        many.close();
        QCOMPARE(read_default_presets(many.fileName()).size(), 51);
        QVERIFY(capture.text().contains("more than 51 presets"));

        // A failed load leaves the profile set with no presets rather than stale ones.
        zarek_data_c data(nullptr, 8);
        load_default_presets(&data, dir.filePath("absent.dat"));
        QVERIFY(data.saved_layouts().isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(test_default_presets)
#include "test_default_presets.moc"
