// Language switching: the listener's identity, its binding to the host's language
// source, loading and installing translations, and the .ts refresh step.
#include "common/language_listener.h"
#include "common/log.h"
#include "common/platform.h"
#include "module/global_func.h"
#include "module/module.h"

#include <QFile>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const char* const built_language_folder = QUIL_BIN_DIR "/data/QuilBlack/language/";
const char* const german_white = "Weiße Edition";

QString white_edition() {
    return QCoreApplication::translate("quil", "White edition");
}

// The host's control centre as far as languages go: a listener manager that
// records its calls, and the current-language source.
class fake_center final : public listener_mgr_i, public language_source_i {
public:
    explicit fake_center(bool offers_source = true)
        : m_offers_source(offers_source) {}

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_listener_mgr_i)
            return static_cast<listener_mgr_i*>(this);
        if (m_offers_source && iid == iid_language_source_i)
            return static_cast<language_source_i*>(this);
        return nullptr;
    }
    void release() override {}
    void add_listener(listener_i* listener) override {
        calls << "add";
        if (!listeners.contains(listener))
            listeners.append(listener);
    }
    void remove_listener(listener_i* listener) override {
        calls << "remove";
        listeners.removeOne(listener);
    }
    int32_t current_language() override {
        ++asked;
        return language;
    }

    // What the host hands to bind and unbind: the object's identity.
    interface_i* object() { return static_cast<listener_mgr_i*>(this); }
    language_source_i* source() { return this; }

    int32_t language = 0;
    int asked = 0;
    QList<listener_i*> listeners;
    QStringList calls;

private:
    bool m_offers_source;
};

// A host that gives no control centre: init_module then creates the listener
// but binds it to nothing, so the test binds it to its own fake centre.
class fake_host final : public module_host_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
    void host_reserved_2() override {}
    ctrl_center_i* get_app() override { return nullptr; }
    void register_factory(factory_fn, int32_t) override {}
    void unregister_factory(int32_t) override {}
    interface_i* create_instance(int32_t, const GUID&) override { return nullptr; }
};

struct releaser {
    void operator()(language_listener_c* listener) const { listener->release(); }
};
using listener_ptr = std::unique_ptr<language_listener_c, releaser>;

} // namespace

class test_language : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    std::unique_ptr<QTemporaryDir> m_case;
    QString m_app;
    QString m_languages;

    static QString log_text() {
        QFile file(module_log().current_file());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll());
    }

    // Copies a translation that the build compiled into `folder` as `name`.
    static QString copy_built(const QString& file, const QString& folder, const QString& name) {
        QDir().mkpath(folder);
        const QString target = folder + name;
        QFile::remove(target);
        return QFile::copy(QString::fromUtf8(built_language_folder) + file, target) ? target
                                                                                    : QString();
    }

    static void write_file(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        QCOMPARE(file.write(bytes), qint64(bytes.size()));
    }

    static QByteArray ts_file(const QByteArray& translation) {
        return R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>refresh_test</name>
    <message>
        <source>Hello</source>
        <translation>)" +
               translation + R"(</translation>
    </message>
</context>
</TS>
)";
    }

    // A listener bound to `center` that knows German (3) and English (0).
    listener_ptr bound_listener(fake_center& center) {
        listener_ptr listener(new language_listener_c);
        listener->add_language(3, copy_built("de.qm", m_languages, "de.qm"));
        listener->add_language(0, copy_built("en.qm", m_languages, "en.qm"));
        listener->bind(center.object());
        return listener;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_root.isValid());
        module_log().init(m_root.path() + "/", "Quil");
        QVERIFY(module_log().is_open());
        QVERIFY2(QFile::exists(QString::fromUtf8(built_language_folder) + "de.qm"),
                 built_language_folder);
    }

    void init() {
        m_case = std::make_unique<QTemporaryDir>();
        QVERIFY(m_case->isValid());
        // Each case has its own installation, so a compiler placed by one case
        // is not seen by the next.
        m_app = m_case->path() + "/app/";
        m_languages = m_app + "data/QuilBlack/language/";
        QVERIFY(QDir().mkpath(m_languages));
        global_func().set_application_folder(m_app);
        global_func().set_maker_folder(m_case->path() + "/maker/VANTOR/");
    }

    void cleanup() { QCOMPARE(white_edition(), QString("White edition")); }

    void query_interface_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("answer");
        QTest::addRow("interface_i") << 0 << "listener";
        QTest::addRow("listener_i") << 1 << "listener";
        QTest::addRow("language_listener_i") << 2 << "language listener";
        QTest::addRow("language source") << 3 << "null";
        QTest::addRow("listener manager") << 4 << "null";
        QTest::addRow("control centre listener") << 5 << "null";
    }

    void query_interface() {
        const GUID ids[] = {iid_interface_i,       iid_listener_i,     iid_language_listener_i,
                            iid_language_source_i, iid_listener_mgr_i, iid_ctrl_center_listener_i};
        QFETCH(int, which);
        QFETCH(QString, answer);
        listener_ptr listener(new language_listener_c);
        interface_i* expected = nullptr;
        if (answer == "listener")
            expected = static_cast<listener_i*>(listener.get());
        else if (answer == "language listener")
            expected = static_cast<language_listener_i*>(listener.get());

        QCOMPARE(static_cast<listener_i*>(listener.get())->query_interface(ids[which]), expected);
        // The second interface forwards to the object: the same answers.
        QCOMPARE(static_cast<language_listener_i*>(listener.get())->query_interface(ids[which]),
                 expected);
    }

    void bind_and_unbind() {
        fake_center center;
        listener_ptr listener(new language_listener_c);
        listener->bind(center.object());
        QCOMPARE(listener->language_source(), center.source());
        QCOMPARE(center.listeners, QList<listener_i*>{static_cast<listener_i*>(listener.get())});

        listener->unbind(center.object());
        QCOMPARE(listener->language_source(), nullptr);
        QVERIFY(center.listeners.isEmpty());
        QCOMPARE(center.calls, (QStringList{"add", "remove"}));

        listener->bind(nullptr);
        listener->unbind(nullptr);
        QCOMPARE(center.calls.size(), 2);
    }

    void bind_without_language_source() {
        fake_center manager_only(false);
        listener_ptr listener(new language_listener_c);
        listener->add_language(0, m_languages + "en.qm");
        listener->bind(manager_only.object());
        QCOMPARE(listener->language_source(), nullptr);
        QCOMPARE(manager_only.listeners.size(), 1);

        // Without a source there is nobody to ask: changes are ignored.
        const int log_before = log_text().size();
        listener->update();
        QCOMPARE(manager_only.asked, 0);
        QCOMPARE(log_text().mid(log_before), QString());
    }

    void unbind_from_another_source_keeps_the_bound_one() {
        fake_center center;
        fake_center other;
        listener_ptr listener(new language_listener_c);
        listener->bind(center.object());
        listener->unbind(other.object());
        QCOMPARE(listener->language_source(), center.source());
        QCOMPARE(center.listeners.size(), 1);
        QCOMPARE(other.calls, QStringList{"remove"});
    }

    void translation_follows_the_language() {
        fake_center center;
        listener_ptr listener = bound_listener(center);
        QCOMPARE(white_edition(), QString("White edition"));

        center.language = 3;
        static_cast<language_listener_i*>(listener.get())->language_changed(nullptr, nullptr);
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
        QCOMPARE(center.asked, 1);

        // The listener interface's update() is the other way a change arrives.
        center.language = 0;
        listener->update();
        QCOMPARE(white_edition(), QString("White edition"));
        center.language = 3;
        listener->update();
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
        // Released, the listener's translation leaves the application with it.
    }

    void unknown_language_changes_nothing() {
        fake_center center;
        listener_ptr listener = bound_listener(center);
        center.language = 3;
        listener->apply_language();
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));

        const int log_before = log_text().size();
        center.language = 7;
        listener->apply_language();
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
        QCOMPARE(log_text().mid(log_before), QString());
    }

    void missing_translation_falls_back() {
        fake_center center;
        listener_ptr listener = bound_listener(center);
        center.language = 3;
        listener->apply_language();
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));

        const QString missing = m_languages + "fr.qm";
        listener->add_language(4, missing);
        center.language = 4;
        const int log_before = log_text().size();
        listener->apply_language();
        QVERIFY2(log_text().mid(log_before).contains(missing + " not exist"),
                 qPrintable(log_text()));
        QCOMPARE(white_edition(), QString("White edition"));
    }

    void source_without_compiler_is_logged() {
        fake_center center;
        listener_ptr listener = bound_listener(center);
        write_file(m_languages + "de.ts", ts_file("Hallo"));
        center.language = 3;
        const int log_before = log_text().size();
        listener->apply_language();

        const QString log = log_text().mid(log_before);
        const QString compiler = m_app + platform::translation_compiler_name();
        QVERIFY2(log.contains(compiler + " not exist"), qPrintable(log));
#ifndef _WIN32
        QVERIFY(log.contains(m_app + "lrelease not exist"));
#endif
        // The compiled file is still there and used.
        QVERIFY(!log.contains(m_languages + "de.qm not exist"));
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
    }

    void compiler_output_is_logged_up_to_its_zero_byte() {
#ifdef _WIN32
        QSKIP("the stand-in compiler is a shell script");
#else
        const QString compiler = m_app + platform::translation_compiler_name();
        write_file(compiler, "#!/bin/sh\n"
                             "printf '%s\\n' \"$#\" \"$1\" > \"$(dirname \"$0\")/arguments.txt\"\n"
                             "printf 'de.ts: one text is unfinished\\000stale bytes' >&2\n");
        QVERIFY(QFile::setPermissions(compiler, QFile::permissions(compiler) | QFile::ExeOwner));

        fake_center center;
        listener_ptr listener = bound_listener(center);
        const QString ts = m_languages + "de.ts";
        write_file(ts, ts_file("Hallo"));
        center.language = 3;
        const int log_before = log_text().size();
        listener->apply_language();

        const QString log = log_text().mid(log_before);
        QVERIFY2(log.contains("de.ts: one text is unfinished"), qPrintable(log));
        QVERIFY(!log.contains("stale bytes"));
        QFile arguments(m_app + "arguments.txt");
        QVERIFY(arguments.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(arguments.readAll()), "1\n" + ts + "\n");
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
#endif
    }

    void source_is_compiled_again_on_every_change() {
        const QString lrelease = QLibraryInfo::location(QLibraryInfo::BinariesPath) + "/" +
                                 platform::translation_compiler_name();
        if (!QFile::exists(lrelease))
            QSKIP("no translation compiler installed");
        QVERIFY(QFile::link(lrelease, m_app + platform::translation_compiler_name()));

        fake_center center;
        listener_ptr listener(new language_listener_c);
        const QString qm = m_languages + "xx.qm";
        listener->add_language(5, qm);
        listener->bind(center.object());
        center.language = 5;
        write_file(m_languages + "xx.ts", ts_file("Hallo"));

        // Only the source exists: the change compiles it, then loads the result.
        const int log_before = log_text().size();
        listener->apply_language();
        QVERIFY(QFile::exists(qm));
        QVERIFY2(!log_text().mid(log_before).contains(" not exist"), qPrintable(log_text()));
        QCOMPARE(QCoreApplication::translate("refresh_test", "Hello"), QString("Hallo"));

        write_file(m_languages + "xx.ts", ts_file("Servus"));
        listener->update();
        QCOMPARE(QCoreApplication::translate("refresh_test", "Hello"), QString("Servus"));
    }

    void release_takes_the_translation_away() {
        fake_center center;
        listener_ptr listener = bound_listener(center);
        center.language = 3;
        listener->apply_language();
        listener->apply_language();
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
        listener.reset();
        QCOMPARE(white_edition(), QString("White edition"));
    }

    void shipped_translations_data() {
        QTest::addColumn<QString>("alias");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        for (const char* alias : {"QuilBlack", "QuilWhite"}) {
            QTest::addRow("%s en", alias) << alias << "en"
                                          << "White edition";
            QTest::addRow("%s de", alias) << alias << "de" << QString::fromUtf8(german_white);
        }
    }

    void shipped_translations() {
        QFETCH(QString, alias);
        QFETCH(QString, file);
        const QString folder = QStringLiteral(QUIL_BIN_DIR "/data/") + alias + "/language/";
        QVERIFY2(QFile::exists(folder + file + ".qm"), qPrintable(folder + file + ".qm"));
        // A .ts beside it would make every language change run the compiler.
        QVERIFY(!QFile::exists(folder + file + ".ts"));
        QTranslator translator;
        QVERIFY(translator.load(folder + file + ".qm"));
        QTEST(translator.translate("quil", "White edition"), "expected");
    }

    void setup_languages_uses_the_catalogue() {
        QCOMPARE(module_language_listener(), nullptr);
        setup_languages(8); // no listener yet: nothing to fill

        write_file(m_app + "settings.xml", qCompress(R"(<KORAL_SETTINGS>
            <LANGUAGES>
                <LANGUAGE id="3" name="Deutsch" file="de"/>
                <LANGUAGE id="0" name="English" file="en"/>
            </LANGUAGES>
            <PRODUCTS>
                <PRODUCT type="1" alias_name="KORAL"/>
                <PRODUCT type="8" alias_name="QuilBlack"/>
                <PRODUCT type="9" alias_name="QuilWhite"/>
            </PRODUCTS></KORAL_SETTINGS>)"));
        fake_host host;
        quil_init_module(&host);
        language_listener_c* listener = module_language_listener();
        QVERIFY(listener);

        setup_languages(8);
        QCOMPARE(listener->languages(),
                 (QMap<int32_t, QString>{{0, m_app + "data/QuilBlack/language/en.qm"},
                                         {3, m_app + "data/QuilBlack/language/de.qm"}}));

        // The last edition set up wins, and its translation is applied at once.
        fake_center center;
        center.language = 3;
        listener->bind(center.object());
        QVERIFY(!copy_built("de.qm", m_app + "data/QuilWhite/language/", "de.qm").isEmpty());
        setup_languages(9);
        QCOMPARE(listener->languages(),
                 (QMap<int32_t, QString>{{0, m_app + "data/QuilWhite/language/en.qm"},
                                         {3, m_app + "data/QuilWhite/language/de.qm"}}));
        QCOMPARE(center.asked, 1);
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));

        listener->unbind(center.object());
        quil_exit_module();
        QCOMPARE(module_language_listener(), nullptr);
        setup_languages(9);
        // init_module pointed the log into this case's folder, which goes away now.
        module_log().init(m_root.path() + "/", "Quil");
    }
};

QTEST_GUILESS_MAIN(test_language)
#include "test_language.moc"
