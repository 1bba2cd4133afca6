#include "host/host_options.h"

#include "host/host_settings.h"
#include "host/host_storage.h"
#include "host/texts.h"
#include "module/interfaces.h"

#include <QCommandLineParser>
#include <QDir>

#ifndef KORAL_VERSION
#define KORAL_VERSION "0"
#endif

QString host_options_c::version() {
    return QStringLiteral(KORAL_VERSION);
}

host_options_c::outcome_t
host_options_c::parse(const QStringList& arguments,
                      const QList<host_catalogue_c::language_t>& languages, int32_t text_language) {
    const auto text = [text_language](int32_t id) {
        return host_texts::text(id, text_language);
    };
    QCommandLineParser parser;
    parser.setApplicationDescription(text(host_text::cli_description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  text(host_text::cli_help));
    const QCommandLineOption show_version({QStringLiteral("v"), QStringLiteral("version")},
                                          text(host_text::cli_version));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        text(host_text::cli_screenshot), QStringLiteral("dir"));
    const QCommandLineOption edition(QStringLiteral("edition"), text(host_text::cli_edition),
                                     QStringLiteral("black|white"));
    const QCommandLineOption language(QStringLiteral("language"), text(host_text::cli_language),
                                      QStringLiteral("id"));
    parser.addOptions({help, show_version, screenshot, edition, language});

    // The help ends with what the options refer to: the language ids and the folders.
    QString languages_text = text(host_text::cli_languages);
    for (const host_catalogue_c::language_t& l : languages)
        languages_text += QStringLiteral("\n  %1  %2").arg(l.id, 2).arg(l.name);
    const QString data_text = text(host_text::cli_data)
                                  .arg(QDir::toNativeSeparators(host_storage::data_folder()),
                                       QDir::toNativeSeparators(host_settings_c::default_file()),
                                       QDir::toNativeSeparators(host_storage::module_log_folder()));
    const QString full_help =
        parser.helpText() + QLatin1Char('\n') + languages_text + QStringLiteral("\n\n") + data_text;
    const QString usage = QStringLiteral("\n\n") + parser.helpText();

    if (!parser.parse(arguments)) {
        m_message = parser.errorText() + usage;
        return outcome_t::error;
    }
    // Help speaks the language asked for, so that one is taken first.
    if (parser.isSet(language) && parser.isSet(help)) {
        bool ok = false;
        const int id = parser.value(language).toInt(&ok);
        if (ok && id >= 0)
            m_language = id;
    }
    if (parser.isSet(help)) {
        m_message = full_help;
        return outcome_t::help;
    }
    if (parser.isSet(show_version)) {
        m_message = QStringLiteral("koral %1").arg(version());
        return outcome_t::help;
    }
    if (!parser.positionalArguments().isEmpty()) {
        m_message =
            text(host_text::cli_unexpected).arg(parser.positionalArguments().first()) + usage;
        return outcome_t::error;
    }

    if (parser.isSet(edition)) {
        const QString edition_name = parser.value(edition).toLower();
        if (edition_name == QLatin1String("black")) {
            m_product_type = product_type::black;
        } else if (edition_name == QLatin1String("white")) {
            m_product_type = product_type::white;
        } else {
            m_message = text(host_text::cli_unknown_edition).arg(parser.value(edition)) + usage;
            return outcome_t::error;
        }
    }

    if (parser.isSet(language)) {
        bool ok = false;
        const int id = parser.value(language).toInt(&ok);
        if (!ok || id < 0) {
            m_message = text(host_text::cli_bad_language).arg(parser.value(language)) + usage;
            return outcome_t::error;
        }
        bool known = languages.isEmpty();
        QStringList offered;
        for (const host_catalogue_c::language_t& l : languages) {
            known = known || l.id == id;
            offered << QString::number(l.id);
        }
        if (!known) {
            m_message =
                text(host_text::cli_no_language).arg(id).arg(offered.join(QStringLiteral(", "))) +
                QStringLiteral("\n\n") + languages_text;
            return outcome_t::error;
        }
        m_language = id;
    }

    if (parser.isSet(screenshot)) {
        m_screenshot_folder = parser.value(screenshot);
        if (m_screenshot_folder.isEmpty()) {
            m_message = text(host_text::cli_screenshot_folder) + usage;
            return outcome_t::error;
        }
    }
    return outcome_t::run;
}
