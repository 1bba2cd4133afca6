// The built module, loaded and entered by the stand-in host exactly as the
// koral program does it, and the koral program itself.
#include "host/ctrl_center.h"
#include "host/module_host.h"
#include "host/module_loader.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString k_module = QStringLiteral(QUIL_BIN_DIR "/quil");
const QString k_program = QStringLiteral(QUIL_BIN_DIR "/koral");

QVector<int32_t> classes_of(const QVector<module_host_c::journal_entry_t>& journal,
                            module_host_c::call_t call) {
    QVector<int32_t> ids;
    for (const module_host_c::journal_entry_t& entry : journal) {
        if (entry.call == call)
            ids.append(entry.class_id);
    }
    return ids;
}

const QVector<int32_t> k_classes = {0x0102, 0x0202, 0x0302};

} // namespace

class e2e_host : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The module shares this process's Qt, so test mode reaches its folders too.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(m_home.isValid(), "no temporary home for the program runs");
    }

    void loading_resolves_both_entry_points() {
        module_loader_c loader(k_module);
        QVERIFY2(loader.load(), qPrintable(loader.error_string()));
        QVERIFY(loader.is_loaded());
        QVERIFY(loader.error_string().isEmpty());
        QVERIFY(!loader.is_entered());
        QVERIFY(!loader.leave()); // nothing to leave before entering
    }

    void module_lifecycle_through_the_exports() {
        ctrl_center_c centre;
        module_host_c host(&centre);
        module_loader_c loader(k_module);
        QVERIFY2(loader.load(), qPrintable(loader.error_string()));

        QVERIFY(loader.enter(&host));
        QVERIFY(!loader.enter(&host)); // entered once per load
        QCOMPARE(classes_of(host.journal(), module_host_c::call_t::register_factory), k_classes);
        QVERIFY(classes_of(host.journal(), module_host_c::call_t::unregister_factory).isEmpty());
        for (int32_t id : k_classes)
            QVERIFY(host.has_factory(id));
        // The module's language listener joined the centre.
        QCOMPARE(centre.listeners().size(), 1);
        QVERIFY(query<language_listener_i>(centre.listeners().first()) != nullptr);

        // A switch reaches it: it asks the centre which language is now in force.
        const int asked = centre.language_queries();
        centre.set_language(3);
        QVERIFY(centre.language_queries() > asked);

        QVERIFY(loader.leave());
        QCOMPARE(classes_of(host.journal(), module_host_c::call_t::unregister_factory), k_classes);
        QCOMPARE(host.journal().size(), 6);
        QVERIFY(host.registered_classes().isEmpty());
        QVERIFY(centre.listeners().isEmpty());

        // Gone for good: a later switch reaches nobody.
        const int after_exit = centre.language_queries();
        centre.set_language(0);
        QCOMPARE(centre.language_queries(), after_exit);
    }

    void program_renders_screenshots() {
        QTemporaryDir shots;
        QVERIFY(shots.isValid());
        const QString folder = shots.filePath(QStringLiteral("new/shots"));
        QProcess koral;
        run(koral, {QStringLiteral("--screenshot"), folder, QStringLiteral("--edition"),
                    QStringLiteral("white"), QStringLiteral("--language"), QStringLiteral("3")});
        QCOMPARE(koral.exitStatus(), QProcess::NormalExit);
        QVERIFY2(koral.exitCode() == 0, koral.readAllStandardError().constData());

        const QImage overview(folder + QStringLiteral("/overview.png"));
        QVERIFY(!overview.isNull());
        QVERIFY(overview.width() >= 1000 && overview.height() >= 600);
        // A dark window: the top-left corner is the header, not a blank white page.
        QVERIFY(qGray(overview.pixel(5, 5)) < 80);
    }

    void program_refuses_bad_arguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        QTest::addRow("unknown option") << QStringList{"--bogus"} << QStringLiteral("bogus");
        QTest::addRow("unknown edition")
            << QStringList{"--edition", "green"} << QStringLiteral("green");
        QTest::addRow("language the catalogue lacks")
            << QStringList{"--language", "42"} << QStringLiteral("42");
    }

    void program_refuses_bad_arguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        QProcess koral;
        run(koral, arguments);
        QCOMPARE(koral.exitStatus(), QProcess::NormalExit);
        QCOMPARE(koral.exitCode(), 2);
        QVERIFY(QString::fromUtf8(koral.readAllStandardError()).contains(complaint));
    }

private:
    // Runs koral off screen with a throw-away home, so the module it loads
    // writes its log there and not into the user's folders.
    void run(QProcess& koral, const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        koral.setProcessEnvironment(env);
        koral.start(k_program, arguments);
        QVERIFY2(koral.waitForStarted(), qPrintable(koral.errorString()));
        QVERIFY(koral.waitForFinished(120000));
    }

    QTemporaryDir m_home;
};

QTEST_MAIN(e2e_host)
#include "e2e_host.moc"
