// The module's two entry points against a host that records every call.
#include "common/language_listener.h"
#include "common/log.h"
#include "module/module.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QtTest>

namespace {

// One journal for host and centre, so the order across both shows.
class recording_centre : public ctrl_center_i, public listener_mgr_i, public language_source_i {
public:
    recording_centre(QStringList* journal, bool has_manager, bool has_source)
        : m_journal(journal)
        , m_has_manager(has_manager)
        , m_has_source(has_source) {}

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value)
            return static_cast<ctrl_center_i*>(this);
        if (m_has_manager && iid == iid_of<listener_mgr_i>::value)
            return static_cast<listener_mgr_i*>(this);
        if (m_has_source && iid == iid_of<language_source_i>::value)
            return static_cast<language_source_i*>(this);
        return nullptr;
    }
    void release() override {}
    void kernel_command(product_kernel_i*, int32_t, const QString&) override {}
    void center_reserved_3() override {}
    void center_reserved_4() override {}
    hub_i* get_hub() override { return nullptr; }
    void center_reserved_6() override {}
    text_provider_i* get_text_provider() override { return nullptr; }
    interface_i* get_service(int32_t) override { return nullptr; }
    product_kernel_i* current_kernel() override { return nullptr; }
    void center_reserved_10() override {}
    uint8_t current_profile_slot() override { return 0xFF; }
    QWidget* profile_object(int32_t) override { return nullptr; }
    void center_reserved_13() override {}
    void center_reserved_14() override {}
    void everything_reset(int32_t) override {}
    void set_busy(bool, int32_t, int32_t) override {}
    void set_live_mode(bool) override {}

    void add_listener(listener_i* listener) override {
        m_journal->append(QStringLiteral("add_listener"));
        listeners.append(listener);
    }
    void remove_listener(listener_i* listener) override {
        m_journal->append(QStringLiteral("remove_listener"));
        listeners.removeOne(listener);
    }
    int32_t current_language() override {
        ++language_queries;
        return 3;
    }

    QVector<listener_i*> listeners;
    int language_queries = 0;

private:
    QStringList* m_journal;
    bool m_has_manager;
    bool m_has_source;
};

class recording_host : public module_host_i {
public:
    recording_host(QStringList* journal, ctrl_center_i* centre)
        : m_journal(journal)
        , m_centre(centre) {}

    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_of<interface_i>::value ? this : nullptr;
    }
    void release() override {}
    void host_reserved_2() override {}
    ctrl_center_i* get_app() override { return m_centre; }
    void register_factory(factory_fn factory, int32_t class_id) override {
        m_journal->append(QStringLiteral("register %1%2")
                              .arg(class_id, 4, 16, QLatin1Char('0'))
                              .arg(factory ? "" : " (null)"));
    }
    void unregister_factory(int32_t class_id) override {
        m_journal->append(QStringLiteral("unregister %1").arg(class_id, 4, 16, QLatin1Char('0')));
    }
    interface_i* create_instance(int32_t, const GUID&) override { return nullptr; }

private:
    QStringList* m_journal;
    ctrl_center_i* m_centre;
};

} // namespace

class test_module_entry : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void null_host_registers_nothing() {
        // An earlier host must not hear from a module entered without one.
        QStringList journal;
        recording_centre centre(&journal, true, true);
        recording_host earlier(&journal, &centre);
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
        recording_centre centre(&journal, has_manager, has_source);
        recording_host host(&journal, with_centre ? &centre : nullptr);
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
            QCOMPARE(centre.listeners, QVector<listener_i*>{listener});
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
