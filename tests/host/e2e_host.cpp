// The built module loaded by the stand-in host exactly as the koral program
// does it: entered and left through its exports, its kernels made through the
// registered factories, fed by the virtual mouse over shared memory, committed
// back to it and found again after a restart, its main page filled with the
// host's components and driven by mouse and keys; and the koral program itself.
// Nothing here reaches into the module: what the mouse keeps is checked by
// loading it into another kernel.
#include "host/components/component_texts.h"
#include "host/components/ctrl_box.h"
#include "host/components/slider.h"
#include "host/components/value_ctrl.h"
#include "host/ctrl_center.h"
#include "host/device_memory.h"
#include "host/host_catalogue.h"
#include "host/host_settings.h"
#include "host/host_storage.h"
#include "host/hub.h"
#include "host/kernel_session.h"
#include "host/main_window.h"
#include "host/module_host.h"
#include "host/module_loader.h"
#include "host/profile_panel.h"
#include "host/profile_service.h"
#include "host/profile_tile.h"
#include "host/texts.h"
#include "host/virtual_mouse.h"
#include "module/kernel_host_interfaces.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

const QString k_module = QStringLiteral(QUIL_BIN_DIR "/quil");
const QString k_program = QStringLiteral(QUIL_BIN_DIR "/koral");

QString alias_of(int32_t type) {
    return type == product_type::white ? QStringLiteral("QuilWhite") : QStringLiteral("QuilBlack");
}

// Releases a module object at the end of a scope.
struct release_t {
    void operator()(product_kernel_i* kernel) const { kernel->release(); }
};
using kernel_ref = std::unique_ptr<product_kernel_i, release_t>;

QStringList calls_of(const module_host_c& host) {
    QStringList calls;
    for (const module_host_c::journal_entry_t& entry : host.journal())
        calls.append(QStringLiteral("%1 %2")
                         .arg(entry.call == module_host_c::call_t::register_factory ? "+" : "-")
                         .arg(entry.class_id, 4, 16, QLatin1Char('0')));
    return calls;
}

QByteArray file_content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray exported(product_kernel_i* kernel, uint8_t slot) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return kernel->export_profile(&buffer, slot) ? buffer.data() : QByteArray();
}

// The main page's panels the host fills, with the title of each.
const QPair<const char*, int32_t> k_host_panels[] = {
    {"wg_sen", component_text::sensitivity_title},
    {"wg_pointer", component_text::pointer_title},
    {"wg_v_scroll", component_text::v_scroll_title},
    {"wg_h_scroll", component_text::h_scroll_title},
    {"wg_db_click", component_text::double_click_title},
};

template <class T>
T* find(QWidget* root, const QString& name) {
    return root ? root->findChild<T*>(name) : nullptr;
}

// The value slider of a host value control in a panel of the page.
slider_widget_c* value_slider(QWidget* area, const char* panel) {
    return find<slider_widget_c>(find<QWidget>(area, QLatin1String(panel)),
                                 QStringLiteral("sld_value"));
}

ctrl_box_frame_c* box_in(QWidget* area, const char* panel) {
    return find<ctrl_box_frame_c>(find<QWidget>(area, QLatin1String(panel)),
                                  QStringLiteral("wg_ctrl_box"));
}

QSpinBox* dpi_value(QWidget* area, int step) {
    return find<QSpinBox>(area, QStringLiteral("sb_value_%1").arg(step));
}

// A preset macro file as the module writes it: magic, group count, then per
// group its name and its macro records. Empty groups on any fault.
struct preset_file_t {
    quint64 magic = 0;
    QString group;
    QVector<QByteArray> records;
};
bool read_preset_file(const QString& path, preset_file_t* preset) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    qint32 groups = 0;
    qint32 macros = 0;
    in >> preset->magic >> groups >> preset->group >> macros;
    if (groups != 1 || macros < 0 || macros > 100)
        return false;
    for (qint32 i = 0; i < macros; ++i) {
        QByteArray record;
        in >> record;
        preset->records.append(record);
    }
    return in.status() == QDataStream::Ok && in.atEnd();
}

// Whether the profile set's favourites list names the control type.
bool listed_favourite(product_kernel_i* kernel, int32_t type) {
    for (int i = 0; i < 64; ++i) {
        if (kernel->favorite_item(uint8_t(i)) == type)
            return true;
    }
    return false;
}

} // namespace

class e2e_host : public QObject {
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

    // --- the module's entry points ---

    void module_lifecycle_through_the_exports() {
        QVERIFY(!m_loader->enter(m_host.get())); // entered once per load
        QCOMPARE(calls_of(*m_host), QStringList({"+ 0102", "+ 0202", "+ 0302"}));
        // The module's language listener joined the centre; a switch reaches it
        // and it asks the centre which language is now in force.
        QCOMPARE(m_centre->listeners().size(), 1);
        QVERIFY(query<language_listener_i>(m_centre->listeners().first()) != nullptr);
        const int asked = m_centre->language_queries();
        m_centre->set_language(3);
        QVERIFY(m_centre->language_queries() > asked);

        QVERIFY(m_loader->leave());
        QCOMPARE(calls_of(*m_host),
                 QStringList({"+ 0102", "+ 0202", "+ 0302", "- 0102", "- 0202", "- 0302"}));
        QVERIFY(m_host->registered_classes().isEmpty());
        QVERIFY(m_centre->listeners().isEmpty());
        // Gone for good: a later switch reaches nobody.
        const int after_exit = m_centre->language_queries();
        m_centre->set_language(0);
        QCOMPARE(m_centre->language_queries(), after_exit);

        module_loader_c other(k_module);
        QVERIFY(!other.leave()); // nothing to leave before loading and entering
        QVERIFY(other.load() && other.error_string().isEmpty() && !other.is_entered());
        QVERIFY(!other.leave());
    }

    // --- kernels and the virtual mouse ---

    void renamed_profile_survives_a_restart() {
        const QString name = QStringLiteral("Sniper Ä");
        QByteArray stored;
        {
            // A first run takes the factory state: the device reports its
            // values, the kernel commits its defaults, the mouse keeps them.
            virtual_mouse_c mouse(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
            QVERIFY(!mouse.has_blob());
            kernel_ref kernel(open_kernel(class_id::black_kernel, &mouse));
            QVERIFY(kernel && kernel->data_loaded());
            QCOMPARE(mouse.messages_sent(), (QVector<int32_t>{8, 0}));
            QCOMPARE(mouse.commands().size(), 1);
            QCOMPARE(mouse.last_command(), 3);
            QVERIFY(QFile::exists(mouse.file()));
            // Loading ended the busy state the host is in while it reads the device.
            QVERIFY(!m_centre->busy_calls().isEmpty());
            QCOMPARE(m_centre->busy_calls().last().on, false);
            QCOMPARE(kernel->profile_count(), 1);
            const QByteArray factory = mouse.blob();
            QVERIFY(!factory.isEmpty());
            QVERIFY(!kernel->commit()); // nothing changed since the load

            kernel->set_profile_name(0, name);
            QVERIFY(kernel->commit());
            QCOMPARE(mouse.commands().size(), 2);
            QCOMPARE(mouse.last_command(), 3);
            QVERIFY(mouse.blob() != factory);
            stored = mouse.blob();
            // A second commit without a change publishes nothing.
            QVERIFY(!kernel->commit());
            QCOMPARE(mouse.commands().size(), 2);
            close_kernel(kernel.get(), &mouse);
        }

        // Restart: the module leaves and comes back; a new mouse reads the same folder.
        QVERIFY(m_loader->leave());
        QVERIFY(m_host->registered_classes().isEmpty());
        m_loader = std::make_unique<module_loader_c>(k_module);
        QVERIFY(m_loader->load());
        QVERIFY(m_loader->enter(m_host.get()));

        virtual_mouse_c mouse(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
        QCOMPARE(mouse.blob(), stored);
        kernel_ref kernel(open_kernel(class_id::black_kernel, &mouse));
        QVERIFY(kernel);
        QCOMPARE(mouse.messages_sent(), QVector<int32_t>{0});
        QVERIFY(mouse.commands().isEmpty());
        QCOMPARE(kernel->profile_name(0), name);
        // The host's own section came back with the blob.
        profile_service_c* service = profile_service_c::of(kernel->profile_service());
        QVERIFY(service);
        QVERIFY(service->section_taken());
        QVERIFY(virtual_mouse_c::initialised_at(service->note()).isValid());
        QVERIFY(!kernel->commit());
        close_kernel(kernel.get(), &mouse);
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
        QVERIFY(from_mouse.file() != to_mouse.file());
        kernel_ref source(open_kernel(from, &from_mouse));
        kernel_ref target(open_kernel(to, &to_mouse));
        QVERIFY(source && target);
        QCOMPARE(source->product_type(), type_of(from));

        source->append_profile();
        source->set_profile_name(1, QStringLiteral("Crossing"));
        QBuffer profile;
        profile.open(QIODevice::WriteOnly);
        QVERIFY(source->export_profile(&profile, 1));
        profile.close();
        profile.open(QIODevice::ReadOnly);
        QVERIFY(target->import_profile(&profile, 0));
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
        close_kernel(source.get(), &from_mouse);
        close_kernel(target.get(), &to_mouse);
    }

    void kernels_join_the_hub_and_the_service_hears_product_events() {
        virtual_mouse_c mouse(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
        kernel_ref kernel(open_kernel(class_id::black_kernel, &mouse));
        QVERIFY(kernel);
        QCOMPARE(m_hub->listeners().size(), 1);
        QVERIFY(same_object(m_hub->listeners().first(), kernel.get()));
        // Library changes reach the kernel; it has no macro of that name.
        macro_library_c* library = m_hub->library();
        const int group = library->create_group(QStringLiteral("Games"));
        QVERIFY(library->delete_macro(group, library->create_macro(group, "Jump", {})));

        profile_service_c* service = profile_service_c::of(kernel->profile_service());
        QVERIFY(service);
        QCOMPARE(service->kernel(), kernel.get());
        QCOMPARE(service->profile_class(), class_id::profile);
        m_centre->send_product_event(product_type::white);
        QCOMPARE(service->product_events(), 0);
        m_centre->send_product_event(product_type::black);
        QCOMPARE(service->product_events(), 1);
        close_kernel(kernel.get(), &mouse);
        kernel.reset();
        QVERIFY(m_hub->listeners().isEmpty());
    }

    // The preset macro files mirror the host's library: a macro changed there
    // reaches its group's file in the module's data folder, though no button of
    // the mouse carries it, and a deleted one leaves it.
    void a_changed_macro_reaches_its_preset_file() {
        virtual_mouse_c mouse(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
        kernel_ref kernel(open_kernel(class_id::black_kernel, &mouse));
        QVERIFY(kernel);
        // The module's data folder is the maker's folder beside the host's, plus
        // the host's catalogue name (none in this suite); the home is the suite's own.
        const QString maker = QDir::cleanPath(QFileInfo(host_storage::module_log_folder()).path() +
                                              QStringLiteral("/../.."));
        const auto preset_files = [&maker] {
            QStringList found;
            QDirIterator it(maker, {QStringLiteral("Games AB.dat")}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                found.append(it.next());
            return found;
        };
        for (const QString& old : preset_files())
            QFile::remove(old);
        macro_library_c* library = m_hub->library();
        const int group = library->create_group(QStringLiteral("Games: A/B"));
        const int jump =
            library->create_macro(group, QStringLiteral("Jump"), macro_library_c::typed_keys("ab"));
        QVERIFY(jump >= 0);
        QVERIFY(library->set_macro_keys(group, jump, macro_library_c::typed_keys("xyz")));
        const QStringList files = preset_files();
        QCOMPARE(files.size(), 1);
        const QString file = files.first();
        QCOMPARE(QFileInfo(file).dir().dirName(), QStringLiteral("preset_macro"));

        preset_file_t preset;
        QVERIFY2(read_preset_file(file, &preset), qPrintable(file));
        QCOMPARE(preset.magic, Q_UINT64_C(0x56414E544F523031)); // "VANTOR01"
        QCOMPARE(preset.group, QStringLiteral("Games: A/B"));
        const library_macro_rec* changed = library->macro_record(group, jump);
        QVERIFY(changed);
        QCOMPARE(preset.records,
                 QVector<QByteArray>{QByteArray(reinterpret_cast<const char*>(changed->data()),
                                                int(library_macro_rec::size))});

        QVERIFY(library->delete_macro(group, jump));
        preset = {};
        QVERIFY(read_preset_file(file, &preset));
        QVERIFY(preset.records.isEmpty());
        close_kernel(kernel.get(), &mouse);
    }

    // --- the program's session and profile panel ---

    void session_commits_on_the_host_rhythm() {
        const QString name = QStringLiteral("Rhythm");
        {
            kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
            session.set_page_area(m_area.get());
            QVERIFY(!session.open(4)); // an edition without kernel
            QVERIFY(session.open(product_type::black));
            QCOMPARE(m_centre->current_kernel(), session.kernel());
            QVERIFY(session.mouse()->has_blob());
            QVERIFY(!session.commit_pending());
            QVERIFY(!session.rename_profile(0, name).isEmpty());
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
        {
            kernel_session_c again(m_host.get(), m_centre.get(), nullptr, m_dir->path());
            QVERIFY(again.open(product_type::black));
            QCOMPARE(again.kernel()->profile_count(), 2);
            QCOMPARE(again.kernel()->profile_name(0), name);
        }
        // Without the module there is no kernel to show.
        QVERIFY(m_loader->leave());
        kernel_session_c orphan(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        QVERIFY(!orphan.open(product_type::black));
        QVERIFY(!orphan.is_open());
    }

    void centre_slot_follows_the_kernel_across_sessions() {
        kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        QVERIFY(session.open(product_type::black));
        // The pages edit the slot the centre reports, so it is the kernel's from the start.
        QCOMPARE(m_centre->current_profile_slot(), session.kernel()->current_profile());
        QVERIFY(session.append_profile());
        QVERIFY(session.append_profile());
        session.select_profile(2);
        QCOMPARE(m_centre->current_profile_slot(), uint8_t(2));
        session.close();
        QCOMPARE(m_centre->current_profile_slot(), uint8_t(0xFF));

        QVERIFY(session.open(product_type::black));
        QCOMPARE(session.kernel()->profile_count(), 3);
        QCOMPARE(m_centre->current_profile_slot(), session.kernel()->current_profile());
        // A profile the kernel takes away moves the centre to one still in use.
        QVERIFY(session.delete_profile(session.kernel()->current_profile()));
        QCOMPARE(m_centre->current_profile_slot(), session.kernel()->current_profile());
        QVERIFY(m_centre->current_profile_slot() < 2);
    }

    // The device tab tells koral's note in the memory in the language chosen.
    void panel_tells_the_memory_note_in_the_chosen_language() {
        kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        profile_panel_c panel(&session, m_centre.get());
        QVERIFY(session.open(product_type::black)); // a fresh mouse: koral initialises it
        auto* note = panel.findChild<QLabel*>(QStringLiteral("lb_mouse_note"));
        QVERIFY(note);
        m_centre->set_language(host_texts::english);
        QVERIFY2(QRegularExpression(
                     QStringLiteral(R"(^initialised by koral on \d{4}-\d\d-\d\d \d\d:\d\d UTC$)"))
                     .match(note->text())
                     .hasMatch(),
                 qPrintable(note->text()));
        m_centre->set_language(host_texts::german);
        QVERIFY2(
            QRegularExpression(
                QStringLiteral(R"(^von koral initialisiert am \d\d\.\d\d\.\d{4} \d\d:\d\d UTC$)"))
                .match(note->text())
                .hasMatch(),
            qPrintable(note->text()));
        m_centre->set_language(host_texts::english);
        session.close();
    }

    void panel_operations_keep_the_users_profiles() {
        kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        profile_panel_c panel(&session, m_centre.get());
        panel.set_dialogs_enabled(false); // questions count as confirmed
        QVERIFY(session.open(product_type::black));
        product_kernel_i* kernel = session.kernel();
        auto* add = panel.findChild<QPushButton*>(QStringLiteral("btn_profile_add"));
        auto* remove = panel.findChild<QPushButton*>(QStringLiteral("btn_profile_delete"));
        auto* slot3 = panel.findChild<QPushButton*>(QStringLiteral("btn_slot_3"));
        QVERIFY(add && remove && slot3);
        QVERIFY(!remove->isEnabled()); // the mouse keeps one profile
        QVERIFY(!slot3->isEnabled());

        // Each profile tile shows the module's preview of its slot while the slot is used.
        auto preview_shown = [&panel](int slot) {
            auto* preview =
                panel.tile(slot)->findChild<QWidget*>(QStringLiteral("led_effect_fm_c"));
            return preview && preview->isVisibleTo(panel.tile(slot)) &&
                   preview->pos() == QPoint(5, 20);
        };
        QVERIFY(preview_shown(0) && !preview_shown(1));

        add->click();
        add->click();
        QCOMPARE(kernel->profile_count(), 3);
        QVERIFY(preview_shown(1) && preview_shown(2) && !preview_shown(3));
        slot3->click();
        QCOMPARE(kernel->current_profile(), uint8_t(2));
        QCOMPARE(m_centre->current_profile_slot(), uint8_t(2));
        panel.rename_profile(QStringLiteral("Lit"));
        QCOMPARE(kernel->profile_name(2), QStringLiteral("Lit"));
        QVERIFY(slot3->text().contains(QStringLiteral("Lit")));

        // Inserting and deleting leave slots behind that come back without a
        // name; every profile added later still has one, and no two share one.
        add->click();
        panel.insert_profile();
        QVERIFY(!panel.message().isEmpty());
        remove->click();
        remove->click();
        for (int i = kernel->profile_count(); i < 5; ++i)
            add->click();
        QCOMPARE(kernel->profile_count(), 5);
        QStringList names;
        for (uint8_t slot = 0; slot < 5; ++slot)
            names.append(kernel->profile_name(slot));
        QVERIFY2(!names.contains(QString()), qPrintable(names.join('|')));
        QVERIFY2(QSet<QString>(names.begin(), names.end()).size() == 5,
                 qPrintable(names.join('|')));
        while (kernel->profile_count() > 2)
            remove->click();

        // Rename: a name too long is cut and says so, an empty or taken one is refused.
        QVERIFY(!slot3->isEnabled());
        panel.select_profile(1);
        QVERIFY(panel.message().isEmpty()); // the last outcome does not linger
        panel.rename_profile(QString(60, QLatin1Char('x')));
        QCOMPARE(kernel->profile_name(1), QString(49, QLatin1Char('x')));
        QVERIFY(panel.message().contains(QStringLiteral("49")));
        for (const QString& refused : {QStringLiteral("  "), kernel->profile_name(0)}) {
            panel.rename_profile(refused);
            QCOMPARE(kernel->profile_name(1), QString(49, QLatin1Char('x')));
            QVERIFY(!panel.message().isEmpty());
        }
        panel.rename_profile(QStringLiteral("Third"));
        QCOMPARE(kernel->profile_name(1), QStringLiteral("Third"));

        // Import goes into a free slot and leaves the others as they are; the
        // copy is told apart from the profile it came from.
        const QString file = m_dir->filePath(QStringLiteral("third.qprofile"));
        panel.export_profile(file);
        QVERIFY(QFileInfo(file).size() > 0);
        const QString first = kernel->profile_name(0);
        panel.import_profile(file);
        QCOMPARE(kernel->profile_count(), 3);
        QCOMPARE(kernel->current_profile(), uint8_t(2));
        QCOMPARE(kernel->profile_name(2), QStringLiteral("Third (2)"));
        QCOMPARE(kernel->profile_name(0), first);
        // A file that is no profile takes no slot.
        panel.import_profile(m_dir->filePath(QStringLiteral("missing.qprofile")));
        QCOMPARE(kernel->profile_count(), 3);
        QVERIFY(!panel.message().isEmpty());
        // With every slot in use it replaces the active one (once confirmed).
        while (kernel->profile_count() < 5)
            add->click();
        panel.select_profile(0);
        panel.import_profile(file);
        QCOMPARE(kernel->profile_count(), 5);
        QCOMPARE(kernel->profile_name(0), QStringLiteral("Third (3)"));
        // Nothing asks without dialogs, and nothing changes without an answer.
        panel.rename_profile();
        QCOMPARE(kernel->profile_name(0), QStringLiteral("Third (3)"));
    }

    void device_messages_reach_the_kernel() {
        kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        session.set_page_area(m_area.get());
        profile_panel_c panel(&session, m_centre.get());
        QVERIFY(session.open(product_type::black));
        virtual_mouse_c* mouse = session.mouse();
        using m = profile_panel_c::device_message_t;
        for (m message : {m::reload, m::values, m::calibration_ok, m::calibration_failed}) {
            QVERIFY(panel.send_message(message));
            QVERIFY(!panel.device_message().isEmpty());
        }
        QCOMPARE(mouse->messages_sent().mid(mouse->messages_sent().size() - 4),
                 (QVector<int32_t>{0, 8, 25, 25}));

        // The DPI button moves the active profile to its next step; the kernel
        // takes it, and its next commit carries it back to the memory.
        device_memory_t before;
        QVERIFY(mouse->read_memory(&before));
        const int slot = before.current_slot();
        const int step = device_memory_t::next_dpi_step(before.settings.at(slot));
        QVERIFY(step > 0);
        QVERIFY(panel.send_message(m::dpi_button));
        QVERIFY(panel.device_message().contains(
            QString::number(device_memory_t::dpi_of(before.settings.at(slot), step))));
        QVERIFY(session.commit_now());
        device_memory_t after;
        QVERIFY(mouse->read_memory(&after));
        QCOMPARE(int(after.settings.at(slot).at(device_memory_t::active_step_at)), step);

        // The mouse's reader refuses a memory cut anywhere, and a count gone wild.
        const QByteArray blob = mouse->blob();
        device_memory_t read;
        QString error;
        for (int cut : {0, 3, 600, 13000}) {
            QVERIFY2(!device_memory_t::read(blob.left(cut), &read, &error), qPrintable(error));
            QVERIFY(!error.isEmpty());
        }
        QByteArray wild = blob;
        qToBigEndian<qint32>(0x7FFFFFFF, wild.data());
        QVERIFY(!device_memory_t::read(wild, &read, &error));
        QVERIFY(device_memory_t::read(blob, &read, &error));
    }

    void window_keeps_the_page_and_remembers_the_language() {
        host_catalogue_c catalogue;
        main_window_c window(m_host.get(), m_centre.get(), &catalogue, m_hub.get());
        window.select_edition(product_type::black);
        QPushButton* main_tab = nullptr;
        for (QPushButton* tab : window.findChildren<QPushButton*>()) {
            if (tab->property("koral_page_id").toInt() == page_type::main &&
                tab->property("koral_page_id").isValid())
                main_tab = tab;
        }
        QVERIFY(main_tab);
        main_tab->click();
        window.select_edition(product_type::white);
        QCOMPARE(window.session()->kernel()->product_type(), product_type::white);
        QPushButton* shown = nullptr;
        for (QPushButton* tab : window.findChildren<QPushButton*>()) {
            if (tab->isChecked() && tab->property("koral_page_id").isValid())
                shown = tab;
        }
        QVERIFY(shown);
        QCOMPARE(shown->property("koral_page_id").toInt(), int(page_type::main));

        // A language picked in the window is the one the next start takes.
        auto* languages = window.findChild<QComboBox*>(QStringLiteral("cb_language"));
        QVERIFY(languages);
        const int german = languages->findData(host_texts::german);
        QVERIFY(german >= 0);
        emit languages->activated(german);
        QCOMPARE(m_centre->language(), host_texts::german);
        QCOMPARE(host_settings_c().language(-1), host_texts::german);
    }

    // --- the main page in the host's components ---

    void edits_through_host_widgets_reach_the_device() {
        auto mouse = std::make_unique<virtual_mouse_c>(m_centre.get(), product_type::black,
                                                       alias_of(8), m_dir->path());
        QWidget* area = m_area.get();
        kernel_ref kernel(open_kernel(class_id::black_kernel, mouse.get()));
        QVERIFY(kernel && kernel->page(page_type::main));
        open_page(kernel.get(), page_type::main);

        // The page is built from the host's boxes and value controls.
        for (const auto& panel : k_host_panels) {
            ctrl_box_frame_c* box = box_in(area, panel.first);
            QVERIFY2(box && box->isVisible() && value_slider(area, panel.first), panel.first);
            QCOMPARE(box->title_label()->text(),
                     host_texts::text(panel.second, host_texts::english));
        }
        // The DPI switcher is the module's own form in the host's box, with host sliders.
        QCOMPARE(box_in(area, "wg_dpi")->title_label()->text(),
                 m_centre->get_text_provider()->text(205, 0));
        QCOMPARE(find<slider_widget_c>(area, QStringLiteral("sld_slider_5"))->maximum(), 12000);
        // The hub's settings show in their controls; a language switch reaches the boxes.
        QCOMPARE(value_slider(area, "wg_v_scroll")->value(), m_hub->value(hub_c::vertical_scroll));
        QCOMPARE(find<option_toggle_c>(area, QStringLiteral("ckb_pointer_precision"))->isChecked(),
                 m_hub->value(hub_c::pointer_precision) != 0);
        m_centre->set_language(host_texts::german);
        QCOMPARE(box_in(area, "wg_sen")->title_label()->text(),
                 host_texts::text(component_text::sensitivity_title, host_texts::german));

        const QByteArray before = mouse->blob();
        const int commands = mouse->commands().size();
        // Sensitivity: a click on its slider, then two steps by key.
        slider_widget_c* sensitivity = value_slider(area, "wg_sen");
        QTest::mouseClick(sensitivity, Qt::LeftButton, Qt::NoModifier,
                          sensitivity->handle_centre(1));
        QTest::keyClick(sensitivity, Qt::Key_Right);
        QTest::keyClick(sensitivity, Qt::Key_Right);
        QCOMPARE(sensitivity->value(), 3);
        // DPI: switch steps on, type a value for the second, drag the fourth to the end.
        for (int step : {2, 3, 4}) {
            auto* check = find<QCheckBox>(area, QStringLiteral("cb_dpi_%1").arg(step));
            QVERIFY(check);
            if (!check->isChecked())
                QTest::mouseClick(check, Qt::LeftButton);
            QVERIFY(check->isChecked());
        }
        QSpinBox* second = dpi_value(area, 2);
        second->setFocus();
        second->selectAll();
        QTest::keyClicks(second, QStringLiteral("4000"));
        QTest::keyClick(second, Qt::Key_Enter);
        QCOMPARE(second->value(), 4000);
        QTest::keyClick(find<slider_widget_c>(area, QStringLiteral("sld_slider_4")), Qt::Key_End);
        QCOMPARE(dpi_value(area, 4)->value(), 12000);
        // Hub settings go to the host's hub, not into the profile.
        QTest::keyClick(value_slider(area, "wg_h_scroll"), Qt::Key_End);
        QCOMPARE(m_hub->value(hub_c::horizontal_scroll), 10);

        QVERIFY(kernel->commit());
        QCOMPARE(mouse->commands().size(), commands + 1);
        QCOMPARE(mouse->last_command(), 3);
        QVERIFY(mouse->blob() != before);
        const QByteArray profile = exported(kernel.get(), 0);
        QVERIFY(!profile.isEmpty());
        close_kernel(kernel.get(), mouse.get());
        mouse.reset();

        // Another kernel loads what the mouse kept and shows the same values.
        QWidget reader_area;
        virtual_mouse_c reader(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
        kernel_ref loaded(open_kernel(class_id::black_kernel, &reader, &reader_area));
        QVERIFY(loaded->data_loaded());
        QCOMPARE(exported(loaded.get(), 0), profile);
        open_page(loaded.get(), page_type::main);
        QCOMPARE(value_slider(&reader_area, "wg_sen")->value(), 3);
        QCOMPARE(dpi_value(&reader_area, 2)->value(), 4000);
        QVERIFY(find<QCheckBox>(&reader_area, QStringLiteral("cb_dpi_3"))->isChecked());
        close_kernel(loaded.get(), &reader);
    }

    void box_reset_and_star_reach_hub_and_kernel() {
        virtual_mouse_c mouse(m_centre.get(), product_type::black, alias_of(8), m_dir->path());
        QWidget* area = m_area.get();
        kernel_ref kernel(open_kernel(class_id::black_kernel, &mouse));
        QVERIFY(kernel && kernel->page(page_type::main) && kernel->page(page_type::favorites));
        open_page(kernel.get(), page_type::main);

        // The box's reset restores the hub setting, and the page shows it.
        slider_widget_c* v_scroll = value_slider(area, "wg_v_scroll");
        QTest::keyClick(v_scroll, Qt::Key_End);
        QCOMPARE(m_hub->value(hub_c::vertical_scroll), 10);
        // A fresh mouse's pages reset the hub too; only the box's own reset counts here.
        const int resets_before = m_hub->reset_calls().size();
        QTest::mouseClick(box_in(area, "wg_v_scroll")->reset_button(), Qt::LeftButton);
        QCOMPARE(m_hub->reset_calls().mid(resets_before), QVector<int32_t>{ctrl_type::v_scroll});
        const int default_lines = hub_c::default_bytes()[hub_c::vertical_scroll];
        QCOMPARE(m_hub->value(hub_c::vertical_scroll), default_lines);
        QCOMPARE(v_scroll->value(), default_lines);

        // The star makes a favourite the kernel lists.
        ctrl_box_frame_c* box = box_in(area, "wg_h_scroll");
        QVERIFY(!box->favorite_button()->isChecked());
        QVERIFY(!listed_favourite(kernel.get(), ctrl_type::h_scroll));
        const int favourites = kernel->favorite_ctrl_count();
        QTest::mouseClick(box->favorite_button(), Qt::LeftButton);
        QVERIFY(box->favorite_button()->isChecked());
        QCOMPARE(kernel->favorite_ctrl_count(), favourites + 1);
        QVERIFY(listed_favourite(kernel.get(), ctrl_type::h_scroll));
        QVERIFY(kernel->page(page_type::main)->ctrl_funcs(ctrl_type::h_scroll)->is_favorite());

        // The favorites page builds the boxes of favourites anew, marked as such.
        open_page(kernel.get(), page_type::favorites);
        const QList<ctrl_box_frame_c*> shown = area->findChildren<ctrl_box_frame_c*>();
        QVERIFY(!shown.isEmpty());
        for (ctrl_box_frame_c* frame : shown)
            QVERIFY2(frame->favorite_button()->isChecked(),
                     qPrintable(frame->title_label()->text()));

        // Back on the main page, clearing the star takes it off the kernel's list.
        open_page(kernel.get(), page_type::main);
        box = box_in(area, "wg_h_scroll");
        QVERIFY(box->favorite_button()->isChecked());
        QTest::mouseClick(box->favorite_button(), Qt::LeftButton);
        QCOMPARE(kernel->favorite_ctrl_count(), favourites);
        QVERIFY(!listed_favourite(kernel.get(), ctrl_type::h_scroll));
        close_kernel(kernel.get(), &mouse);
    }

    // --- the koral program ---

    void program_renders_and_keeps_the_device_memory_between_runs() {
        // The first run initialises the mouse's memory, the second finds it
        // and changes nothing.
        const QString shots = m_dir->filePath(QStringLiteral("new/shots"));
        const QString memory =
            m_dir->filePath(QStringLiteral("data/koral/virtual_mouse_white.bin"));
        const QStringList arguments = {"--screenshot", shots,        "--edition",
                                       "white",        "--language", "3"};
        QCOMPARE(run_koral(arguments), 0);
        const QImage overview(shots + QStringLiteral("/overview.png"));
        QVERIFY(!overview.isNull());
        QVERIFY(overview.width() >= 1000 && overview.height() >= 600);
        // A dark window: the top-left corner is the header, not a blank white page.
        QVERIFY(qGray(overview.pixel(5, 5)) < 80);
        const QByteArray content = file_content(memory);
        QVERIFY(!content.isEmpty());
        QCOMPARE(run_koral(arguments), 0);
        QCOMPARE(file_content(memory), content);

        // The blob the program kept loads into a kernel here.
        virtual_mouse_c mouse(m_centre.get(), product_type::white, alias_of(9),
                              m_dir->filePath(QStringLiteral("data/koral")));
        kernel_ref kernel(open_kernel(class_id::white_kernel, &mouse));
        QCOMPARE(mouse.messages_sent(), QVector<int32_t>{0});
        QVERIFY(kernel->data_loaded());
        close_kernel(kernel.get(), &mouse);

        // With no display at all and no platform asked for, help still works.
        QCOMPARE(run_koral({QStringLiteral("--help")}, false), 0);
        QVERIFY(m_stdout.contains(QLatin1String("--screenshot")));

        // Which arguments are refused is the options' business; the program
        // must say so and end with code 2 instead of starting.
        QCOMPARE(run_koral({QStringLiteral("--edition"), QStringLiteral("green")}), 2);
        QVERIFY(m_stderr.contains(QLatin1String("green")));
    }

private:
    // Runs koral off screen with a throw-away home, so the module it loads
    // writes its log and the mouse its memory there, not into the user's folders.
    int run_koral(const QStringList& arguments, bool offscreen = true) {
        QProcess koral;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(display));
        if (offscreen)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), m_dir->path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
        koral.setProcessEnvironment(env);
        koral.start(k_program, arguments);
        if (!koral.waitForStarted() || !koral.waitForFinished(120000) ||
            koral.exitStatus() != QProcess::NormalExit)
            return -1;
        m_stderr = QString::fromUtf8(koral.readAllStandardError());
        m_stdout = QString::fromUtf8(koral.readAllStandardOutput());
        if (koral.exitCode() != 0)
            qWarning().noquote() << m_stderr;
        return koral.exitCode();
    }

    // As koral does it: a kernel of the edition attached to a shown page area,
    // shown as the current device, then the device reports what it holds.
    product_kernel_i* open_kernel(int32_t class_id, virtual_mouse_c* mouse,
                                  QWidget* area = nullptr) {
        area = area ? area : m_area.get();
        area->resize(1002, 720);
        area->show();
        auto* kernel = query<product_kernel_i>(m_host->create_module_object(class_id));
        if (!kernel)
            return nullptr;
        kernel->attach(m_centre.get(), area);
        m_centre->set_current_kernel(kernel);
        mouse->attach(kernel);
        return kernel;
    }

    void close_kernel(product_kernel_i* kernel, virtual_mouse_c* mouse) {
        kernel->close_page();
        mouse->detach();
        if (m_centre->current_kernel() == kernel)
            m_centre->set_current_kernel(nullptr);
    }

    void open_page(product_kernel_i* kernel, int32_t page) {
        kernel->open_page(page);
        // The form lays its panels out on its first timer tick.
        QTest::qWait(20);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ctrl_center_c> m_centre;
    std::unique_ptr<hub_c> m_hub;
    std::unique_ptr<module_host_c> m_host;
    std::unique_ptr<module_loader_c> m_loader;
    std::unique_ptr<QWidget> m_area;
    QString m_stderr;
    QString m_stdout;
};

QTEST_MAIN(e2e_host)
#include "e2e_host.moc"
