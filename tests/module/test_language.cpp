// Language switching: the listener's identity, its binding to the host's language
// source, loading and installing translations, and the .ts refresh step.
#include "common/language_listener.h"
#include "common/log.h"
#include "common/log_capture.h"
#include "common/platform.h"
#include "module/global_func.h"
#include "module/module.h"
#include "support/fake_host.h"

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
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
               "<TS version=\"2.1\" language=\"de_DE\"><context><name>refresh_test</name>"
               "<message><source>Hello</source><translation>" +
               translation + "</translation></message></context></TS>\n";
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

    void query_interface() {
        listener_ptr listener(new language_listener_c);
        auto* primary = static_cast<listener_i*>(listener.get());
        auto* second = static_cast<language_listener_i*>(listener.get());
        const QList<QPair<GUID, interface_i*>> answers = {{iid_interface_i, primary},
                                                          {iid_listener_i, primary},
                                                          {iid_language_listener_i, second},
                                                          {iid_language_source_i, nullptr},
                                                          {iid_listener_mgr_i, nullptr}};
        for (const auto& answer : answers) {
            QCOMPARE(primary->query_interface(answer.first), answer.second);
            // The second interface forwards to the object: the same answers.
            QCOMPARE(second->query_interface(answer.first), answer.second);
        }
    }

    void bind_and_unbind() {
        fake_center center;
        fake_center other;
        listener_ptr listener(new language_listener_c);
        listener->bind(center.object());
        QCOMPARE(listener->language_source(), static_cast<language_source_i*>(&center));
        QCOMPARE(center.listeners, QList<listener_i*>{static_cast<listener_i*>(listener.get())});

        // Unbinding from another host object leaves the bound source in place.
        listener->unbind(other.object());
        QCOMPARE(listener->language_source(), static_cast<language_source_i*>(&center));
        QCOMPARE(other.calls, QStringList{"remove_listener"});

        listener->unbind(center.object());
        QCOMPARE(listener->language_source(), nullptr);
        QVERIFY(center.listeners.isEmpty());
        QCOMPARE(center.calls, (QStringList{"add_listener", "remove_listener"}));
        listener->bind(nullptr);
        listener->unbind(nullptr);
        QCOMPARE(center.calls.size(), 2);

        // A host object without a language source still delivers notifications, but
        // there is nobody to ask: changes are ignored.
        fake_center manager_only;
        manager_only.offers_source = false;
        listener->add_language(0, m_languages + "en.qm");
        listener->bind(manager_only.object());
        QCOMPARE(listener->language_source(), nullptr);
        QCOMPARE(manager_only.listeners.size(), 1);
        const log_capture log;
        listener->update();
        QCOMPARE(manager_only.language_queries, 0);
        QCOMPARE(log.text(), QString());
        listener->unbind(manager_only.object());
    }

    void translation_follows_the_language() {
        fake_center center;
        listener_ptr listener = bound_listener(center);
        QCOMPARE(white_edition(), QString("White edition"));

        center.language = 3;
        static_cast<language_listener_i*>(listener.get())->language_changed(nullptr, nullptr);
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
        QCOMPARE(center.language_queries, 1);
        // The listener interface's update() is the other way a change arrives.
        center.language = 0;
        listener->update();
        QCOMPARE(white_edition(), QString("White edition"));
        center.language = 3;
        listener->update();
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));

        // A language without a table entry changes nothing and logs nothing.
        log_capture log;
        center.language = 7;
        listener->apply_language();
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
        QCOMPARE(log.text(), QString());

        // A missing file is logged, and the texts fall back to untranslated ones.
        const QString missing = m_languages + "fr.qm";
        listener->add_language(4, missing);
        center.language = 4;
        log.restart();
        listener->apply_language();
        QVERIFY2(log.text().contains(missing + " not exist"), qPrintable(log.text()));
        QCOMPARE(white_edition(), QString("White edition"));

        // Released, the listener's translation leaves the application with it.
        center.language = 3;
        listener->apply_language();
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
        listener.reset();
        QCOMPARE(white_edition(), QString("White edition"));
    }

    void source_beside_translation_runs_compiler_data() {
        QTest::addColumn<bool>("stand_in");
        QTest::addRow("no compiler") << false;
#ifndef _WIN32 // the stand-in compiler is a shell script
        QTest::addRow("compiler reports errors") << true;
#endif
    }

    void source_beside_translation_runs_compiler() {
        QFETCH(bool, stand_in);
        const QString compiler = m_app + platform::translation_compiler_name();
        if (stand_in) {
            write_file(compiler,
                       "#!/bin/sh\n"
                       "printf '%s\\n' \"$#\" \"$1\" > \"$(dirname \"$0\")/arguments.txt\"\n"
                       "printf 'de.ts: one text is unfinished\\000stale bytes' >&2\n");
            QVERIFY(
                QFile::setPermissions(compiler, QFile::permissions(compiler) | QFile::ExeOwner));
        }
        fake_center center;
        listener_ptr listener = bound_listener(center);
        const QString ts = m_languages + "de.ts";
        write_file(ts, ts_file("Hallo"));
        center.language = 3;
        const log_capture capture;
        listener->apply_language();

        // Either way the compiled file is still there and used.
        const QString log = capture.text();
        QVERIFY(!log.contains(m_languages + "de.qm not exist"));
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));
        if (!stand_in) {
            QVERIFY2(log.contains(compiler + " not exist"), qPrintable(log));
            return;
        }
        // The error output is logged up to its first zero byte.
        QVERIFY2(log.contains("de.ts: one text is unfinished"), qPrintable(log));
        QVERIFY(!log.contains("stale bytes"));
        QFile arguments(m_app + "arguments.txt");
        QVERIFY(arguments.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(arguments.readAll()), "1\n" + ts + "\n");
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
        const log_capture log;
        listener->apply_language();
        QVERIFY(QFile::exists(qm));
        QVERIFY2(!log.text().contains(" not exist"), qPrintable(log.text()));
        QCOMPARE(QCoreApplication::translate("refresh_test", "Hello"), QString("Hallo"));

        // The next change back to it compiles the edited source again.
        listener->add_language(3, copy_built("de.qm", m_languages, "de.qm"));
        center.language = 3;
        listener->update();
        write_file(m_languages + "xx.ts", ts_file("Servus"));
        center.language = 5;
        listener->update();
        QCOMPARE(QCoreApplication::translate("refresh_test", "Hello"), QString("Servus"));
    }

#ifndef _WIN32 // the stand-in compiler is a shell script
    void notification_without_a_change_applies_nothing() {
        // The stand-in compiler notes each run: a run is what a needless apply costs (up to
        // 30 s of the host's thread with the real one).
        const QString compiler = m_app + platform::translation_compiler_name();
        write_file(compiler, "#!/bin/sh\necho run >> \"$(dirname \"$0\")/runs.txt\"\n");
        QVERIFY(QFile::setPermissions(compiler, QFile::permissions(compiler) | QFile::ExeOwner));
        const auto runs = [this] {
            QFile file(m_app + "runs.txt");
            return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
        };
        fake_center center;
        listener_ptr listener = bound_listener(center);
        write_file(m_languages + "de.ts", ts_file("Hallo"));

        center.language = 3;
        listener->update();
        QCOMPARE(runs(), 1);
        QCOMPARE(listener->applied_file(), m_languages + "de.qm");
        // The control centre sends update() for every change it reports, and the host may
        // repeat a language notification: the same language applies nothing.
        listener->update();
        listener->update();
        static_cast<language_listener_i*>(listener.get())->language_changed(nullptr, nullptr);
        QCOMPARE(runs(), 1);
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));

        // An actual change applies, and so does the way back.
        center.language = 0;
        listener->update();
        QCOMPARE(white_edition(), QString("White edition"));
        center.language = 3;
        listener->update();
        QCOMPARE(runs(), 2);
        QCOMPARE(white_edition(), QString::fromUtf8(german_white));

        // A kernel of the other edition replaces the file of the same language: that is
        // another translation, applied on the next notification.
        const QString white_de = copy_built("de.qm", m_app + "data/QuilWhite/language/", "de.qm");
        listener->add_language(3, white_de);
        listener->update();
        QCOMPARE(listener->applied_file(), white_de);
        QCOMPARE(runs(), 2); // no source beside that one
    }
#endif

    void shipped_translations() {
        for (const QString alias : {"QuilBlack", "QuilWhite"}) {
            const QString folder = QStringLiteral(QUIL_BIN_DIR "/data/") + alias + "/language/";
            // A .ts beside them would make every language change run the compiler.
            QVERIFY(!QFile::exists(folder + "de.ts") && !QFile::exists(folder + "en.ts"));
            QTranslator german, english;
            QVERIFY2(german.load(folder + "de.qm") && english.load(folder + "en.qm"),
                     qPrintable(folder));
            QCOMPARE(german.translate("quil", "White edition"), QString::fromUtf8(german_white));
            QCOMPARE(english.translate("quil", "White edition"), QString("White edition"));
        }
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
        // Without a control centre, init_module creates the listener but binds it to nothing.
        fake_host host;
        host.app = nullptr;
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
        QCOMPARE(center.language_queries, 1);
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
