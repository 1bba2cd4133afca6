// The module's two entry points against a host that records every call.
#include "common/language_listener.h"
#include "common/log.h"
#include "module/module.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtTest>

namespace {

// One journal for host and centre, so the order across both shows.
using journal_t = QStringList;

QString hex(int32_t id) {
    return QStringLiteral("0x%1").arg(id, 4, 16, QLatin1Char('0'));
}

class recording_centre : public ctrl_center_i, public listener_mgr_i, public language_source_i {
public:
    explicit recording_centre(journal_t* journal, bool has_manager = true, bool has_source = true)
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
        if (!listeners.contains(listener))
            listeners.append(listener);
    }
    void remove_listener(listener_i* listener) override {
        m_journal->append(QStringLiteral("remove_listener"));
        listeners.removeOne(listener);
    }

    int32_t current_language() override {
        ++language_queries;
        return language;
    }

    language_source_i* source() { return this; }

    QVector<listener_i*> listeners;
    int32_t language = 3;
    int language_queries = 0;

private:
    journal_t* m_journal;
    bool m_has_manager;
    bool m_has_source;
};

class recording_host : public module_host_i {
public:
    recording_host(journal_t* journal, ctrl_center_i* centre)
        : m_journal(journal)
        , m_centre(centre) {}

    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_of<interface_i>::value ? this : nullptr;
    }
    void release() override {}
    void host_reserved_2() override {}
    ctrl_center_i* get_app() override {
        m_journal->append(QStringLiteral("get_app"));
        return m_centre;
    }
    void register_factory(factory_fn factory, int32_t class_id) override {
        m_journal->append(QStringLiteral("register ") + hex(class_id));
        if (!factory)
            m_journal->append(QStringLiteral("null factory"));
    }
    void unregister_factory(int32_t class_id) override {
        m_journal->append(QStringLiteral("unregister ") + hex(class_id));
    }
    interface_i* create_instance(int32_t, const GUID&) override { return nullptr; }

private:
    journal_t* m_journal;
    ctrl_center_i* m_centre;
};

// Pairs init_module with exit_module even when a check fails half-way, so
// that one failing test does not leave the module entered for the next.
class entered_module {
public:
    explicit entered_module(module_host_i* host) { quil_init_module(host); }
    ~entered_module() { leave(); }
    void leave() {
        if (m_entered)
            quil_exit_module();
        m_entered = false;
    }

private:
    bool m_entered = true;
};

journal_t only(const journal_t& journal, const QString& prefix) {
    journal_t picked;
    for (const QString& line : journal) {
        if (line.startsWith(prefix))
            picked.append(line);
    }
    return picked;
}

const journal_t registrations = {QStringLiteral("register 0x0102"),
                                 QStringLiteral("register 0x0202"),
                                 QStringLiteral("register 0x0302")};
const journal_t unregistrations = {QStringLiteral("unregister 0x0102"),
                                   QStringLiteral("unregister 0x0202"),
                                   QStringLiteral("unregister 0x0302")};

} // namespace

class test_module_entry : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void null_host_registers_nothing() {
        // An earlier host must not hear from a module entered without one.
        journal_t journal;
        recording_centre centre(&journal);
        recording_host earlier(&journal, &centre);
        { entered_module module(&earlier); }
        const journal_t before = journal;

        {
            entered_module module(nullptr);
            QCOMPARE(module_host(), nullptr);
            QCOMPARE(module_ctrl_center(), nullptr);
            QCOMPARE(module_language_listener(), nullptr);
        }
        QCOMPARE(journal, before);
        QCOMPARE(module_language_listener(), nullptr);
    }

    void factories_registered_and_withdrawn_in_order_data() {
        QTest::addColumn<bool>("with_centre");
        QTest::addRow("host with control centre") << true;
        QTest::addRow("host whose get_app is null") << false;
    }

    void factories_registered_and_withdrawn_in_order() {
        QFETCH(bool, with_centre);
        journal_t journal;
        recording_centre centre(&journal);
        recording_host host(&journal, with_centre ? &centre : nullptr);

        entered_module module(&host);
        QCOMPARE(module_host(), &host);
        QCOMPARE(only(journal, QStringLiteral("register")), registrations);
        QVERIFY(!journal.contains(QStringLiteral("null factory")));
        QVERIFY(only(journal, QStringLiteral("unregister")).isEmpty());
        // The listener exists either way; without a centre it is bound to nothing.
        QVERIFY(module_language_listener() != nullptr);

        const int entered = journal.size();
        module.leave();
        const journal_t after_exit = journal.mid(entered);
        QCOMPARE(only(after_exit, QStringLiteral("unregister")), unregistrations);
        QVERIFY(only(after_exit, QStringLiteral("register")).isEmpty());
        QCOMPARE(module_language_listener(), nullptr);
        QCOMPARE(centre.listeners.size(), 0);
    }

    void listener_bound_before_factories_and_unbound_before_withdrawal() {
        journal_t journal;
        recording_centre centre(&journal);
        recording_host host(&journal, &centre);

        entered_module module(&host);
        QCOMPARE(journal.count(QStringLiteral("add_listener")), 1);
        QVERIFY(journal.indexOf(QStringLiteral("add_listener")) <
                journal.indexOf(QStringLiteral("register 0x0102")));

        module.leave();
        QCOMPARE(journal.count(QStringLiteral("remove_listener")), 1);
        QVERIFY(journal.indexOf(QStringLiteral("remove_listener")) <
                journal.indexOf(QStringLiteral("unregister 0x0102")));
    }

    void language_listener_binding_data() {
        QTest::addColumn<bool>("has_manager");
        QTest::addColumn<bool>("has_source");
        QTest::addRow("centre with manager and language source") << true << true;
        QTest::addRow("centre without language source") << true << false;
        QTest::addRow("centre without listener manager") << false << true;
    }

    void language_listener_binding() {
        QFETCH(bool, has_manager);
        QFETCH(bool, has_source);
        journal_t journal;
        recording_centre centre(&journal, has_manager, has_source);
        recording_host host(&journal, &centre);

        entered_module module(&host);
        language_listener_c* listener = module_language_listener();
        QVERIFY(listener != nullptr);
        QCOMPARE(listener->language_source(), has_source ? centre.source() : nullptr);
        if (has_manager) {
            QCOMPARE(centre.listeners.size(), 1);
            QCOMPARE(centre.listeners.first(), static_cast<listener_i*>(listener));
            // The centre reaches the module through the listener's language face.
            auto* language = query<language_listener_i>(centre.listeners.first());
            QVERIFY(language != nullptr);
            const int asked = centre.language_queries;
            language->language_changed(centre.source(), nullptr);
            QCOMPARE(centre.language_queries > asked, has_source);
        } else {
            QVERIFY(centre.listeners.isEmpty());
        }

        module.leave();
        QVERIFY(centre.listeners.isEmpty());
        QCOMPARE(module_language_listener(), nullptr);
    }

    void log_folder_is_the_modules_own() {
        journal_t journal;
        recording_centre centre(&journal);
        recording_host host(&journal, &centre);
        entered_module module(&host);

        const QString folder = QDir::cleanPath(module_log().folder());
        QCOMPARE(QFileInfo(folder).fileName(), QStringLiteral("Quil"));
        QCOMPARE(QFileInfo(QFileInfo(folder).path()).fileName(), QStringLiteral("log"));
        // Test mode keeps the log out of the user's real folders.
        const QString data_root =
            QFileInfo(QStandardPaths::standardLocations(QStandardPaths::AppDataLocation).first())
                .path();
        QVERIFY2(folder.startsWith(data_root), qPrintable(folder));
    }
};

QTEST_MAIN(test_module_entry)
#include "test_module_entry.moc"
