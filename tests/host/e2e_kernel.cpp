// The built module's kernels as koral drives them: made through the registered
// factories, fed by the virtual mouse over shared memory, committed back to it,
// and found again after a restart. Nothing here reaches into the module: what
// the mouse keeps is checked by loading it into another kernel.
#include "host/ctrl_center.h"
#include "host/hub.h"
#include "host/kernel_session.h"
#include "host/module_host.h"
#include "host/module_loader.h"
#include "host/profile_panel.h"
#include "host/profile_service.h"
#include "host/virtual_mouse.h"

#include <QBuffer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString k_module = QStringLiteral(QUIL_BIN_DIR "/quil");
const QString k_program = QStringLiteral(QUIL_BIN_DIR "/koral");

QString alias_of(int32_t type) {
    return type == product_type::white ? QStringLiteral("QuilWhite") : QStringLiteral("QuilBlack");
}

// Releases a module object at the end of a scope.
struct kernel_ref {
    product_kernel_i* kernel = nullptr;
    kernel_ref() = default;
    explicit kernel_ref(product_kernel_i* k)
        : kernel(k) {}
    kernel_ref(const kernel_ref&) = delete;
    kernel_ref& operator=(const kernel_ref&) = delete;
    ~kernel_ref() {
        if (kernel)
            kernel->release();
    }
    product_kernel_i* operator->() const { return kernel; }
    product_kernel_i* get() const { return kernel; }
};

} // namespace

class e2e_kernel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The module shares this process's Qt, so test mode reaches its folders too.
        QStandardPaths::setTestModeEnabled(true);
    }

    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_centre = std::make_unique<ctrl_center_c>();
        m_hub = std::make_unique<hub_c>(m_dir->path());
        m_centre->set_hub(m_hub.get());
        m_host = std::make_unique<module_host_c>(m_centre.get());
        m_loader = std::make_unique<module_loader_c>(k_module);
        QVERIFY2(m_loader->load(), qPrintable(m_loader->error_string()));
        QVERIFY(m_loader->enter(m_host.get()));
        m_area = std::make_unique<QWidget>();
    }

    void cleanup() {
        m_area.reset();
        m_loader.reset(); // leaves the module
        m_host.reset();
        m_hub.reset();
        m_centre.reset();
        m_dir.reset();
    }

    void first_run_takes_the_factory_state() {
        virtual_mouse_c mouse(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
        QVERIFY(!mouse.has_blob());
        kernel_ref kernel(make_kernel(class_id::black_kernel));
        QVERIFY(kernel.get());
        attach(kernel.get(), &mouse);

        QVERIFY(kernel->data_loaded());
        QCOMPARE(mouse.messages_sent(), (QVector<int32_t>{8, 0}));
        QCOMPARE(mouse.last_command(), 3);
        QVERIFY(mouse.has_blob());
        QVERIFY(QFile::exists(mouse.file()));
        // Loading ended the busy state the host is in while it reads the device.
        QVERIFY(!m_centre->busy_calls().isEmpty());
        QCOMPARE(m_centre->busy_calls().last().on, false);
        QCOMPARE(kernel->profile_count(), 1);
        // Nothing changed since the load: the next commit publishes nothing.
        QVERIFY(!kernel->commit());
        QCOMPARE(mouse.commands().size(), 1);
        detach(kernel.get(), &mouse);
    }

    void renamed_profile_survives_a_restart() {
        const QString name = QStringLiteral("Sniper Ä");
        QByteArray stored;
        {
            virtual_mouse_c mouse(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
            kernel_ref kernel(make_kernel(class_id::black_kernel));
            QVERIFY(kernel.get());
            attach(kernel.get(), &mouse);
            const QByteArray factory = mouse.blob();
            const int commands = mouse.commands().size();

            kernel->set_profile_name(0, name);
            QVERIFY(kernel->commit());
            QCOMPARE(mouse.commands().size(), commands + 1);
            QCOMPARE(mouse.last_command(), 3);
            QVERIFY(mouse.blob() != factory);
            stored = mouse.blob();
            // A second commit without a change publishes nothing.
            QVERIFY(!kernel->commit());
            QCOMPARE(mouse.commands().size(), commands + 1);

            // What the mouse keeps holds the new name: another kernel loads it.
            virtual_mouse_c reader(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
            QCOMPARE(reader.blob(), stored);
            kernel_ref second(make_kernel(class_id::black_kernel));
            reader.attach(second.get());
            QVERIFY(second->data_loaded());
            QCOMPARE(second->profile_name(0), name);
            reader.detach();
            detach(kernel.get(), &mouse);
        }

        // Restart: the module leaves and comes back; a new mouse reads the same folder.
        QVERIFY(m_loader->leave());
        QVERIFY(m_host->registered_classes().isEmpty());
        m_loader = std::make_unique<module_loader_c>(k_module);
        QVERIFY(m_loader->load());
        QVERIFY(m_loader->enter(m_host.get()));

        virtual_mouse_c mouse(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
        QCOMPARE(mouse.blob(), stored);
        kernel_ref kernel(make_kernel(class_id::black_kernel));
        QVERIFY(kernel.get());
        attach(kernel.get(), &mouse);
        QCOMPARE(mouse.messages_sent(), QVector<int32_t>{0});
        QVERIFY(mouse.commands().isEmpty());
        QCOMPARE(kernel->profile_name(0), name);
        // The host's own section came back with the blob.
        profile_service_c* service = profile_service_c::of(kernel->profile_service());
        QVERIFY(service);
        QVERIFY(service->section_taken());
        QVERIFY(service->note().startsWith(QStringLiteral("Memory initialised by koral on ")));
        QVERIFY(!kernel->commit());
        detach(kernel.get(), &mouse);
    }

    void profiles_cross_between_the_editions_data() {
        QTest::addColumn<int32_t>("from");
        QTest::addColumn<int32_t>("to");
        QTest::addRow("black to white")
            << int32_t(class_id::black_kernel) << int32_t(class_id::white_kernel);
        QTest::addRow("white to black")
            << int32_t(class_id::white_kernel) << int32_t(class_id::black_kernel);
    }

    void profiles_cross_between_the_editions() {
        QFETCH(int32_t, from);
        QFETCH(int32_t, to);
        const auto type_of = [](int32_t c) {
            return c == class_id::white_kernel ? product_type::white : product_type::black;
        };
        virtual_mouse_c from_mouse(m_centre.get(), type_of(from), alias_of(type_of(from)),
                                   m_dir->path());
        virtual_mouse_c to_mouse(m_centre.get(), type_of(to), alias_of(type_of(to)), m_dir->path());
        kernel_ref source(make_kernel(from));
        kernel_ref target(make_kernel(to));
        QVERIFY(source.get() && target.get());
        QCOMPARE(source->product_type(), type_of(from));
        attach(source.get(), &from_mouse);
        attach(target.get(), &to_mouse);
        QVERIFY(from_mouse.file() != to_mouse.file());

        source->append_profile();
        source->set_profile_name(1, QStringLiteral("Crossing"));
        QBuffer exported;
        exported.open(QIODevice::WriteOnly);
        QVERIFY(source->export_profile(&exported, 1));
        exported.close();

        exported.open(QIODevice::ReadOnly);
        QVERIFY(target->import_profile(&exported, 0));
        QCOMPARE(target->profile_name(0), QStringLiteral("Crossing"));
        // The import is the target's change: its device gets it.
        const int before = to_mouse.commands().size();
        QVERIFY(target->commit());
        QCOMPARE(to_mouse.commands().size(), before + 1);

        // Bytes that are no profile change nothing.
        QByteArray garbage("not a profile at all");
        QBuffer bad(&garbage);
        bad.open(QIODevice::ReadOnly);
        QVERIFY(!target->import_profile(&bad, 0));
        QCOMPARE(target->profile_name(0), QStringLiteral("Crossing"));
        QVERIFY(!target->commit());
        detach(source.get(), &from_mouse);
        detach(target.get(), &to_mouse);
    }

    void kernels_join_the_hub_and_the_service_hears_product_events() {
        virtual_mouse_c mouse(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
        kernel_ref kernel(make_kernel(class_id::black_kernel));
        QVERIFY(kernel.get());
        attach(kernel.get(), &mouse);
        QCOMPARE(m_hub->listeners().size(), 1);
        QVERIFY(same_object(m_hub->listeners().first(), kernel.get()));
        // Library changes reach the kernel; it has no macro of that name.
        macro_library_c* library = m_hub->library();
        const int group = library->create_group(QStringLiteral("Games"));
        const int macro = library->create_macro(group, QStringLiteral("Jump"), {});
        QVERIFY(library->delete_macro(group, macro));

        profile_service_c* service = profile_service_c::of(kernel->profile_service());
        QVERIFY(service);
        QCOMPARE(service->kernel(), kernel.get());
        QCOMPARE(service->profile_class(), class_id::profile);
        m_centre->send_product_event(product_type::white);
        QCOMPARE(service->product_events(), 0);
        m_centre->send_product_event(product_type::black);
        QCOMPARE(service->product_events(), 1);
        detach(kernel.get(), &mouse);
        kernel->release();
        kernel.kernel = nullptr;
        QVERIFY(m_hub->listeners().isEmpty());
    }

    void session_commits_on_the_host_rhythm() {
        const QString name = QStringLiteral("Rhythm");
        {
            kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
            session.set_page_area(m_area.get());
            QVERIFY(session.open(product_type::black));
            QCOMPARE(m_centre->current_kernel(), session.kernel());
            QVERIFY(session.mouse()->has_blob());
            QVERIFY(!session.commit_pending());
            QVERIFY(session.rename_profile(0, name));
            // The kernel told the session; a commit is on its way.
            QVERIFY(session.commit_pending());
            QTRY_COMPARE(session.published_commits(), 1);
            QVERIFY(!session.commit_pending());

            // Switching edition lets the black kernel go and shows a white one.
            QVERIFY(session.append_profile());
            QVERIFY(session.commit_pending());
            QVERIFY(session.open(product_type::white));
            QCOMPARE(session.kernel()->product_type(), product_type::white);
            QCOMPARE(session.published_commits(), 2); // the pending one went out on close
            QCOMPARE(session.kernel()->profile_count(), 1);
        }
        QCOMPARE(m_centre->current_kernel(), nullptr);
        kernel_session_c again(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        QVERIFY(again.open(product_type::black));
        QCOMPARE(again.kernel()->profile_count(), 2);
        QCOMPARE(again.kernel()->profile_name(0), name);
    }

    void session_refuses_an_edition_without_kernel() {
        kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        QVERIFY(!session.open(4));
        QVERIFY(!session.is_open());
        QVERIFY(m_loader->leave());
        QVERIFY(!session.open(product_type::black));
        QVERIFY(!session.is_open());
    }

    void panel_operations_reach_the_kernel() {
        kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        profile_panel_c panel(&session, m_centre.get());
        panel.set_dialogs_enabled(false);
        QVERIFY(session.open(product_type::black));
        product_kernel_i* kernel = session.kernel();
        auto* add = panel.findChild<QPushButton*>(QStringLiteral("btn_profile_add"));
        auto* remove = panel.findChild<QPushButton*>(QStringLiteral("btn_profile_delete"));
        auto* slot3 = panel.findChild<QPushButton*>(QStringLiteral("btn_slot_3"));
        QVERIFY(add && remove && slot3);
        QVERIFY(!remove->isEnabled()); // the mouse keeps one profile
        QVERIFY(!slot3->isEnabled());

        add->click();
        add->click();
        QCOMPARE(kernel->profile_count(), 3);
        QVERIFY(slot3->isEnabled());
        slot3->click();
        QCOMPARE(kernel->current_profile(), uint8_t(2));
        QCOMPARE(m_centre->current_profile_slot(), uint8_t(2));
        QVERIFY(slot3->isChecked());
        panel.rename_profile(QStringLiteral("Third"));
        QCOMPARE(kernel->profile_name(2), QStringLiteral("Third"));
        QVERIFY(slot3->text().contains(QStringLiteral("Third")));

        const QString file = m_dir->filePath(QStringLiteral("third.qprofile"));
        panel.export_profile(file);
        QVERIFY(QFileInfo(file).size() > 0);
        remove->click();
        QCOMPARE(kernel->profile_count(), 2);
        QVERIFY(kernel->current_profile() < 2);
        QVERIFY(!slot3->isEnabled());

        panel.import_profile(file);
        QCOMPARE(kernel->profile_name(kernel->current_profile()), QStringLiteral("Third"));
        panel.import_profile(m_dir->filePath(QStringLiteral("missing.qprofile")));
        QVERIFY(!panel.message().isEmpty());
        // Nothing asks without dialogs, and nothing changes without an answer.
        panel.rename_profile();
        QCOMPARE(kernel->profile_name(kernel->current_profile()), QStringLiteral("Third"));
    }

    void program_keeps_the_device_memory_between_runs() {
        // Each run shows the edition's kernel; the first one initialises the
        // mouse's memory, the second finds it and changes nothing.
        const QString memory =
            m_dir->filePath(QStringLiteral("data/koral/virtual_mouse_white.bin"));
        run_koral({QStringLiteral("--edition"), QStringLiteral("white")});
        QVERIFY(QFile::exists(memory));
        QFile first(memory);
        QVERIFY(first.open(QIODevice::ReadOnly));
        const QByteArray content = first.readAll();
        first.close();
        run_koral({QStringLiteral("--edition"), QStringLiteral("white")});
        QFile second(memory);
        QVERIFY(second.open(QIODevice::ReadOnly));
        QCOMPARE(second.readAll(), content);
        // The blob the program kept loads into a kernel here.
        virtual_mouse_c mouse(m_centre.get(), product_type::white, alias_of(9),
                              m_dir->filePath(QStringLiteral("data/koral")));
        kernel_ref kernel(make_kernel(class_id::white_kernel));
        attach(kernel.get(), &mouse);
        QCOMPARE(mouse.messages_sent(), QVector<int32_t>{0});
        QVERIFY(kernel->data_loaded());
        detach(kernel.get(), &mouse);
    }

private:
    void run_koral(const QStringList& arguments) {
        QProcess koral;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), m_dir->path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
        koral.setProcessEnvironment(env);
        koral.start(k_program, QStringList{QStringLiteral("--screenshot"),
                                           m_dir->filePath(QStringLiteral("shots"))} +
                                   arguments);
        QVERIFY2(koral.waitForStarted(), qPrintable(koral.errorString()));
        QVERIFY(koral.waitForFinished(120000));
        QCOMPARE(koral.exitStatus(), QProcess::NormalExit);
        QVERIFY2(koral.exitCode() == 0, koral.readAllStandardError().constData());
    }

    product_kernel_i* make_kernel(int32_t class_id) {
        return query<product_kernel_i>(m_host->create_module_object(class_id));
    }

    // As koral does it: attach, show, then let the device report.
    void attach(product_kernel_i* kernel, virtual_mouse_c* mouse) {
        kernel->attach(m_centre.get(), m_area.get());
        m_centre->set_current_kernel(kernel);
        mouse->attach(kernel);
    }

    void detach(product_kernel_i* kernel, virtual_mouse_c* mouse) {
        mouse->detach();
        if (m_centre->current_kernel() == kernel)
            m_centre->set_current_kernel(nullptr);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ctrl_center_c> m_centre;
    std::unique_ptr<hub_c> m_hub;
    std::unique_ptr<module_host_c> m_host;
    std::unique_ptr<module_loader_c> m_loader;
    std::unique_ptr<QWidget> m_area;
};

QTEST_MAIN(e2e_kernel)
#include "e2e_kernel.moc"
