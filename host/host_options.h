// The koral program's command line.
#pragma once

#include "host/host_catalogue.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class host_options_c {
public:
    enum class outcome_t {
        run,   // go on with the options read
        help,  // help or version text was asked for; print message() and exit 0
        error, // bad arguments; print message() and exit with exit code 2
    };

    static constexpr int bad_arguments_exit_code = 2;

    // The program's version, as the build names it.
    static QString version();

    // Reads `arguments` (the program name first). `languages` are the ones the
    // catalogue offers; when it offers none, any id is taken. Help and error
    // texts are in `text_language`.
    outcome_t parse(const QStringList& arguments,
                    const QList<host_catalogue_c::language_t>& languages,
                    int32_t text_language = 0);

    QString message() const { return m_message; }
    QString screenshot_folder() const { return m_screenshot_folder; }
    bool wants_screenshots() const { return !m_screenshot_folder.isEmpty(); }
    // Product type of the edition asked for (8 black, 9 white), or -1 when none was.
    int32_t product_type() const { return m_product_type; }
    // The language asked for, or -1 when none was.
    int32_t language() const { return m_language; }

private:
    QString m_message;
    QString m_screenshot_folder;
    int32_t m_product_type = -1;
    int32_t m_language = -1;
};
