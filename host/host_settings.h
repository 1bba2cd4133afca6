// What koral remembers between runs: the language and edition a person chose
// and the folder they last took a profile file from or put one into. An ini
// file in the program's configuration folder; the device data lives elsewhere
// (host_storage).
#pragma once

#include <QString>
#include <cstdint>

class host_settings_c {
public:
    // `file` empty: koral's own settings file.
    explicit host_settings_c(const QString& file = QString());

    // The file behind koral's own settings (AppConfigLocation/koral.ini).
    static QString default_file();
    QString file() const { return m_file; }

    // The language chosen last, or `fallback` when none was stored.
    int32_t language(int32_t fallback) const;
    void set_language(int32_t id);
    // The edition shown last (product type 8 or 9), or `fallback`.
    int32_t edition(int32_t fallback) const;
    void set_edition(int32_t product_type);

    // Where a file dialog for profiles starts: the folder used last while it
    // still exists, otherwise the person's documents folder (their home folder
    // when there is none).
    QString profile_folder() const;
    // Remembers the folder of a file a person chose (or the folder itself).
    void remember_profile_file(const QString& path);

private:
    QString m_file;
};
