// The stand-in host's own parts: texts, centre, module host, catalogue, options, loader.
#include "fake_kernel.h"
#include "host/ctrl_center.h"
#include "host/host_catalogue.h"
#include "host/host_options.h"
#include "host/host_settings.h"
#include "host/host_storage.h"
#include "host/module_host.h"
#include "host/module_loader.h"
#include "host/profile_names.h"
#include "host/texts.h"
#include "host/widget_helpers.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
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

// A listener that records what it hears; it answers the centre's face only when asked to.
class probe_listener : public listener_i,
                       public language_listener_i,
                       public ctrl_center_listener_i {
public:
    probe_listener(QStringList* journal, const QString& name, bool centre)
        : m_journal(journal)
        , m_name(name)
        , m_centre(centre) {}

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<listener_i>::value)
            return static_cast<listener_i*>(this);
        if (iid == iid_of<language_listener_i>::value)
            return static_cast<language_listener_i*>(this);
        if (m_centre && iid == iid_of<ctrl_center_listener_i>::value)
            return static_cast<ctrl_center_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override { log(QStringLiteral("closing")); }
    void update() override {}
    void language_changed(language_source_i* source, void*) override {
        log(QStringLiteral("language %1").arg(source->current_language()));
        if (on_language)
            on_language();
    }
    void product_event(int32_t type) override { log(QStringLiteral("product %1").arg(type)); }
    void current_kernel_changed(product_kernel_i* left) override {
        log(QStringLiteral("left %1").arg(left ? QStringLiteral("kernel")
                                               : QStringLiteral("none")));
    }
    void ctrl_center_notice(int32_t value) override { log(QStringLiteral("notice %1").arg(value)); }

    std::function<void()> on_language;

private:
    void log(const QString& what) { m_journal->append(m_name + QLatin1Char(' ') + what); }

    QStringList* m_journal;
    QString m_name;
    bool m_centre;
};

interface_i* dummy_factory() {
    return nullptr;
}

const char* const k_catalogue =
    "<KORAL_SETTINGS>"
    "<LANGUAGES>"
    "<LANGUAGE id=\"3\" name=\"Deutsch\" file=\"de\"/>"
    "</LANGUAGES>"
    "<PRODUCTS>"
    "<PRODUCT type=\"9\" pid=\"2C5A\" updating_pid=\"2C5B\" dll_name=\"quil\" "
    "alias_name=\"QuilWhite\" disp_name=\"Quil White\" device_type=\"0\"/>"
    "<PRODUCT type=\"8\" pid=\"2c4a\" dll_name=\"quil\" alias_name=\"QuilBlack\"/>"
    "</PRODUCTS>"
    "</KORAL_SETTINGS>";

} // namespace

class test_host : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void every_module_text_in_both_languages_data() {
        QTest::addColumn<int32_t>("id");
        for (int32_t id : module_text_ids())
            QTest::addRow("text %d", id) << id;
    }

    void every_module_text_in_both_languages() {
        QFETCH(int32_t, id);
        for (int32_t language : {host_texts::english, host_texts::german}) {
            const QString text = host_texts::text(id, language);
            QVERIFY2(!text.trimmed().isEmpty(), "the module would show an empty label");
            // The module appends a number directly: "Sensitivity -5", "Button set 3".
            if (id == 529 || id == 43)
                QVERIFY(text.endsWith(QLatin1Char(' ')));
            // File dialogs split their two filters at ";;".
            if (id == 196 || id == 198)
                QCOMPARE(text.count(QStringLiteral(";;")), 1);
        }
    }

    void listeners_hear_the_centre_in_order() {
        QStringList journal;
        probe_listener first(&journal, QStringLiteral("first"), false);
        probe_listener last(&journal, QStringLiteral("last"), true);
        probe_listener leaves(&journal, QStringLiteral("leaves"), true);
        {
            ctrl_center_c centre;
            listener_mgr_i* manager = &centre;
            for (probe_listener* l : {&first, &last, &first, &leaves})
                manager->add_listener(l);
            manager->add_listener(nullptr);
            QCOMPARE(centre.listeners(), (QVector<listener_i*>{&first, &last, &leaves}));

            // A listener leaving during a round is not called again.
            first.on_language = [&] {
                manager->remove_listener(&leaves);
            };
            centre.set_language(3);
            centre.send_product_event(8);
            centre.send_notice(5);
            // The centre tells which kernel it no longer shows.
            fake_kernel kernel;
            centre.set_current_kernel(&kernel);
            centre.set_current_kernel(nullptr);
            QCOMPARE(journal, (QStringList{"first language 3", "last language 3", "last product 8",
                                           "last notice 5", "last left none", "last left kernel"}));
            manager->remove_listener(&last);

            // Texts follow the language; one the host has no column for reads English.
            text_provider_i* texts = centre.get_text_provider();
            const int asked = centre.language_queries();
            QCOMPARE(texts->text(27, 0), host_texts::text(27, host_texts::german));
            QCOMPARE(centre.language_queries(), asked); // reading texts is not asking for it
            centre.set_language(1);
            QCOMPARE(texts->text(27, 0), host_texts::text(27, host_texts::english));
            journal.clear();
        }
        // Closing tells who is still there, and nobody who left.
        QCOMPARE(journal, QStringList{"first closing"});
    }

    void factory_journal_keeps_every_call_in_order() {
        ctrl_center_c centre;
        module_host_c host(&centre);
        host.register_factory(&dummy_factory, 0x0202);
        host.register_factory(&dummy_factory, 0x0102);
        host.unregister_factory(0x0999); // never registered: journaled all the same
        host.unregister_factory(0x0202);
        QStringList calls;
        for (const module_host_c::journal_entry_t& entry : host.journal())
            calls.append(QStringLiteral("%1 %2")
                             .arg(entry.call == module_host_c::call_t::register_factory ? '+' : '-')
                             .arg(entry.class_id, 0, 16));
        QCOMPARE(calls, QStringList({"+ 202", "+ 102", "- 999", "- 202"}));
        QCOMPARE(host.registered_classes(), QList<int32_t>{0x0102});
    }

    void catalogue_reads_products_and_languages() {
        host_catalogue_c catalogue;
        QVERIFY(catalogue.read(qCompress(k_catalogue)));
        const host_catalogue_c::product_t* black = catalogue.product(8);
        QVERIFY(black);
        QCOMPARE(black->pid, uint16_t(0x2C4A));
        QCOMPARE(black->updating_pid, uint16_t(0x2C4A));    // missing: takes the pid
        QCOMPARE(black->disp_name, QStringLiteral("quil")); // empty: takes the dll_name
        QCOMPARE(catalogue.product(9)->updating_pid, uint16_t(0x2C5B));
        QCOMPARE(catalogue.language_name(3), QStringLiteral("Deutsch"));
    }

    void catalogue_survives_damage_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("products");
        QTest::addColumn<bool>("ok");

        QByteArray huge_announcement = qCompress(k_catalogue);
        QByteArray flipped_stream = huge_announcement;
        qToBigEndian<quint32>(0xFFFFFFF0u, huge_announcement.data());
        flipped_stream.data()[8] ^= 0x5A;
        QByteArray many("<R><PRODUCTS>");
        for (int type = 0; type < host_catalogue_c::max_entries + 50; ++type)
            many += "<PRODUCT type=\"" + QByteArray::number(type) + "\"/>";
        many += "</PRODUCTS></R>";

        QTest::addRow("shorter than the length header") << QByteArray("\0\0\1", 3) << 0 << false;
        QTest::addRow("announces 4 GB") << huge_announcement << 0 << false;
        QTest::addRow("corrupted zlib stream") << flipped_stream << 0 << false;
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

    void command_line() {
        using o = host_options_c::outcome_t;
        const QList<host_catalogue_c::language_t> languages = {{0, "English", "en"},
                                                               {3, "Deutsch", "de"}};
        host_options_c options;
        QCOMPARE(options.parse({"koral", "--edition", "white", "--language", "3"}, languages),
                 o::run);
        QCOMPARE(options.product_type(), 9);
        QCOMPARE(options.language(), 3);
        // Nothing asked for: the program takes what was picked last.
        host_options_c plain;
        QCOMPARE(plain.parse({"koral"}, languages), o::run);
        QCOMPARE(plain.product_type(), -1);
        QCOMPARE(plain.language(), -1);
        // Help names every language id and the folders, and tells its language.
        host_options_c help;
        QCOMPARE(help.parse({"koral", "--help", "--language", "3"}, languages), o::help);
        QCOMPARE(help.language(), 3);
        QVERIFY(help.message().contains(QStringLiteral(" 3  Deutsch")));
        QVERIFY(help.message().contains(QDir::toNativeSeparators(host_storage::data_folder())));
        host_options_c version;
        QCOMPARE(version.parse({"koral", "--version"}, languages), o::help);
        QVERIFY(version.message().endsWith(host_options_c::version()));
        for (const QStringList& bad :
             {QStringList{"koral", "--colour"}, QStringList{"koral", "--language", "7"}}) {
            host_options_c refused;
            QCOMPARE(refused.parse(bad, languages), o::error);
            QVERIFY(!refused.message().isEmpty());
        }
    }

    void counted_texts_data() {
        QTest::addColumn<int32_t>("id");
        QTest::addColumn<int>("count");
        QTest::addColumn<int32_t>("language");
        QTest::addColumn<QString>("expected");
        QTest::addRow("no groups")
            << int32_t(host_text::group_count) << 0 << host_texts::english << "0 groups";
        QTest::addRow("one group")
            << int32_t(host_text::group_count) << 1 << host_texts::english << "1 group";
        QTest::addRow("one macro, German")
            << int32_t(host_text::macro_count) << 1 << host_texts::german << "1 Makro";
        QTest::addRow("two macros, German")
            << int32_t(host_text::macro_count) << 2 << host_texts::german << "2 Makros";
        QTest::addRow("twelve classes")
            << int32_t(host_text::class_count) << 12 << host_texts::english << "12 classes";
        QTest::addRow("a language without a column reads English")
            << int32_t(host_text::language_count) << 1 << int32_t(7) << "1 language";
    }

    void counted_texts() {
        QFETCH(int32_t, id);
        QFETCH(int, count);
        QFETCH(int32_t, language);
        QFETCH(QString, expected);
        QCOMPARE(host_texts::plural(id, count, language), expected);
    }

    void profile_names_fit_and_stay_apart_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("fitted");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QString>("distinct");
        const QString limit(profile_names::max_units, QLatin1Char('a'));
        // A character of two code units right at the limit goes whole or not at all.
        const QString pair_at_limit = QString(profile_names::max_units - 1, QLatin1Char('b')) +
                                      QString::fromUtf8("\xF0\x9F\x96\xB1");
        QTest::addRow("short and free") << "Aim" << QStringList{"Work"} << "Aim" << false << "Aim";
        QTest::addRow("taken gets a number")
            << "Aim" << QStringList{"Aim"} << "Aim" << false << "Aim (2)";
        QTest::addRow("a number counts on")
            << "Aim (2)" << QStringList{"Aim", "Aim (2)"} << "Aim (2)" << false << "Aim (3)";
        QTest::addRow("exactly the limit") << limit << QStringList() << limit << false << limit;
        QTest::addRow("one over the limit is cut")
            << limit + "z" << QStringList() << limit << true << limit;
        QTest::addRow("a number still fits")
            << limit << QStringList{limit} << limit << false << limit.left(45) + " (2)";
        QTest::addRow("no half character")
            << pair_at_limit << QStringList() << pair_at_limit.left(profile_names::max_units - 1)
            << true << pair_at_limit.left(profile_names::max_units - 1);
    }

    void profile_names_fit_and_stay_apart() {
        QFETCH(QString, name);
        QFETCH(QStringList, taken);
        QFETCH(QString, fitted);
        QFETCH(bool, cut);
        QFETCH(QString, distinct);
        bool was_cut = !cut;
        QCOMPARE(profile_names::fit(name, &was_cut), fitted);
        QCOMPARE(was_cut, cut);
        QCOMPARE(profile_names::distinct(name, taken), distinct);
        QVERIFY(profile_names::distinct(name, taken).size() <= profile_names::max_units);
    }

    void import_takes_a_free_slot_data() {
        QTest::addColumn<int>("in_use");
        QTest::addColumn<int>("slot");
        QTest::addRow("one in use") << 1 << 1;
        QTest::addRow("four in use") << 4 << 4;
        QTest::addRow("all five in use: ask") << 5 << -1;
    }

    void import_takes_a_free_slot() {
        QFETCH(int, in_use);
        QFETCH(int, slot);
        QCOMPARE(profile_names::free_slot(in_use, 5), slot);
    }

    void settings_remember_choices_and_the_last_folder() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("koral.ini"));
        const QString fallback = host_settings_c(file).profile_folder();
        QVERIFY(QFileInfo(fallback).isDir());
        {
            host_settings_c settings(file);
            QCOMPARE(settings.language(-1), -1);
            settings.set_language(3);
            settings.set_edition(9);
            // A file's folder is what is remembered.
            QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("profiles")));
            settings.remember_profile_file(dir.filePath(QStringLiteral("profiles/a.qprofile")));
        }
        host_settings_c again(file);
        QCOMPARE(again.language(-1), 3);
        QCOMPARE(again.edition(8), 9);
        QCOMPARE(again.profile_folder(), dir.filePath(QStringLiteral("profiles")));
        // A folder that is gone sends the dialog back to the documents folder.
        QVERIFY(QDir(dir.filePath(QStringLiteral("profiles"))).removeRecursively());
        QCOMPARE(again.profile_folder(), fallback);
        // What koral did not write is not taken.
        QSettings(file, QSettings::IniFormat).setValue(QStringLiteral("window/edition"), 4);
        QSettings(file, QSettings::IniFormat).setValue(QStringLiteral("window/language"), "x");
        QCOMPARE(again.edition(8), 8);
        QCOMPARE(again.language(0), 0);
    }

    void loader_refuses_what_is_not_a_module() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("libquil.so"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, '\x7f')) == 4096);
        file.close();
        module_loader_c loader(path);
        QVERIFY(!loader.load());
        QVERIFY(!loader.error_string().isEmpty());
    }

    // koral's window carries no style sheet; a dialog over it gets koral's style when
    // first polished, and its own rules keep winning over koral's as they did when the
    // window carried the sheet ("QDialog QLabel" is koral's, more specific than the
    // dialog's "QLabel"). Dialogs of no window, of another window or inside a styled
    // panel are left alone.
    void dialogs_wear_koral_style_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("own");
        QTest::addColumn<bool>("styled");
        QTest::addColumn<QString>("label_colour");
        const QString own = QStringLiteral("/* own */ QLabel { color: #123456; }");
        QTest::newRow("over the window")
            << QStringLiteral("window") << QString() << true << QStringLiteral("#dcdfe3");
        QTest::newRow("with a sheet of its own")
            << QStringLiteral("window") << own << true << QStringLiteral("#123456");
        QTest::newRow("of no window")
            << QStringLiteral("none") << own << false << QStringLiteral("#123456");
        QTest::newRow("of another window")
            << QStringLiteral("other") << QString() << false << QString();
        QTest::newRow("inside a styled panel")
            << QStringLiteral("panel") << QString() << false << QStringLiteral("#654321");
    }
    void dialogs_wear_koral_style() {
        QFETCH(QString, where);
        QFETCH(QString, own);
        QFETCH(bool, styled);
        QFETCH(QString, label_colour);
        Q_INIT_RESOURCE(koral);
        QVERIFY(!koral_style_sheet().isEmpty());
        QWidget window, other;
        auto* panel = new QWidget(&window);
        panel->setStyleSheet(QStringLiteral("QLabel { color: #654321; }"));
        qApp->installEventFilter(new dialog_style_c(&window));
        QWidget* parent = where == QLatin1String("window")  ? &window
                          : where == QLatin1String("other") ? &other
                          : where == QLatin1String("panel") ? panel
                                                            : nullptr;
        QDialog dialog(parent);
        dialog.setObjectName(QStringLiteral("test_dialog"));
        auto* label = new QLabel(QStringLiteral("text"), &dialog);
        dialog.setStyleSheet(own);
        dialog.ensurePolished();
        label->ensurePolished();
        QCOMPARE(dialog.styleSheet().startsWith(koral_style_sheet()), styled);
        if (!styled)
            QCOMPARE(dialog.styleSheet(), own);
        if (!label_colour.isEmpty())
            QCOMPARE(label->palette().color(QPalette::WindowText).name(), label_colour);
    }
};

QTEST_MAIN(test_host)
#include "test_host.moc"
