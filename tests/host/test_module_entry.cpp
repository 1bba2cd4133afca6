// The module's two entry points against a host that records every call.
#include "common/language_listener.h"
#include "common/log.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QtTest>

namespace {

// A host whose centre offers the listener manager and the language source as asked;
// host and centre write into `journal`, so the order across both shows.
void record_into(fake_host& host, QStringList* journal, bool has_manager = true,
                 bool has_source = true) {
    host.journal = journal;
    host.center.journal = journal;
    host.center.offers_manager = has_manager;
    host.center.offers_source = has_source;
    host.center.language = 3;
}

} // namespace

class test_module_entry : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void null_host_registers_nothing() {
        // An earlier host must not hear from a module entered without one.
        QStringList journal;
        fake_host earlier;
        record_into(earlier, &journal);
        quil_init_module(&earlier);
        quil_exit_module();
        const QStringList before = journal;
        quil_init_module(nullptr);
        // Leaves the module even when a check fails, so the next test starts clean.
        auto leave = qScopeGuard([] { quil_exit_module(); });
        QCOMPARE(module_host(), nullptr);
        QCOMPARE(module_ctrl_center(), nullptr);
        QCOMPARE(module_language_listener(), nullptr);
        leave.dismiss();
        quil_exit_module();
        QCOMPARE(journal, before);
    }

    void entry_and_exit_data() {
        QTest::addColumn<bool>("with_centre");
        QTest::addColumn<bool>("has_manager");
        QTest::addColumn<bool>("has_source");
        QTest::addRow("centre with manager and language source") << true << true << true;
        QTest::addRow("centre without language source") << true << true << false;
        QTest::addRow("centre without listener manager") << true << false << true;
        QTest::addRow("host whose get_app is null") << false << false << false;
    }

    void entry_and_exit() {
        QFETCH(bool, with_centre);
        QFETCH(bool, has_manager);
        QFETCH(bool, has_source);
        QStringList journal;
        fake_host host;
        record_into(host, &journal, has_manager, has_source);
        if (!with_centre)
            host.app = nullptr;
        fake_center& centre = host.center;
        const QStringList bind = has_manager ? QStringList{"add_listener"} : QStringList{};
        const QStringList unbind = has_manager ? QStringList{"remove_listener"} : QStringList{};

        quil_init_module(&host);
        auto leave = qScopeGuard([] { quil_exit_module(); });
        QCOMPARE(module_host(), &host);
        // The listener joins before the factories, exactly once; three factories in order.
        QCOMPARE(journal, bind + QStringList({"register 0102", "register 0202", "register 0302"}));

        // The listener exists either way; without a centre it is bound to nothing.
        language_listener_c* listener = module_language_listener();
        QVERIFY(listener != nullptr);
        QCOMPARE(listener->language_source(),
                 has_source ? static_cast<language_source_i*>(&centre) : nullptr);
        if (has_manager) {
            QCOMPARE(centre.listeners, QList<listener_i*>{listener});
            // The centre reaches the module through the listener's language face.
            auto* language = query<language_listener_i>(centre.listeners.first());
            QVERIFY(language != nullptr);
            language->language_changed(&centre, nullptr);
            QCOMPARE(centre.language_queries > 0, has_source);
        }

        // The log goes to a folder of the module's own, kept out of the user's
        // real folders by test mode.
        const QString folder = QDir::cleanPath(module_log().folder());
        QCOMPARE(QFileInfo(folder).fileName(), QStringLiteral("Quil"));
        QCOMPARE(QFileInfo(QFileInfo(folder).path()).fileName(), QStringLiteral("log"));
        const QString data_root =
            QFileInfo(QStandardPaths::standardLocations(QStandardPaths::AppDataLocation).first())
                .path();
        QVERIFY2(folder.startsWith(data_root), qPrintable(folder));

        // Leaving unbinds first, then withdraws the factories in the same order.
        const int entered = journal.size();
        leave.dismiss();
        quil_exit_module();
        QCOMPARE(journal.mid(entered),
                 unbind + QStringList({"unregister 0102", "unregister 0202", "unregister 0302"}));
        QVERIFY(centre.listeners.isEmpty());
        QCOMPARE(module_language_listener(), nullptr);
    }
};

QTEST_MAIN(test_module_entry)
#include "test_module_entry.moc"
