// The module's pictures are a resource file beside the module, not part of it:
// init_module registers data/Quil/graphics.rcc of the host's folder and
// exit_module withdraws it. A missing or broken file is logged and costs the
// pages their pictures, nothing else.
#include "common/log_capture.h"
#include "module/global_func.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// One picture every page shows; served only while the file is registered.
const char* const probe_picture = ":/graphics/controls/slider/Slider.png";

} // namespace

class test_module_pictures : public QObject {
    Q_OBJECT

    QTemporaryDir m_app;
    fake_host m_host;

    QString installed_file() const {
        return m_app.filePath(QStringLiteral("data/Quil/graphics.rcc"));
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_app.isValid());
        global_func().set_application_folder(m_app.path());
        // Points the log at its file, so later captures read the right one.
        quil_init_module(&m_host);
        quil_exit_module();
    }
    void cleanupTestCase() { global_func().set_application_folder(QString()); }

    void file_is_registered_while_the_module_is_entered_data() {
        QTest::addColumn<QByteArray>("file"); // what lies at data/Quil/graphics.rcc
        QTest::addColumn<bool>("served");     // the pages' pictures are there
        QTest::addColumn<QString>("logged");  // part of the log line, or empty for none
        QTest::addRow("shipped file") << QByteArray("shipped") << true << QString();
        QTest::addRow("missing") << QByteArray() << false
                                 << QStringLiteral("graphics.rcc not exist");
        QTest::addRow("not a resource file")
            << QByteArray("qres\0\0\0\1garbage", 15) << false
            << QStringLiteral("graphics.rcc is not a resource file");
        QTest::addRow("empty") << QByteArray("", 0) << false
                               << QStringLiteral("graphics.rcc is not a resource file");
    }
    void file_is_registered_while_the_module_is_entered() {
        QFETCH(QByteArray, file);
        QFETCH(bool, served);
        QFETCH(QString, logged);

        QFile::remove(installed_file());
        QVERIFY(QDir().mkpath(QFileInfo(installed_file()).path()));
        if (file == "shipped") {
            QVERIFY(QFile::copy(QStringLiteral(QUIL_GRAPHICS_RCC), installed_file()));
        } else if (!file.isNull()) {
            QFile out(installed_file());
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(file);
        }
        QVERIFY(!QFile::exists(QString::fromLatin1(probe_picture)));

        m_host.calls.clear();
        const log_capture log;
        quil_init_module(&m_host);
        QCOMPARE(QFile::exists(QString::fromLatin1(probe_picture)), served);
        if (served)
            QVERIFY(!QImage(QString::fromLatin1(probe_picture)).isNull());
        if (logged.isEmpty())
            QVERIFY2(!log.text().contains(QStringLiteral("graphics.rcc")), qPrintable(log.text()));
        else
            QVERIFY2(log.text().contains(logged), qPrintable(log.text()));
        // Whatever became of the pictures, the module serves its host.
        QCOMPARE(m_host.calls,
                 QStringList({QStringLiteral("register 0102"), QStringLiteral("register 0202"),
                              QStringLiteral("register 0302")}));

        quil_exit_module();
        QVERIFY(!QFile::exists(QString::fromLatin1(probe_picture)));
        QCOMPARE(m_host.calls.size(), 6);
    }

    void a_host_that_enters_twice_registers_the_file_once() {
        QFile::remove(installed_file());
        QVERIFY(QFile::copy(QStringLiteral(QUIL_GRAPHICS_RCC), installed_file()));
        quil_init_module(&m_host);
        quil_init_module(&m_host);
        quil_exit_module();
        // One registration, one withdrawal: nothing of the file stays behind.
        QVERIFY(!QFile::exists(QString::fromLatin1(probe_picture)));
    }
};

QTEST_MAIN(test_module_pictures)
#include "test_module_pictures.moc"
