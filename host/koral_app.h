// The application-wide set-up of koral: the display it draws on, the dark
// theme every window and dialog shares, and Qt's own texts (file dialogs,
// standard buttons) in the person's language.
#pragma once

#include <QObject>
#include <QTranslator>
#include <cstdint>

class QApplication;
class host_catalogue_c;

namespace koral_app {

// Before QApplication exists: with no display to draw on (no DISPLAY nor
// WAYLAND_DISPLAY on a desktop Unix) and no platform asked for, koral draws off
// screen, so --help and --screenshot work anywhere. True when it chose so.
bool choose_platform();

// Off screen, Qt notes every window feature the platform lacks (raising a
// dialog, grabbing the keyboard for a list); those notes are dropped, every
// other message goes on as before.
void quiet_offscreen_notes();

// Fusion with a dark palette: dialogs and pop-ups that the window's style
// sheet does not reach still look like the rest of koral.
void apply_theme(QApplication& app);

} // namespace koral_app

// Keeps Qt's own translation installed for the language in force.
class qt_translation_c : public QObject {
    Q_OBJECT
public:
    explicit qt_translation_c(const host_catalogue_c* catalogue, QObject* parent = nullptr);
    ~qt_translation_c() override;

    // Installs Qt's texts for the language id (none for English or a language
    // Qt has no translation of). True when a translation is in force.
    bool apply(int32_t language);
    // The locale name behind a language id ("de"), empty when unknown.
    QString locale_name(int32_t language) const;

private:
    const host_catalogue_c* m_catalogue;
    QTranslator m_translator;
    bool m_installed = false;
};
