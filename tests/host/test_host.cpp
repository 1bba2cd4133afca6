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

interface_i* dummy_factory() {
    return nullptr;
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
        // The module appends a number directly: "Sensitivity -5", "Button set 3".
        if (id == 529 || id == 43)
            QVERIFY(text.endsWith(QLatin1Char(' ')));
        // File dialogs split their filters at ";;".
        const QString filter = QStringLiteral(R"([^;()]+ \(\*[^()]*\))");
        if (id == 196 || id == 198)
            QVERIFY2(
                QRegularExpression(QStringLiteral("^%1;;%1$").arg(filter)).match(text).hasMatch(),
                qPrintable(text));
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

    void listeners_hear_the_centre_in_order() {
        QStringList journal;
        probe_listener first(&journal, QStringLiteral("first"), true, false);
        probe_listener deaf(&journal, QStringLiteral("deaf"), false, true);
        probe_listener last(&journal, QStringLiteral("last"), true, true);
        probe_listener leaves(&journal, QStringLiteral("leaves"), true, true);
        QStringList closing;
        probe_listener stays(&closing, QStringLiteral("stays"), true, false);
        {
            ctrl_center_c centre;
            listener_mgr_i* manager = &centre;
            for (probe_listener* l : {&first, &deaf, &first, &last, &leaves})
                manager->add_listener(l);
            manager->add_listener(nullptr);
            QCOMPARE(centre.listeners(), (QVector<listener_i*>{&first, &deaf, &last, &leaves}));
            QSignalSpy switched(&centre, &ctrl_center_c::language_switched);

            // A listener leaving during a round is not called again.
            first.on_language = [&] {
                manager->remove_listener(&leaves);
                manager->remove_listener(&leaves);
            };
            centre.set_language(3);
            QCOMPARE(journal, (QStringList{"first language 3", "last language 3"}));
            QCOMPARE(switched.count(), 1);
            QCOMPARE(switched.first().first().toInt(), 3);

            // Centre notices reach only the listeners with that face.
            journal.clear();
            centre.send_product_event(8);
            centre.set_current_kernel(nullptr);
            centre.send_notice(5);
            QCOMPARE(journal, (QStringList{"deaf product 8", "last product 8", "deaf no kernel",
                                           "last no kernel", "deaf notice 5", "last notice 5"}));
            for (probe_listener* l : {&first, &deaf, &last})
                manager->remove_listener(l);
            manager->add_listener(&stays);
            journal.clear();
        }
        // Closing tells who is still there, and nobody who left.
        QCOMPARE(closing, QStringList{"stays closing"});
        QVERIFY(journal.isEmpty());
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
        QStringList calls;
        for (const module_host_c::journal_entry_t& entry : host.journal())
            calls.append(QStringLiteral("%1 %2")
                             .arg(entry.call == module_host_c::call_t::register_factory ? '+' : '-')
                             .arg(entry.class_id, 0, 16));
        QCOMPARE(calls, QStringList({"+ 202", "+ 102", "- 999", "- 202"}));
        QCOMPARE(registered.count(), 2);
        QCOMPARE(unregistered.count(), 1);
        QCOMPARE(host.registered_classes(), QList<int32_t>{0x0102});
        QCOMPARE(host.create_module_object(0x0202), nullptr);
    }

    // --- catalogue ---

    void catalogue_reads_products_and_languages() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("settings.xml"));
        host_catalogue_c catalogue;
        QVERIFY(!catalogue.load(path));
        QVERIFY(!catalogue.error_string().isEmpty());
        QVERIFY(catalogue.is_empty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(qCompress(k_catalogue));
        file.close();
        QVERIFY(catalogue.load(path));
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

        const QByteArray good = qCompress(k_catalogue);
        QByteArray huge_announcement = good;
        qToBigEndian<quint32>(0xFFFFFFF0u, huge_announcement.data());
        QByteArray zero_announcement = good;
        qToBigEndian<quint32>(0u, zero_announcement.data());
        QByteArray flipped_stream = good;
        flipped_stream[8] = char(flipped_stream[8] ^ 0x5A);
        const QByteArray xml(k_catalogue);
        // Cut inside the second product: the first one is kept.
        const QByteArray cut = xml.left(xml.indexOf("<PRODUCT type=\"8\"") + 10);
        QByteArray many("<R><PRODUCTS>");
        for (int type = 0; type < host_catalogue_c::max_entries + 50; ++type)
            many += "<PRODUCT type=\"" + QByteArray::number(type) + "\"/>";
        many += "</PRODUCTS></R>";

        QTest::addRow("empty") << QByteArray() << 0 << false;
        QTest::addRow("shorter than the length header") << QByteArray("\0\0\1", 3) << 0 << false;
        QTest::addRow("announces 4 GB") << huge_announcement << 0 << false;
        QTest::addRow("announces nothing") << zero_announcement << 0 << false;
        QTest::addRow("corrupted zlib stream") << flipped_stream << 0 << false;
        QTest::addRow("plain XML, not compressed") << xml << 0 << false;
        QTest::addRow("compressed text, not XML") << qCompress("no markup here") << 0 << false;
        QTest::addRow("XML cut short") << qCompress(cut) << 1 << false;
        QTest::addRow("unknown root, no products")
            << qCompress("<OTHER><THING type=\"8\"/></OTHER>") << 0 << true;
        QTest::addRow("numbers that do not parse")
            << qCompress("<R><PRODUCTS><PRODUCT type=\"x\" pid=\"zz\"/></PRODUCTS></R>") << 1
            << true;
        QTest::addRow("more entries than allowed")
            << qCompress(many) << host_catalogue_c::max_entries << true;
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

    void built_catalogue_lists_both_editions() {
        host_catalogue_c catalogue;
        QVERIFY2(catalogue.load(QStringLiteral(QUIL_BIN_DIR "/settings.xml")),
                 qPrintable(catalogue.error_string()));
        for (int32_t type : {8, 9}) {
            QVERIFY(catalogue.product(type) != nullptr);
            QCOMPARE(catalogue.product(type)->dll_name, QStringLiteral("quil"));
        }
        QVERIFY(catalogue.product(1) != nullptr);
        QVERIFY(!catalogue.language_name(host_texts::english).isEmpty());
        QVERIFY(!catalogue.language_name(host_texts::german).isEmpty());
    }

    // --- command line ---

    void command_line_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("outcome"); // type, language, screenshots; or why not
        QTest::addRow("nothing") << QStringList{} << QStringLiteral("8 -1 ");
        QTest::addRow("white edition, German, screenshots")
            << QStringList{"--edition", "white", "--language", "3", "--screenshot", "/tmp/s"}
            << QStringLiteral("9 3 /tmp/s");
        QTest::addRow("edition in capitals")
            << QStringList{"--edition=BLACK"} << QStringLiteral("8 -1 ");
        QTest::addRow("help") << QStringList{"--help"} << QStringLiteral("help");
        const QList<QStringList> refused = {{"--colour"},         {"--edition", "red"},
                                            {"--language", "de"}, {"--language", "7"},
                                            {"--screenshot"},     {"now"}};
        for (const QStringList& arguments : refused)
            QTest::addRow("refused: %s", qPrintable(arguments.join(QLatin1Char(' '))))
                << arguments << QStringLiteral("error");
    }

    void command_line() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, outcome);
        host_options_c options;
        using o = host_options_c::outcome_t;
        const o result = options.parse(QStringList{"koral"} + arguments, {0, 3});
        QCOMPARE(options.message().isEmpty(), result == o::run);
        const QString seen = result == o::help    ? QStringLiteral("help")
                             : result == o::error ? QStringLiteral("error")
                                                  : QStringLiteral("%1 %2 %3")
                                                        .arg(options.product_type())
                                                        .arg(options.language())
                                                        .arg(options.screenshot_folder());
        QCOMPARE(seen, outcome);
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
