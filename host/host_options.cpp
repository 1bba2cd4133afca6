#include "host/host_options.h"

#include "module/interfaces.h"

#include <QCommandLineParser>

host_options_c::outcome_t host_options_c::parse(const QStringList& arguments,
                                                const QList<int32_t>& languages) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in host for the Quil device module: loads the module and shows "
                       "what it offers."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Render the window off screen to PNG files in <dir> and exit."),
        QStringLiteral("dir"));
    const QCommandLineOption edition(QStringLiteral("edition"),
                                     QStringLiteral("Edition to show: black or white."),
                                     QStringLiteral("black|white"), QStringLiteral("black"));
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("Language id from the catalogue."),
                                      QStringLiteral("id"));
    parser.addOptions({screenshot, edition, language});

    const QString usage = QStringLiteral("\n\n") + parser.helpText();
    if (!parser.parse(arguments)) {
        m_message = parser.errorText() + usage;
        return outcome_t::error;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        m_message = parser.helpText();
        return outcome_t::help;
    }
    if (!parser.positionalArguments().isEmpty()) {
        m_message =
            QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first()) +
            usage;
        return outcome_t::error;
    }

    const QString edition_name = parser.value(edition).toLower();
    if (edition_name == QLatin1String("black")) {
        m_product_type = product_type::black;
    } else if (edition_name == QLatin1String("white")) {
        m_product_type = product_type::white;
    } else {
        m_message =
            QStringLiteral("Unknown edition '%1': use black or white.").arg(parser.value(edition)) +
            usage;
        return outcome_t::error;
    }

    if (parser.isSet(language)) {
        bool ok = false;
        const int id = parser.value(language).toInt(&ok);
        if (!ok || id < 0) {
            m_message =
                QStringLiteral("Language id '%1' is not a number.").arg(parser.value(language)) +
                usage;
            return outcome_t::error;
        }
        if (!languages.isEmpty() && !languages.contains(id)) {
            QStringList known;
            for (int32_t l : languages)
                known << QString::number(l);
            m_message = QStringLiteral("The catalogue has no language %1; it offers %2.")
                            .arg(id)
                            .arg(known.join(QStringLiteral(", ")));
            return outcome_t::error;
        }
        m_language = id;
    }

    if (parser.isSet(screenshot)) {
        m_screenshot_folder = parser.value(screenshot);
        if (m_screenshot_folder.isEmpty()) {
            m_message = QStringLiteral("--screenshot needs a folder.") + usage;
            return outcome_t::error;
        }
    }
    return outcome_t::run;
}
