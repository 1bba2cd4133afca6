// The stand-in host's own parts: texts, control centre, module host, catalogue,
// command line and loader failures.
#include "host/ctrl_center.h"
#include "host/host_catalogue.h"
#include "host/host_options.h"
#include "host/module_host.h"
#include "host/module_loader.h"
#include "host/texts.h"

#include <QLibraryInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

// Every host text the module asks for, by where it asks.
QList<int32_t> module_text_ids() {
    QList<int32_t> ids = {1,   3,   27,  43,  63,  64,  65,  72,  100, 202, 203, 205, 239, 327,
                          340, 387, 388, 389, 390, 434, 460, 495, 498, 500, 510, 569, 581};
    const QPair<int32_t, int32_t> ranges[] = {
        {73, 96},   // macro, hotkey, timer and standard-function entries
        {101, 111}, // advanced and internet categories
        {113, 200}, // catalogue entries, file dialogs, advanced tab
        {520, 530}, // colour flow, lighting labels, sensitivity entries
        {591, 595}, // side box
        {598, 632}, // overlays, guide, presets, surface tuning
    };
    for (const auto& range : ranges) {
        for (int32_t id = range.first; id <= range.second; ++id)
            ids.append(id);
    }
    return ids;
}

// A listener that records what it hears; it answers only the faces it is given.
class probe_listener : public listener_i,
                       public language_listener_i,
                       public ctrl_center_listener_i {
public:
    probe_listener(QStringList* journal, const QString& name, bool language, bool centre)
        : m_journal(journal)
        , m_name(name)
        , m_language(language)
        , m_centre(centre) {}

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<listener_i>::value)
            return static_cast<listener_i*>(this);
        if (m_language && iid == iid_of<language_listener_i>::value)
            return static_cast<language_listener_i*>(this);
        if (m_centre && iid == iid_of<ctrl_center_listener_i>::value)
            return static_cast<ctrl_center_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override { log(QStringLiteral("closing")); }
    void update() override { log(QStringLiteral("update")); }
    void language_changed(language_source_i* source, void*) override {
        log(QStringLiteral("language %1").arg(source ? source->current_language() : -1));
        if (on_language)
            on_language();
    }
    void product_event(int32_t type) override { log(QStringLiteral("product %1").arg(type)); }
    void current_kernel_changed(product_kernel_i* kernel) override {
        log(kernel ? QStringLiteral("kernel") : QStringLiteral("no kernel"));
    }
    void ctrl_center_notice(int32_t value) override { log(QStringLiteral("notice %1").arg(value)); }

    std::function<void()> on_language;

private:
    void log(const QString& what) { m_journal->append(m_name + QLatin1Char(' ') + what); }

    QStringList* m_journal;
    QString m_name;
    bool m_language;
    bool m_centre;
};

// A host component that counts its releases.
class probe_component final : public interface_i {
public:
    explicit probe_component(int* released)
        : m_released(released) {}
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_of<interface_i>::value || iid == iid_of<slider_i>::value ? this : nullptr;
    }
    void release() override {
        ++*m_released;
        delete this;
    }

private:
    ~probe_component() = default;
    int* m_released;
};

interface_i* dummy_factory() {
    return nullptr;
}

QByteArray compressed(const QByteArray& xml) {
    return qCompress(xml);
}

const char* const k_catalogue =
    "<KORAL_SETTINGS>"
    "<LANGUAGES>"
    "<LANGUAGE id=\"3\" name=\"Deutsch\" file=\"de\"/>"
    "<LANGUAGE id=\"0\" name=\"English\" file=\"en\"/>"
    "</LANGUAGES>"
    "<MACRO_KEY_COUNT><MACRO_KEY_COUNT type=\"4\" count=\"5\"/></MACRO_KEY_COUNT>"
    "<PRODUCTS>"
    "<PRODUCT type=\"9\" pid=\"2C5A\" updating_pid=\"2C5B\" dll_name=\"quil\" "
    "alias_name=\"QuilWhite\" disp_name=\"Quil White\" device_type=\"0\"/>"
    "<PRODUCT type=\"8\" pid=\"2c4a\" dll_name=\"quil\" alias_name=\"QuilBlack\"/>"
    "<PRODUCT type=\"1\" alias_name=\"KORAL\" disp_name=\"KORAL\"/>"
    "</PRODUCTS>"
    "</KORAL_SETTINGS>";

} // namespace

class test_host : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // --- texts ---

    void every_module_text_in_both_languages_data() {
        QTest::addColumn<int32_t>("id");
        QTest::addColumn<int32_t>("language");
        for (int32_t id : module_text_ids()) {
            QTest::addRow("text %d in English", id) << id << host_texts::english;
            QTest::addRow("text %d in German", id) << id << host_texts::german;
        }
    }

    void every_module_text_in_both_languages() {
        QFETCH(int32_t, id);
        QFETCH(int32_t, language);
        const QString text = host_texts::text(id, language);
        QVERIFY2(!text.trimmed().isEmpty(), "the module would show an empty label");
        QVERIFY(!text.startsWith(QLatin1Char(' ')));
        QVERIFY(!text.contains(QLatin1String("  ")));
        QVERIFY(!text.contains(QLatin1Char('\n')));
    }

    void texts_the_module_extends_end_in_a_space_data() {
        QTest::addColumn<int32_t>("id");
        // The module appends a number directly: "Sensitivity -5", "Button set 3".
        QTest::addRow("sensitivity step prefix") << 529;
        QTest::addRow("new preset name") << 43;
    }

    void texts_the_module_extends_end_in_a_space() {
        QFETCH(int32_t, id);
        for (int32_t language : host_texts::languages())
            QVERIFY(host_texts::text(id, language).endsWith(QLatin1Char(' ')));
    }

    void file_dialog_filters_are_well_formed_data() {
        QTest::addColumn<int32_t>("id");
        QTest::addRow("programs") << 196;
        QTest::addRow("documents") << 198;
    }

    void file_dialog_filters_are_well_formed() {
        QFETCH(int32_t, id);
        const QRegularExpression filter(QStringLiteral(R"(^[^;()]+ \(\*[^()]*\)$)"));
        for (int32_t language : host_texts::languages()) {
            const QStringList parts = host_texts::text(id, language).split(QStringLiteral(";;"));
            QCOMPARE(parts.size(), 2);
            for (const QString& part : parts)
                QVERIFY2(filter.match(part).hasMatch(), qPrintable(part));
        }
    }

    void text_provider_follows_the_centre() {
        ctrl_center_c centre;
        text_provider_i* texts = centre.get_text_provider();
        QVERIFY(texts != nullptr);
        const QString english = texts->text(27, 0);
        QCOMPARE(english, host_texts::text(27, host_texts::english));

        centre.set_language(host_texts::german);
        QCOMPARE(texts->text(27, 0), host_texts::text(27, host_texts::german));
        QVERIFY(texts->text(27, 0) != english);

        // A language the host has no column for reads English, not blanks.
        centre.set_language(1);
        QCOMPARE(texts->text(27, 0), english);
        QVERIFY(texts->text(99999, 0).isNull());
        // Reading texts is not the module asking for the language.
        QCOMPARE(centre.language_queries(), 0);
    }

    // --- control centre ---

    void centre_answers_its_three_faces() {
        ctrl_center_c centre;
        interface_i* identity = centre.query_interface(iid_of<interface_i>::value);
        auto* manager = query<listener_mgr_i>(identity);
        auto* source = query<language_source_i>(identity);
        QVERIFY(manager != nullptr);
        QVERIFY(source != nullptr);
        QVERIFY(same_object(manager, source));
        QCOMPARE(query<interface_i>(manager), identity);
        QCOMPARE(query<language_listener_i>(identity), nullptr);
        QCOMPARE(centre.current_profile_slot(), uint8_t(0xFF));
        centre.set_profile_slot(2);
        QCOMPARE(centre.current_profile_slot(), uint8_t(2));
        QCOMPARE(centre.get_hub(), nullptr);
        QCOMPARE(centre.get_service(6), nullptr);
    }

    void listener_manager_keeps_one_entry_per_listener() {
        QStringList journal;
        probe_listener a(&journal, QStringLiteral("a"), true, false);
        probe_listener b(&journal, QStringLiteral("b"), true, false);
        ctrl_center_c centre;
        listener_mgr_i* manager = &centre;
        manager->add_listener(&a);
        manager->add_listener(&b);
        manager->add_listener(&a);
        manager->add_listener(nullptr);
        QCOMPARE(centre.listeners(), (QVector<listener_i*>{&a, &b}));

        manager->remove_listener(&b);
        manager->remove_listener(&b);
        QCOMPARE(centre.listeners(), QVector<listener_i*>{&a});
        QVERIFY(journal.isEmpty());
    }

    void language_switch_reaches_language_listeners_in_order() {
        QStringList journal;
        probe_listener first(&journal, QStringLiteral("first"), true, false);
        probe_listener deaf(&journal, QStringLiteral("deaf"), false, true);
        probe_listener last(&journal, QStringLiteral("last"), true, true);
        ctrl_center_c centre;
        centre.add_listener(&first);
        centre.add_listener(&deaf);
        centre.add_listener(&last);
        QSignalSpy switched(&centre, &ctrl_center_c::language_switched);

        centre.set_language(3);
        QCOMPARE(journal, (QStringList{"first language 3", "last language 3"}));
        QCOMPARE(switched.count(), 1);
        QCOMPARE(switched.first().first().toInt(), 3);
        QCOMPARE(centre.language(), 3);
    }

    void listener_leaving_during_a_round_is_not_called_again() {
        QStringList journal;
        probe_listener first(&journal, QStringLiteral("first"), true, false);
        probe_listener second(&journal, QStringLiteral("second"), true, false);
        ctrl_center_c centre;
        centre.add_listener(&first);
        centre.add_listener(&second);
        first.on_language = [&] {
            centre.remove_listener(&second);
        };

        centre.set_language(0);
        QCOMPARE(journal, QStringList{"first language 0"});
    }

    void centre_notices_reach_centre_listeners() {
        QStringList journal;
        probe_listener language_only(&journal, QStringLiteral("l"), true, false);
        probe_listener pages(&journal, QStringLiteral("p"), false, true);
        ctrl_center_c centre;
        centre.add_listener(&language_only);
        centre.add_listener(&pages);

        centre.send_product_event(8);
        centre.set_current_kernel(nullptr);
        centre.send_notice(5);
        QCOMPARE(journal, (QStringList{"p product 8", "p no kernel", "p notice 5"}));
        QCOMPARE(centre.current_kernel(), nullptr);
    }

    void closing_centre_tells_remaining_listeners() {
        QStringList journal;
        probe_listener stays(&journal, QStringLiteral("stays"), true, false);
        probe_listener leaves(&journal, QStringLiteral("leaves"), true, false);
        {
            ctrl_center_c centre;
            centre.add_listener(&stays);
            centre.add_listener(&leaves);
            centre.remove_listener(&leaves);
        }
        QCOMPARE(journal, QStringList{"stays closing"});
    }

    void kernel_commands_are_recorded_and_announced() {
        ctrl_center_c centre;
        QSignalSpy received(&centre, &ctrl_center_c::kernel_command_received);
        centre.kernel_command(nullptr, 3, QStringLiteral("KORALQuilBlack_1"));
        centre.kernel_command(nullptr, 11, QStringLiteral("KORALQuilBlack_2"));

        QCOMPARE(received.count(), 2);
        QCOMPARE(received.at(1).at(1).toInt(), 11);
        QCOMPARE(received.at(1).at(2).toString(), QStringLiteral("KORALQuilBlack_2"));
        const QVector<ctrl_center_c::command_t> commands = centre.commands();
        QCOMPARE(commands.size(), 2);
        QCOMPARE(commands.at(0).code, 3);
        QCOMPARE(commands.at(0).text, QStringLiteral("KORALQuilBlack_1"));
    }

    void busy_state_follows_the_calls() {
        ctrl_center_c centre;
        QSignalSpy changed(&centre, &ctrl_center_c::busy_changed);
        centre.set_busy(true, 1, 0);
        centre.set_busy(true, 1, 0);
        centre.set_busy(false, 1, 0);
        QCOMPARE(centre.busy_calls().size(), 3);
        QCOMPARE(changed.count(), 2);
        QVERIFY(!centre.is_busy());
    }

    // --- module host ---

    void factory_journal_keeps_every_call_in_order() {
        ctrl_center_c centre;
        module_host_c host(&centre);
        QSignalSpy registered(&host, &module_host_c::factory_registered);
        QSignalSpy unregistered(&host, &module_host_c::factory_unregistered);
        QCOMPARE(host.get_app(), static_cast<ctrl_center_i*>(&centre));

        host.register_factory(&dummy_factory, 0x0202);
        host.register_factory(&dummy_factory, 0x0102);
        host.unregister_factory(0x0999); // never registered: journaled, not announced
        host.unregister_factory(0x0202);

        using call = module_host_c::call_t;
        const QVector<module_host_c::journal_entry_t> journal = host.journal();
        QCOMPARE(journal.size(), 4);
        const QPair<call, int32_t> expected[] = {{call::register_factory, 0x0202},
                                                 {call::register_factory, 0x0102},
                                                 {call::unregister_factory, 0x0999},
                                                 {call::unregister_factory, 0x0202}};
        for (int i = 0; i < 4; ++i) {
            QVERIFY(journal.at(i).call == expected[i].first);
            QCOMPARE(journal.at(i).class_id, expected[i].second);
        }
        QCOMPARE(registered.count(), 2);
        QCOMPARE(unregistered.count(), 1);
        QCOMPARE(host.registered_classes(), QList<int32_t>{0x0102});
        QVERIFY(!host.has_factory(0x0202));
        QCOMPARE(host.create_module_object(0x0202), nullptr);
    }

    void create_instance_answers_only_known_classes_and_interfaces_data() {
        QTest::addColumn<int32_t>("class_id");
        QTest::addColumn<bool>("ask_slider");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("released");
        QTest::addRow("known class, its interface") << 0x0401 << true << true << 0;
        QTest::addRow("known class, foreign interface") << 0x0401 << false << false << 1;
        QTest::addRow("unknown class") << 0x7701 << true << false << 0;
    }

    void create_instance_answers_only_known_classes_and_interfaces() {
        QFETCH(int32_t, class_id);
        QFETCH(bool, ask_slider);
        QFETCH(bool, answered);
        QFETCH(int, released);
        ctrl_center_c centre;
        module_host_c host(&centre);
        int release_count = 0;
        host.add_component_class(0x0401, [&release_count] {
            return static_cast<interface_i*>(new probe_component(&release_count));
        });

        const GUID& iid = ask_slider ? iid_of<slider_i>::value : iid_of<message_box_i>::value;
        interface_i* object = host.create_instance(class_id, iid);
        QCOMPARE(object != nullptr, answered);
        QCOMPARE(release_count, released);
        QCOMPARE(host.instance_requests().size(), 1);
        QCOMPARE(host.instance_requests().first().class_id, class_id);
        QVERIFY(host.instance_requests().first().iid == iid);
        QCOMPARE(host.instance_requests().first().answered, answered);
        if (object)
            object->release();
    }

    // --- catalogue ---

    void catalogue_reads_products_and_languages() {
        host_catalogue_c catalogue;
        QVERIFY(catalogue.read(compressed(k_catalogue)));
        QVERIFY(catalogue.error_string().isEmpty());

        const QList<host_catalogue_c::product_t> products = catalogue.products();
        QCOMPARE(products.size(), 3);
        QCOMPARE(products.at(0).type, 1);
        QCOMPARE(products.at(1).type, 8);
        QCOMPARE(products.at(2).type, 9);
        const host_catalogue_c::product_t* black = catalogue.product(8);
        QVERIFY(black != nullptr);
        QCOMPARE(black->pid, uint16_t(0x2C4A));
        QCOMPARE(black->updating_pid, uint16_t(0x2C4A));    // missing: takes the pid
        QCOMPARE(black->disp_name, QStringLiteral("quil")); // empty: takes the dll_name
        QCOMPARE(black->device_type, -1);
        QCOMPARE(catalogue.product(9)->updating_pid, uint16_t(0x2C5B));
        QCOMPARE(catalogue.product(7), nullptr);

        QCOMPARE(catalogue.languages().size(), 2);
        QCOMPARE(catalogue.languages().first().id, 0);
        QCOMPARE(catalogue.language_name(3), QStringLiteral("Deutsch"));
    }

    void catalogue_survives_damage_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("products");
        QTest::addColumn<bool>("ok");

        const QByteArray good = compressed(k_catalogue);
        QByteArray huge_announcement = good;
        qToBigEndian<quint32>(0xFFFFFFF0u, huge_announcement.data());
        QByteArray zero_announcement = good;
        qToBigEndian<quint32>(0u, zero_announcement.data());
        QByteArray flipped_stream = good;
        flipped_stream[8] = char(flipped_stream[8] ^ 0x5A);
        QByteArray random(600, Qt::Uninitialized);
        for (int i = 0; i < random.size(); ++i)
            random[i] = char((i * 7919 + 13) & 0xFF);
        const QByteArray xml(k_catalogue);
        // Cut inside the second product: the first one is kept.
        const QByteArray cut = xml.left(xml.indexOf("<PRODUCT type=\"8\"") + 10);

        QTest::addRow("empty") << QByteArray() << 0 << false;
        QTest::addRow("shorter than the length header") << QByteArray("\0\0\1", 3) << 0 << false;
        QTest::addRow("announces 4 GB") << huge_announcement << 0 << false;
        QTest::addRow("announces nothing") << zero_announcement << 0 << false;
        QTest::addRow("corrupted zlib stream") << flipped_stream << 0 << false;
        QTest::addRow("random bytes") << random << 0 << false;
        QTest::addRow("plain XML, not compressed") << xml << 0 << false;
        QTest::addRow("compressed text, not XML") << compressed("no markup here") << 0 << false;
        QTest::addRow("XML cut short") << compressed(cut) << 1 << false;
        QTest::addRow("unknown root, no products")
            << compressed("<OTHER><THING type=\"8\"/></OTHER>") << 0 << true;
        QTest::addRow("numbers that do not parse")
            << compressed("<R><PRODUCTS><PRODUCT type=\"x\" pid=\"zz\"/></PRODUCTS></R>") << 1
            << true;
        QTest::addRow("larger than a catalogue can be")
            << QByteArray(int(host_catalogue_c::max_file_size) + 1, 'x') << 0 << false;
    }

    void catalogue_survives_damage() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, products);
        QFETCH(bool, ok);
        host_catalogue_c catalogue;
        QCOMPARE(catalogue.read(bytes), ok);
        QCOMPARE(catalogue.products().size(), products);
        QCOMPARE(catalogue.error_string().isEmpty(), ok);
    }

    void catalogue_caps_the_number_of_entries() {
        QByteArray xml("<R><PRODUCTS>");
        for (int type = 0; type < host_catalogue_c::max_entries + 50; ++type)
            xml += "<PRODUCT type=\"" + QByteArray::number(type) + "\"/>";
        xml += "</PRODUCTS></R>";
        host_catalogue_c catalogue;
        QVERIFY(catalogue.read(compressed(xml)));
        QCOMPARE(catalogue.products().size(), host_catalogue_c::max_entries);
    }

    void catalogue_file_problems_are_reported() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        host_catalogue_c catalogue;
        QVERIFY(!catalogue.load(dir.filePath(QStringLiteral("settings.xml"))));
        QVERIFY(!catalogue.error_string().isEmpty());
        QVERIFY(catalogue.is_empty());

        QFile file(dir.filePath(QStringLiteral("settings.xml")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(compressed(k_catalogue));
        file.close();
        QVERIFY(catalogue.load(file.fileName()));
        QCOMPARE(catalogue.products().size(), 3);
        QCOMPARE(catalogue.file(), file.fileName());
    }

    void built_catalogue_lists_both_editions() {
        host_catalogue_c catalogue;
        QVERIFY2(catalogue.load(QStringLiteral(QUIL_BIN_DIR "/settings.xml")),
                 qPrintable(catalogue.error_string()));
        for (int32_t type : {8, 9}) {
            const host_catalogue_c::product_t* edition = catalogue.product(type);
            QVERIFY(edition != nullptr);
            QCOMPARE(edition->dll_name, QStringLiteral("quil"));
        }
        QVERIFY(catalogue.product(1) != nullptr);
        QVERIFY(!catalogue.language_name(host_texts::english).isEmpty());
        QVERIFY(!catalogue.language_name(host_texts::german).isEmpty());
    }

    // --- command line ---

    void command_line_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int32_t>("product_type");
        QTest::addColumn<int32_t>("language");
        QTest::addColumn<QString>("screenshots");
        using o = host_options_c::outcome_t;
        QTest::addRow("nothing") << QStringList{} << int(o::run) << 8 << -1 << QString();
        QTest::addRow("white edition, German, screenshots")
            << QStringList{"--edition", "white", "--language", "3", "--screenshot", "/tmp/s"}
            << int(o::run) << 9 << 3 << QStringLiteral("/tmp/s");
        QTest::addRow("edition in capitals")
            << QStringList{"--edition=BLACK"} << int(o::run) << 8 << -1 << QString();
        QTest::addRow("help") << QStringList{"--help"} << int(o::help) << 8 << -1 << QString();
        QTest::addRow("unknown option")
            << QStringList{"--colour"} << int(o::error) << 8 << -1 << QString();
        QTest::addRow("unknown edition")
            << QStringList{"--edition", "red"} << int(o::error) << 8 << -1 << QString();
        QTest::addRow("language not a number")
            << QStringList{"--language", "de"} << int(o::error) << 8 << -1 << QString();
        QTest::addRow("language not in catalogue")
            << QStringList{"--language", "7"} << int(o::error) << 8 << -1 << QString();
        QTest::addRow("negative language")
            << QStringList{"--language", "-1"} << int(o::error) << 8 << -1 << QString();
        QTest::addRow("screenshot without folder")
            << QStringList{"--screenshot"} << int(o::error) << 8 << -1 << QString();
        QTest::addRow("stray argument")
            << QStringList{"now"} << int(o::error) << 8 << -1 << QString();
    }

    void command_line() {
        QFETCH(QStringList, arguments);
        QFETCH(int, outcome);
        QFETCH(int32_t, product_type);
        QFETCH(int32_t, language);
        QFETCH(QString, screenshots);
        host_options_c options;
        const auto result = options.parse(QStringList{"koral"} + arguments, {0, 3});
        QCOMPARE(int(result), outcome);
        QCOMPARE(options.message().isEmpty(), result == host_options_c::outcome_t::run);
        if (result != host_options_c::outcome_t::run)
            return;
        QCOMPARE(options.product_type(), product_type);
        QCOMPARE(options.language(), language);
        QCOMPARE(options.screenshot_folder(), screenshots);
    }

    // --- loader ---

    void loader_reports_what_went_wrong_data() {
        QTest::addColumn<QString>("kind");
        QTest::addRow("missing file") << QStringLiteral("missing");
        QTest::addRow("not a library") << QStringLiteral("garbage");
        QTest::addRow("library without entry points") << QStringLiteral("foreign");
    }

    void loader_reports_what_went_wrong() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString file = dir.filePath(QStringLiteral("quil"));
        if (kind == QLatin1String("garbage")) {
            file = dir.filePath(QStringLiteral("libquil.so"));
            QFile garbage(file);
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            garbage.write(QByteArray(4096, '\x7f'));
        } else if (kind == QLatin1String("foreign")) {
#ifdef Q_OS_LINUX
            file = QLibraryInfo::location(QLibraryInfo::LibrariesPath) +
                   QStringLiteral("/libQt5Core.so.5");
#endif
            if (!QFile::exists(file))
                QSKIP("no foreign library at a known place on this platform");
        }
        module_loader_c loader(file);
        QVERIFY(!loader.load());
        QVERIFY(!loader.is_loaded());
        QVERIFY(!loader.error_string().isEmpty());
        if (kind == QLatin1String("foreign"))
            QVERIFY(loader.error_string().contains(QLatin1String("not a device module")));
        QVERIFY(!loader.enter(nullptr));
        QVERIFY(!loader.leave());
    }
};

QTEST_MAIN(test_host)
#include "test_host.moc"
