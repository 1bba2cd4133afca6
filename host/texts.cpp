#include "host/texts.h"

#include "host/components/advanced_texts.h"
#include "host/components/button_texts.h"
#include "host/components/component_texts.h"

#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {

struct text_row {
    int32_t id;
    const char* english;
    const char* german;
};

// One row per text: id, English, German (UTF-8). Rows are grouped by where the
// module shows them; function-catalogue rows note the function code they label.
// A few texts end in a space because the module appends a number to them.
const text_row k_texts[] = {
    // Common captions and page tabs.
    {1, "CANCEL", "ABBRECHEN"},
    {27, "MAIN SETTINGS", "GRUNDEINSTELLUNGEN"},
    {72, "BUTTON ASSIGNMENT", "TASTENBELEGUNG"},
    {200, "ADVANCED SETTINGS", "ERWEITERTE EINSTELLUNGEN"},

    // DPI switcher.
    {205, "DPI SWITCHER", "DPI-UMSCHALTER"},
    {387,
     "Set up to five DPI steps. Tick a step to use it, drag its slider or type a value from 200 "
     "to 12000, and click a row to make it the active step.",
     "Lege bis zu fünf DPI-Stufen fest. Hake eine Stufe an, um sie zu nutzen, ziehe ihren Regler "
     "oder tippe einen Wert von 200 bis 12000 ein, und klicke auf eine Zeile, um sie zur aktiven "
     "Stufe zu machen."},

    // Surface and lift-off tuning.
    {617, "SURFACE TUNER", "OBERFLÄCHENABSTIMMUNG"},
    {390,
     "Calibrate the sensor to your mouse pad for the most precise tracking, and choose how high "
     "the mouse may be lifted before the sensor stops tracking.",
     "Kalibriere den Sensor auf dein Mauspad für die genaueste Abtastung und lege fest, wie hoch "
     "die Maus angehoben werden darf, bevor der Sensor nicht mehr abtastet."},
    {625, "SURF ON", "SURF AN"},
    {626, "SURF OFF", "SURF AUS"},
    {500, "RECALIBRATE", "NEU KALIBRIEREN"},
    {495, "LIFT TUNER", "ABHEBEHÖHE"},
    {327, "OFF (DEFAULT)", "AUS (STANDARD)"},
    {627, "EXTRA LOW", "SEHR NIEDRIG"},
    {498, "LOW", "NIEDRIG"},
    {569, "NORMAL", "NORMAL"},
    // Lift-off confirmation: title, text, question, confirm, cancel.
    {628, "LIFT-OFF DISTANCE", "ABHEBEHÖHE"},
    {629, "The mouse already uses the new lift-off distance.",
     "Die Maus nutzt die neue Abhebehöhe bereits."},
    {630, "Keep it? Lift the mouse a little to try it first.",
     "Beibehalten? Heb die Maus zum Ausprobieren ein wenig an."},
    {631, "KEEP", "BEHALTEN"},
    {632, "UNDO", "RÜCKGÄNGIG"},
    // Calibration dialog.
    {581, "START CALIBRATION", "KALIBRIERUNG STARTEN"},
    {203, "RETRY CALIBRATION", "ERNEUT KALIBRIEREN"},
    {202, "CONTINUE", "WEITER"},
    {618, "Tune the sensor to your mouse pad", "Stimme den Sensor auf dein Mauspad ab"},
    {619, "SURFACE ANALYSIS", "OBERFLÄCHENANALYSE"},
    {620, "Place the mouse on your pad and start the calibration.",
     "Lege die Maus auf dein Mauspad und starte die Kalibrierung."},
    {621, "Calibrating… keep moving the mouse slowly across the whole pad.",
     "Kalibrierung läuft… bewege die Maus langsam über das ganze Mauspad."},
    {622, "SURF calibration failed, please try again.",
     "SURF-Kalibrierung fehlgeschlagen, bitte versuche es erneut."},
    {623, "Calibration complete. The sensor is tuned to this surface.",
     "Kalibrierung abgeschlossen. Der Sensor ist auf diese Oberfläche abgestimmt."},
    {624, "Calibrate again whenever you change your mouse pad.",
     "Kalibriere erneut, wenn du dein Mauspad wechselst."},

    // Lighting and colour palette.
    {3, "LIGHTING", "BELEUCHTUNG"},
    {389,
     "Switch the logo and the light pipe on or off, pick an effect and its speed, and click a "
     "zone on the picture to choose its color.",
     "Schalte Logo und Lichtleiste ein oder aus, wähle einen Effekt und seine Geschwindigkeit und "
     "klicke auf eine Zone im Bild, um ihre Farbe zu wählen."},
    {521, "LIGHTING ON/OFF", "BELEUCHTUNG AN/AUS"},
    {522, "LIGHT EFFECT", "LICHTEFFEKT"},
    {523, "COLOR FLOW EFFECT", "FARBFLUSS-EFFEKT"},
    {460, "EFFECT SPEED", "EFFEKTTEMPO"},
    {63, "FULLY LIT", "DAUERLICHT"},
    {239, "BLINKING", "BLINKEN"},
    {64, "BREATHING", "ATMEN"},
    {65, "HEARTBEAT", "HERZSCHLAG"},
    // Colour-flow items 0..3: none, both zones together, bottom zone ahead, top zone ahead.
    {520, "No color flow", "Kein Farbfluss"},
    {614, "All zones together", "Alle Zonen gemeinsam"},
    {615, "Flow direction: up", "Flussrichtung: nach oben"},
    {616, "Flow direction: down", "Flussrichtung: nach unten"},
    {524, "CHOOSE A COLOR", "FARBE WÄHLEN"},

    // The host's advanced-page controls, message box and the device panel's tuning answer.
    {advanced_text::adv_sen_title, "ADVANCED SENSITIVITY", "ERWEITERTE EMPFINDLICHKEIT"},
    {advanced_text::adv_sen_help,
     "Set the sensitivity of the horizontal (X) and vertical (Y) axis separately. Switched off, "
     "both axes use the sensitivity of the main settings.",
     "Lege die Empfindlichkeit der waagrechten (X) und senkrechten (Y) Achse getrennt fest. "
     "Ausgeschaltet nutzen beide Achsen die Empfindlichkeit der Grundeinstellungen."},
    {advanced_text::adv_sen_separate, "Set X and Y separately", "X und Y getrennt einstellen"},
    {advanced_text::adv_sen_x, "X", "X"},
    {advanced_text::adv_sen_y, "Y", "Y"},
    {advanced_text::adv_sen_hint, "Both follow the main settings",
     "Beide folgen den Grundeinstellungen"},
    {advanced_text::polling_title, "POLLING RATE", "ABFRAGERATE"},
    {advanced_text::polling_help,
     "How often per second the mouse reports its movement to the computer. Higher rates feel "
     "smoother and use a little more processor time.",
     "Wie oft pro Sekunde die Maus ihre Bewegung an den Computer meldet. Höhere Raten wirken "
     "flüssiger und kosten etwas mehr Rechenzeit."},
    {advanced_text::polling_hint, "Reports per second", "Meldungen pro Sekunde"},
    {advanced_text::reset_title, "DEVICE RESET", "GERÄT ZURÜCKSETZEN"},
    {advanced_text::reset_help,
     "Returns every profile and every setting of the mouse to the factory state.",
     "Setzt alle Profile und alle Einstellungen der Maus auf den Werkszustand zurück."},
    {advanced_text::reset_text, "All five profiles go back to the factory settings.",
     "Alle fünf Profile kehren zu den Werkseinstellungen zurück."},
    {advanced_text::reset_button, "RESET DEVICE", "GERÄT ZURÜCKSETZEN"},
    {advanced_text::reset_confirm_title, "Reset the device", "Gerät zurücksetzen"},
    {advanced_text::reset_confirm_text,
     "Every profile, button assignment, macro and lighting setting of the mouse returns to the "
     "factory state. This cannot be undone.",
     "Alle Profile, Tastenbelegungen, Makros und Beleuchtungseinstellungen der Maus kehren in den "
     "Werkszustand zurück. Das lässt sich nicht rückgängig machen."},
    {advanced_text::reset_confirm_ok, "RESET", "ZURÜCKSETZEN"},
    {advanced_text::sound_title, "SOUND FEEDBACK", "TONRÜCKMELDUNG"},
    {advanced_text::sound_help,
     "The mouse confirms these actions with a short sound. The volume applies to all of them.",
     "Die Maus bestätigt diese Aktionen mit einem kurzen Ton. Die Lautstärke gilt für alle."},
    {advanced_text::sound_switch_0, "Profile switch", "Profilwechsel"},
    {advanced_text::sound_switch_1, "DPI switch", "DPI-Wechsel"},
    {advanced_text::sound_switch_2, "Alter-Key[+] layer", "Alter-Key[+]-Ebene"},
    {advanced_text::sound_switch_3, "Macro recording", "Makroaufnahme"},
    {advanced_text::sound_switch_4, "Side panel change", "Seitenteil-Wechsel"},
    {advanced_text::sound_volume, "VOLUME", "LAUTSTÄRKE"},
    {advanced_text::calibration_answer, "Calibration answer", "Antwort auf Kalibrierung"},
    {advanced_text::calibration_success, "Succeeds", "Gelingt"},
    {advanced_text::calibration_failure, "Fails", "Misslingt"},
    {advanced_text::calibration_delay, "after %1 s", "nach %1 s"},
    {advanced_text::lights_title, "LIGHTS ON THE MOUSE", "BELEUCHTUNG DER MAUS"},
    {advanced_text::lights_off, "Lights off", "Beleuchtung aus"},

    // Side-button box, presets, overlays and set-up guide.
    {591, "Choose a button set for the side panel", "Wähle einen Tastensatz für das Seitenteil"},
    {592, "DRAG & DROP", "ZIEHEN & ABLEGEN"},
    {593, "SELECT ALL", "ALLE AUSWÄHLEN"},
    {594, "SET UP YOUR BUTTON SET", "STELLE DEINEN TASTENSATZ ZUSAMMEN"},
    {595, "SIDE BUTTON ASSIGNMENT", "BELEGUNG DER SEITENTASTEN"},
    {388, "Not fitted", "Nicht bestückt"},
    {611, "BUTTON SET PRESETS", "TASTENSATZ-VORLAGEN"},
    {612, "DELETE BUTTON SET", "TASTENSATZ LÖSCHEN"},
    {613, "Delete this button set? This cannot be undone.",
     "Diesen Tastensatz löschen? Das lässt sich nicht rückgängig machen."},
    {43, "Button set ", "Tastensatz "},
    {598, "QUIL DEACTIVATED", "QUIL DEAKTIVIERT"},
    {599, "PRESS ENTER TO RE-ACTIVATE QUIL", "ZUM REAKTIVIEREN DER QUIL ENTER DRÜCKEN"},
    {600, "All buttons are switched off, so you can swap the side-panel buttons safely.",
     "Alle Tasten sind ausgeschaltet, damit du die Seitentasten gefahrlos tauschen kannst."},
    {601, "STEP 1: PICK A PRESET", "SCHRITT 1: VORLAGE WÄHLEN"},
    {602, "STEP 2: ARRANGE THE BUTTONS", "SCHRITT 2: TASTEN ANORDNEN"},
    {603, "STEP 3: SINGLE OR DOUBLE", "SCHRITT 3: EINZELN ODER DOPPELT"},
    {604, "STEP 4: CLEAR POSITIONS", "SCHRITT 4: PLÄTZE LEEREN"},
    {605, "STEP 5: FIT THE PANEL", "SCHRITT 5: SEITENTEIL BESTÜCKEN"},
    {606, "Start from one of the button set presets below, or keep the layout you have.",
     "Beginne mit einer der Tastensatz-Vorlagen unten oder behalte deine jetzige Anordnung."},
    {607, "Drag buttons from the palette onto the twelve positions of the side panel.",
     "Ziehe Tasten aus der Palette auf die zwölf Plätze des Seitenteils."},
    {608,
     "Each position takes a single button, a double button across two positions, or a blank "
     "cap.",
     "Jeder Platz nimmt eine Einzeltaste, eine Doppeltaste über zwei Plätze oder eine Blindkappe "
     "auf."},
    {609,
     "Select buttons and drop them on the trash can to clear their positions. Undo and redo "
     "take back any step.",
     "Wähle Tasten aus und lege sie auf den Papierkorb, um ihre Plätze zu leeren. Rückgängig und "
     "Wiederholen nehmen jeden Schritt zurück."},
    {610, "Deactivate the mouse, fit the buttons as shown, then press Enter to switch it on again.",
     "Deaktiviere die Maus, setze die Tasten wie gezeigt ein und drücke dann Enter, um sie wieder "
     "einzuschalten."},

    // Function catalogue: macros, hotkeys, timers.
    {73, "Macro", "Makro"},
    {74, "Play back a recorded key sequence", "Eine aufgezeichnete Tastenfolge abspielen"},
    {75, "New macro…", "Neues Makro…"}, // 252
    {76, "Hotkey", "Tastenkürzel"},
    {77, "Send a key or a key combination", "Eine Taste oder Tastenkombination senden"},
    {78, "Record a hotkey…", "Tastenkürzel aufnehmen…"}, // 5
    {79, "Timer", "Timer"},
    {80, "Start a countdown with a click", "Einen Countdown per Klick starten"},
    {81, "New timer…", "Neuer Timer…"},         // 255
    {82, "Manage timers…", "Timer verwalten…"}, // 254
    {83, "Stop timer", "Timer anhalten"},       // 50
    {84, "Saved timers", "Gespeicherte Timer"},

    // Function catalogue: standard functions.
    {85, "Standard functions", "Standardfunktionen"},
    {86, "Clicks and scrolling", "Klicks und Scrollen"},
    {87, "Left click", "Linksklick"},             // 1
    {434, "Double click", "Doppelklick"},         // 4
    {88, "Right click", "Rechtsklick"},           // 2
    {89, "Scroll up", "Nach oben scrollen"},      // 13
    {90, "Scroll down", "Nach unten scrollen"},   // 14
    {91, "Button 4 (back)", "Taste 4 (zurück)"},  // 9
    {92, "Button 5 (forward)", "Taste 5 (vor)"},  // 10
    {93, "Scroll left", "Nach links scrollen"},   // 98
    {94, "Scroll right", "Nach rechts scrollen"}, // 99
    {95, "Page up", "Seite nach oben"},           // 100
    {96, "Page down", "Seite nach unten"},        // 101
    {100, "Middle click", "Mittelklick"},         // 3

    // Function catalogue: advanced functions.
    {101, "Advanced functions", "Erweiterte Funktionen"},
    {102, "DPI, profiles and sensitivity", "DPI, Profile und Empfindlichkeit"},
    {103, "DPI up", "DPI höher"},                    // 20
    {104, "DPI down", "DPI niedriger"},              // 21
    {105, "DPI cycle", "DPI durchschalten"},         // 22
    {106, "Next profile", "Nächstes Profil"},        // 16
    {107, "Previous profile", "Vorheriges Profil"},  // 17
    {108, "Profile cycle", "Profile durchschalten"}, // 18
    {109, "Switch to profile", "Zu Profil wechseln"},
    {525, "Sensitivity up", "Empfindlichkeit höher"},            // 23
    {526, "Sensitivity down", "Empfindlichkeit niedriger"},      // 24
    {527, "Sensitivity cycle", "Empfindlichkeit durchschalten"}, // 25
    {528, "Set sensitivity", "Empfindlichkeit festlegen"},
    {529, "Sensitivity ", "Empfindlichkeit "},

    // Function catalogue: internet.
    {110, "Internet", "Internet"},
    {111, "Browse the web", "Im Web surfen"},
    {113, "Browser back", "Browser zurück"},        // 8
    {114, "Browser forward", "Browser vorwärts"},   // 7
    {115, "Browser home", "Browser-Startseite"},    // 128
    {116, "Reload page", "Seite neu laden"},        // 129
    {117, "Stop loading", "Laden abbrechen"},       // 130
    {118, "Web search", "Websuche"},                // 131
    {119, "Favorites", "Favoriten"},                // 132
    {120, "Open web browser", "Webbrowser öffnen"}, // 133

    // Function catalogue: multimedia.
    {121, "Multimedia", "Multimedia"},
    {122, "Music and video playback", "Musik- und Videowiedergabe"},
    {123, "Mute", "Stummschalten"},                   // 37
    {124, "Volume up", "Lauter"},                     // 38
    {125, "Volume down", "Leiser"},                   // 39
    {126, "Open media player", "Mediaplayer öffnen"}, // 140
    {127, "Play / pause", "Wiedergabe / Pause"},      // 34
    {128, "Stop", "Stopp"},                           // 33
    {129, "Next track", "Nächster Titel"},            // 35
    {510, "Previous track", "Vorheriger Titel"},      // 36

    // Function catalogue: open.
    {130, "Open", "Öffnen"},
    {131, "Programs, files and tools", "Programme, Dateien und Werkzeuge"},
    {132, "Open file manager", "Dateimanager öffnen"}, // 27
    {133, "Open program…", "Programm öffnen…"},        // 15
    {134, "Open document…", "Dokument öffnen…"},       // 137
    {135, "Open folder…", "Ordner öffnen…"},           // 138
    {136, "Open website…", "Webseite öffnen…"},        // 139
    {137, "System tools", "Systemwerkzeuge"},
    {138, "Control panel", "Systemsteuerung"},         // 134
    {139, "Calculator", "Rechner"},                    // 141
    {140, "Task manager", "Task-Manager"},             // 142
    {141, "Command prompt", "Eingabeaufforderung"},    // 143
    {142, "Text editor", "Texteditor"},                // 144
    {143, "Paint program", "Malprogramm"},             // 145
    {144, "On-screen keyboard", "Bildschirmtastatur"}, // 146
    {145, "Magnifier", "Bildschirmlupe"},              // 147
    {146, "Snipping tool", "Ausschneide-Werkzeug"},    // 148
    {147, "Device manager", "Geräte-Manager"},         // 149
    {148, "Run command…", "Befehl ausführen…"},        // 150
    {149, "Communication", "Kommunikation"},
    {150, "E-mail", "E-Mail"},       // 135
    {151, "Messenger", "Messenger"}, // 136
    {195, "Choose a program", "Programm auswählen"},
    {196, "Programs (*.exe *.lnk *.bat *.cmd);;All files (*)",
     "Programme (*.exe *.lnk *.bat *.cmd);;Alle Dateien (*)"},
    {197, "Choose a document", "Dokument auswählen"},
    {198, "Documents (*.txt *.pdf *.doc *.docx *.xls *.xlsx *.ppt *.pptx);;All files (*)",
     "Dokumente (*.txt *.pdf *.doc *.docx *.xls *.xlsx *.ppt *.pptx);;Alle Dateien (*)"},
    {199, "Choose a folder", "Ordner auswählen"},

    // Function catalogue: device functions. The DPI rows read "Switch to 800 DPI".
    {152, "Device functions", "Gerätefunktionen"},
    {153, "DPI, Alter-Key[+] and linked devices", "DPI, Alter-Key[+] und verbundene Geräte"},
    {154, "DPI", "DPI"},
    {155, "Switch to", "Wechseln zu"},
    {156, "DPI", "DPI"},
    {157, "Custom DPI…", "Eigener DPI-Wert…"}, // 124
    {158, "Special functions", "Sonderfunktionen"},
    {530, "Precision aim (hold)", "Präzisionszielen (halten)"},                                // 66
    {159, "Slow pointer (hold)", "Langsamer Zeiger (halten)"},                                 // 67
    {160, "Fast pointer (hold)", "Schneller Zeiger (halten)"},                                 // 68
    {161, "Horizontal scroll (hold)", "Horizontal scrollen (halten)"},                         // 69
    {162, "Drag lock (hold)", "Ziehen einrasten (halten)"},                                    // 70
    {163, "3D window switcher", "3D-Fensterwechsel"},                                          // 71
    {164, "Alter-Key[+]", "Alter-Key[+]"},                                                     // 65
    {165, "Alter-Key[+] on all linked devices", "Alter-Key[+] auf allen verbundenen Geräten"}, // 83
    {166, "Lock all linked devices", "Alle verbundenen Geräte sperren"},                       // 84

    // Function catalogue: system.
    {167, "System", "System"},
    {168, "Desktop, windows and editing", "Desktop, Fenster und Bearbeiten"},
    {169, "Show desktop", "Desktop anzeigen"},                    // 167
    {170, "Lock computer", "Computer sperren"},                   // 168
    {171, "Sleep", "Energie sparen"},                             // 169
    {172, "Switch window", "Fenster wechseln"},                   // 170
    {173, "Zoom (hold)", "Zoomen (halten)"},                      // 188
    {174, "Window overview (hold)", "Fensterübersicht (halten)"}, // 189
    {175, "Autoscroll", "Automatisch scrollen"},                  // 190
    {176, "Keyboard commands", "Tastaturbefehle"},
    {177, "Cut", "Ausschneiden"},                   // 171
    {178, "Copy", "Kopieren"},                      // 172
    {179, "Paste", "Einfügen"},                     // 173
    {180, "Undo", "Rückgängig"},                    // 174
    {181, "Redo", "Wiederholen"},                   // 175
    {182, "Select all", "Alles auswählen"},         // 176
    {183, "Delete", "Löschen"},                     // 177
    {184, "Save", "Speichern"},                     // 178
    {185, "Print", "Drucken"},                      // 179
    {186, "Find", "Suchen"},                        // 180
    {187, "Close window", "Fenster schließen"},     // 181
    {188, "Minimize window", "Fenster minimieren"}, // 182
    {189, "Maximize window", "Fenster maximieren"}, // 183
    {190, "New tab", "Neuer Tab"},                  // 184
    {191, "Close tab", "Tab schließen"},            // 185
    {192, "Screenshot", "Bildschirmfoto"},          // 186
    {193, "Esc key", "Esc-Taste"},                  // 187

    // Function catalogue: the two entries of the root menu.
    {194, "Disabled", "Deaktiviert"},                       // 0
    {340, "Reset to default", "Auf Standard zurücksetzen"}, // 256

    // The host's button-assignment side: key names, the catalogue's dialogs,
    // the reset confirmation, the preset selector, the macro editor and the
    // device panel's buttons.
    {button_text::key_enter, "Enter", "Eingabe"},
    {button_text::key_escape, "Esc", "Esc"},
    {button_text::key_backspace, "Backspace", "Rücktaste"},
    {button_text::key_tab, "Tab", "Tab"},
    {button_text::key_space, "Space", "Leertaste"},
    {button_text::key_caps_lock, "Caps Lock", "Feststelltaste"},
    {button_text::key_print_screen, "Print Screen", "Druck"},
    {button_text::key_scroll_lock, "Scroll Lock", "Rollen"},
    {button_text::key_pause, "Pause", "Pause"},
    {button_text::key_insert, "Insert", "Einfg"},
    {button_text::key_home, "Home", "Pos1"},
    {button_text::key_page_up, "Page Up", "Bild auf"},
    {button_text::key_delete, "Delete", "Entf"},
    {button_text::key_end, "End", "Ende"},
    {button_text::key_page_down, "Page Down", "Bild ab"},
    {button_text::key_right, "Right", "Rechts"},
    {button_text::key_left, "Left", "Links"},
    {button_text::key_down, "Down", "Runter"},
    {button_text::key_up, "Up", "Hoch"},
    {button_text::key_num_lock, "Num Lock", "Num"},
    {button_text::key_keypad, "Num %1", "Num %1"},
    {button_text::key_keypad_enter, "Num Enter", "Num Eingabe"},
    {button_text::key_application, "Menu", "Menü"},
    {button_text::key_non_us_backslash, "< >", "< >"},
    {button_text::key_non_us_hash, "# '", "# '"},
    {button_text::key_international, "Ro", "Ro"},
    {button_text::key_kana, "Kana", "Kana"},
    {button_text::key_yen, "Yen", "Yen"},
    {button_text::key_convert, "Henkan", "Henkan"},
    {button_text::key_no_convert, "Muhenkan", "Muhenkan"},
    {button_text::key_hangul, "Hangul", "Hangul"},
    {button_text::key_hanja, "Hanja", "Hanja"},
    {button_text::key_katakana, "Katakana", "Katakana"},
    {button_text::key_hiragana, "Hiragana", "Hiragana"},
    {button_text::key_zenkaku, "Zenkaku", "Zenkaku"},
    {button_text::key_shift, "Shift", "Umschalt"},
    {button_text::key_ctrl, "Ctrl", "Strg"},
    {button_text::key_alt, "Alt", "Alt"},
    {button_text::key_win, "Win", "Win"},
    {button_text::key_right_side, "Right %1", "%1 rechts"},
    {button_text::ok, "OK", "OK"},
    {button_text::cancel, "CANCEL", "ABBRECHEN"},
    {button_text::close, "CLOSE", "SCHLIESSEN"},
    {button_text::hotkey_title, "ASSIGN A HOTKEY", "TASTENKÜRZEL ZUWEISEN"},
    {button_text::hotkey_prompt, "Press the key or the key combination this button should send.",
     "Drücke die Taste oder Tastenkombination, die diese Maustaste senden soll."},
    {button_text::hotkey_waiting, "Waiting for keys…", "Warte auf Tasten…"},
    {button_text::hotkey_refused, "The mouse cannot send that key. Try another one.",
     "Diese Taste kann die Maus nicht senden. Versuche eine andere."},
    {button_text::hotkey_clear, "CLEAR", "LEEREN"},
    {button_text::hotkey_hint,
     "Hold Shift, Ctrl, Alt or Win and press a key. Modifiers on their own work too.",
     "Halte Umschalt, Strg, Alt oder Win und drücke eine Taste. Zusatztasten allein gehen auch."},
    {button_text::new_timer_title, "NEW TIMER", "NEUER TIMER"},
    {button_text::timer_name, "Timer", "Timer"},
    {button_text::timer_duration, "Duration", "Dauer"},
    {button_text::timer_name_taken, "A timer with this name exists already.",
     "Es gibt schon einen Timer mit diesem Namen."},
    {button_text::timer_name_empty, "Give the timer a name.", "Gib dem Timer einen Namen."},
    {button_text::timer_manager_title, "MANAGE TIMERS", "TIMER VERWALTEN"},
    {button_text::timer_manager_empty, "No timers yet. Add one with New.",
     "Noch keine Timer. Lege mit Neu einen an."},
    {button_text::timer_delete, "DELETE", "LÖSCHEN"},
    {button_text::timer_in_use_title, "DELETE TIMER", "TIMER LÖSCHEN"},
    {button_text::timer_in_use_text,
     "A button of this mouse starts \"%1\". Delete the timer anyway? The button then does "
     "nothing until you give it another function.",
     "Eine Taste dieser Maus startet „%1“. Den Timer trotzdem löschen? Die Taste tut dann "
     "nichts, bis du ihr eine andere Funktion gibst."},
    {button_text::timer_column_name, "Name", "Name"},
    {button_text::timer_column_duration, "Duration", "Dauer"},
    {button_text::timer_column_use, "In use", "Belegt"},
    {button_text::timer_used_here, "On this mouse", "Auf dieser Maus"},
    {button_text::timer_summary, "%1 timers, shared by all your devices.",
     "%1 Timer, gemeinsam für alle deine Geräte."},
    {button_text::timer_new, "NEW", "NEU"},
    {button_text::value_253_title, "FUNCTION VALUE", "FUNKTIONSWERT"},
    {button_text::value_253_prompt,
     "The value this profile hands over with the function, from 0 to 4294967295. Type it in "
     "decimal, or in hexadecimal starting with 0x.",
     "Der Wert, den dieses Profil mit der Funktion übergibt, von 0 bis 4294967295. Tippe ihn "
     "dezimal ein oder hexadezimal mit 0x davor."},
    {button_text::value_253_hint, "%1 = %2", "%1 = %2"},
    {button_text::web_title, "OPEN A WEBSITE", "WEBSEITE ÖFFNEN"},
    {button_text::web_prompt, "The address the button opens in your web browser.",
     "Die Adresse, die die Taste in deinem Webbrowser öffnet."},
    {button_text::web_invalid, "That is not a web address.", "Das ist keine Webadresse."},
    {button_text::web_hint, "For example www.example.com or https://example.com/news",
     "Zum Beispiel www.example.com oder https://example.com/news"},
    {button_text::slider_title, "CHOOSE A VALUE", "WERT WÄHLEN"},
    {button_text::slider_default, "DEFAULT", "STANDARD"},
    {button_text::reset_title, "RESET TO DEFAULT", "AUF STANDARD ZURÜCKSETZEN"},
    {button_text::reset_text,
     "Give these buttons their default functions back? Your assignments here are lost.",
     "Diesen Tasten ihre Standardfunktionen zurückgeben? Deine Belegung hier geht verloren."},
    {button_text::reset_yes, "RESET", "ZURÜCKSETZEN"},
    {button_text::reset_no, "KEEP", "BEHALTEN"},
    {button_text::preset_count, "%1 button sets", "%1 Tastensätze"},
    {button_text::preset_none, "No button set chosen", "Kein Tastensatz gewählt"},
    {button_text::macro_editor_title, "NEW MACRO", "NEUES MAKRO"},
    {button_text::macro_group, "Group", "Gruppe"},
    {button_text::macro_new_group, "My Macros", "Meine Makros"},
    {button_text::macro_name, "Name", "Name"},
    {button_text::macro_record, "RECORD", "AUFNEHMEN"},
    {button_text::macro_stop, "STOP", "STOPP"},
    {button_text::macro_clear, "CLEAR", "LEEREN"},
    {button_text::macro_remove_event, "REMOVE", "ENTFERNEN"},
    {button_text::macro_events, "Keys", "Tasten"},
    {button_text::macro_press, "Press %1", "%1 drücken"},
    {button_text::macro_release, "Release %1", "%1 loslassen"},
    {button_text::macro_delay, "%1 ms", "%1 ms"},
    {button_text::macro_recording_hint,
     "Recording: press and release keys as the macro should. Pauses are kept.",
     "Aufnahme läuft: Drücke und löse die Tasten, wie es das Makro tun soll. Pausen bleiben "
     "erhalten."},
    {button_text::macro_name_taken, "This group has a macro with that name already.",
     "Diese Gruppe hat schon ein Makro mit diesem Namen."},
    {button_text::macro_name_empty, "Give the macro a name.", "Gib dem Makro einen Namen."},
    {button_text::macro_no_events, "Press RECORD and type the keys of the macro.",
     "Drücke AUFNEHMEN und tippe die Tasten des Makros."},
    {button_text::macro_event_count, "%1 of %2 key events", "%1 von %2 Tastenereignissen"},
    {button_text::talk_devices_panel, "LINKED DEVICES", "VERBUNDENE GERÄTE"},
    {button_text::talk_devices_note,
     "Other devices on this computer. Keyboards can take Talk functions from the mouse's "
     "buttons.",
     "Andere Geräte an diesem Computer. Tastaturen können Talk-Funktionen von den Maustasten "
     "empfangen."},
    {button_text::talk_add, "CONNECT", "VERBINDEN"},
    {button_text::talk_remove, "DISCONNECT", "TRENNEN"},
    {button_text::talk_device_name, "Name", "Name"},
    {button_text::talk_device_product, "Product", "Produkt"},
    {button_text::talk_column, "Talk", "Talk"},
    {button_text::talk_none, "No other device is connected.", "Kein anderes Gerät ist verbunden."},
    {button_text::buttons_panel, "BUTTONS ON THE MOUSE", "TASTEN AUF DER MAUS"},
    {button_text::buttons_profile, "Profile", "Profil"},
    {button_text::buttons_standard, "STANDARD", "STANDARD"},
    {button_text::buttons_alter, "ALTER-KEY[+]", "ALTER-KEY[+]"},
    {button_text::buttons_top, "Top", "Oben"},
    {button_text::buttons_side, "Side", "Seite"},
    {button_text::buttons_no_memory, "The mouse holds no settings yet.",
     "Die Maus enthält noch keine Einstellungen."},
    {button_text::buttons_unreadable, "The mouse's memory cannot be read: %1",
     "Der Speicher der Maus ist nicht lesbar: %1"},
    {button_text::buttons_layout_fixed,
     "The stored side-panel layout is inconsistent; the nearest valid layout is shown.",
     "Die gespeicherte Seitenteil-Anordnung ist widersprüchlich; die nächste gültige wird "
     "gezeigt."},
    {button_text::side_panel, "SIDE PANEL", "SEITENTEIL"},
    {button_text::side_single, "Single", "Einzeln"},
    {button_text::side_double, "Double", "Doppelt"},
    {button_text::side_blank, "Blank", "Blind"},
    {button_text::side_legend, "Position %1: %2", "Platz %1: %2"},
    {button_text::function_unknown, "Unknown function (%1)", "Unbekannte Funktion (%1)"},
    {button_text::function_open_app, "Open app: %1", "App öffnen: %1"},
    {button_text::function_open_document, "Open document: %1", "Dokument öffnen: %1"},
    {button_text::function_open_folder, "Open folder: %1", "Ordner öffnen: %1"},
    {button_text::function_open_website, "Open website: %1", "Webseite öffnen: %1"},
    {button_text::function_macro_missing, "Macro (no record)", "Makro (ohne Aufzeichnung)"},
    {button_text::function_timer_missing, "Timer (no longer exists)",
     "Timer (existiert nicht mehr)"},
    {button_text::function_profile, "Profile %1: %2", "Profil %1: %2"},
    {button_text::function_profile_value, "Function value %1", "Funktionswert %1"},
    {button_text::function_dpi_step, "DPI step %1 (%2 DPI)", "DPI-Stufe %1 (%2 DPI)"},
    {button_text::function_talk_alter, "Alter-Key[+] on %1", "Alter-Key[+] auf %1"},
    {button_text::function_talk_lock, "Lock/Unlock %1", "%1 sperren/entsperren"},
    {button_text::function_talk_unknown, "Talk (no device record)", "Talk (ohne Gerätedaten)"},
    {button_text::function_hotkey_none, "Hotkey (no keys)", "Tastenkürzel (keine Tasten)"},
    {button_text::function_out_of_range, "%1 (out of range)", "%1 (außerhalb des Bereichs)"},
    {button_text::function_profile_unused, "Profile %1 (not in use)", "Profil %1 (nicht belegt)"},
    {button_text::key_unknown, "Key 0x%1", "Taste 0x%1"},

    // The stand-in host's own window.
    {host_text::window_title, "KORAL", "KORAL"},
    {host_text::overview_tab, "OVERVIEW", "ÜBERSICHT"},
    {host_text::edition, "EDITION", "EDITION"},
    {host_text::language, "LANGUAGE", "SPRACHE"},
    {host_text::black_edition, "Black edition", "Schwarze Edition"},
    {host_text::white_edition, "White edition", "Weiße Edition"},
    {host_text::module_panel, "MODULE", "MODUL"},
    {host_text::registered_classes, "Registered classes", "Registrierte Klassen"},
    {host_text::class_id, "Class id", "Klassen-Id"},
    {host_text::class_object, "Creates", "Erzeugt"},
    {host_text::white_kernel, "White edition kernel", "Kernel der weißen Edition"},
    {host_text::black_kernel, "Black edition kernel", "Kernel der schwarzen Edition"},
    {host_text::profile_object, "Profile object", "Profilobjekt"},
    {host_text::unknown_class, "Unknown class", "Unbekannte Klasse"},
    {host_text::nothing_registered, "The module has registered nothing.",
     "Das Modul hat nichts registriert."},
    {host_text::catalogue_panel, "CATALOGUE", "KATALOG"},
    {host_text::products, "Products", "Produkte"},
    {host_text::product_type, "Type", "Typ"},
    {host_text::alias, "Alias", "Alias"},
    {host_text::display_name, "Name", "Name"},
    {host_text::product_id, "Product id", "Produkt-Id"},
    {host_text::update_id, "Update id", "Update-Id"},
    {host_text::languages, "Languages", "Sprachen"},
    {host_text::language_id, "Id", "Id"},
    {host_text::language_name, "Name", "Name"},
    {host_text::language_file, "Translation", "Übersetzung"},
    {host_text::module_loaded, "Module loaded · %1 registered", "Modul geladen · %1 registriert"},
    {host_text::module_not_loaded, "Module not loaded: %1", "Modul nicht geladen: %1"},
    {host_text::catalogue_missing, "No catalogue at %1", "Kein Katalog unter %1"},
    {host_text::catalogue_summary, "%1 · %2", "%1 · %2"},
    {host_text::module_file, "Module file", "Moduldatei"},
    {host_text::pages_pending, "The module's own pages follow the Macros tab.",
     "Die Seiten des Moduls folgen auf den Reiter Makros."},
    {host_text::centre_section, "Control centre", "Steuerzentrale"},
    {host_text::centre_language, "Language", "Sprache"},
    {host_text::centre_listeners, "Listeners", "Empfänger"},
    {host_text::centre_profile_slot, "Profile slot", "Profilplatz"},
    {host_text::centre_commands, "Kernel commands", "Kernel-Befehle"},
    {host_text::no_slot, "none", "keiner"},
    {host_text::catalogue_file, "Catalogue: %1", "Katalog: %1"},

    // The device tab: profile slots and the virtual mouse.
    {host_text::device_tab, "DEVICE", "GERÄT"},
    {host_text::profiles_panel, "PROFILES", "PROFILE"},
    {host_text::slots_in_use, "%1 of %2 slots in use", "%1 von %2 Plätzen belegt"},
    {host_text::free_slot, "Free slot", "Freier Platz"},
    {host_text::current_slot, "active", "aktiv"},
    {host_text::add_profile, "Add", "Hinzufügen"},
    {host_text::insert_profile, "Insert", "Einfügen"},
    {host_text::delete_profile, "Delete", "Löschen"},
    {host_text::rename_profile, "Rename", "Umbenennen"},
    {host_text::import_profile, "Import…", "Importieren…"},
    {host_text::export_profile, "Export…", "Exportieren…"},
    {host_text::rename_title, "Rename profile", "Profil umbenennen"},
    {host_text::rename_prompt, "New name for profile %1:", "Neuer Name für Profil %1:"},
    {host_text::import_title, "Import a profile into slot %1", "Profil in Platz %1 importieren"},
    {host_text::export_title, "Export profile %1", "Profil %1 exportieren"},
    {host_text::profile_filter, "Quil profiles (*.qprofile);;All files (*)",
     "Quil-Profile (*.qprofile);;Alle Dateien (*)"},
    {host_text::import_done, "Imported %1 into slot %2.", "%1 in Platz %2 importiert."},
    {host_text::export_done, "Exported profile %1 to %2.", "Profil %1 nach %2 exportiert."},
    {host_text::operation_failed, "That did not work: %1", "Das hat nicht geklappt: %1"},
    {host_text::mouse_panel, "VIRTUAL MOUSE", "VIRTUELLE MAUS"},
    {host_text::mouse_edition, "Edition", "Edition"},
    {host_text::mouse_memory, "Memory", "Speicher"},
    {host_text::memory_factory, "factory state", "Werkszustand"},
    {host_text::memory_bytes, "%1 bytes", "%1 Bytes"},
    {host_text::memory_checksum, "MD5", "MD5"},
    {host_text::memory_note, "Host note", "Host-Notiz"},
    {host_text::memory_file, "Memory file", "Speicherdatei"},
    {host_text::last_command, "Last command", "Letzter Befehl"},
    {host_text::no_command, "none yet", "noch keiner"},
    {host_text::command_reset, "%1 · all data reset", "%1 · alles zurückgesetzt"},
    {host_text::command_changed, "%1 · data changed", "%1 · Daten geändert"},
    {host_text::command_switch_on, "%1 · switch on", "%1 · einschalten"},
    {host_text::command_switch_off, "%1 · switch off", "%1 · ausschalten"},
    {host_text::command_tuning, "%1 · sensor tuning", "%1 · Sensorabstimmung"},
    {host_text::command_other, "%1 · unknown", "%1 · unbekannt"},
    {host_text::commits_published, "Commits published", "Veröffentlichte Übernahmen"},
    {host_text::live_lighting, "Live lighting", "Live-Beleuchtung"},
    {host_text::live_lighting_on, "on · the mouse shows every change at once",
     "an · die Maus zeigt jede Änderung sofort"},
    {host_text::live_lighting_paused, "paused while a colour is being chosen",
     "angehalten, solange eine Farbe gewählt wird"},
    {host_text::profile_tile_tip, "Profile %1: its lighting as the mouse shows it",
     "Profil %1: seine Beleuchtung, wie die Maus sie zeigt"},
    {host_text::no_kernel, "The module offers no kernel for this edition.",
     "Das Modul bietet für diese Edition keinen Kernel an."},

    // The macros tab: the host's macro library.
    {host_text::macros_tab, "MACROS", "MAKROS"},
    {host_text::macro_library_panel, "MACRO LIBRARY", "MAKROBIBLIOTHEK"},
    {host_text::macro_summary, "%1 · %2", "%1 · %2"},
    {host_text::macro_column_name, "Name", "Name"},
    {host_text::macro_column_keys, "Key events", "Tastenereignisse"},
    {host_text::new_group, "New group", "Neue Gruppe"},
    {host_text::new_macro, "New macro", "Neues Makro"},
    {host_text::macro_rename, "Rename", "Umbenennen"},
    {host_text::macro_delete, "Delete", "Löschen"},
    {host_text::group_name_prompt, "Name of the new group:", "Name der neuen Gruppe:"},
    {host_text::macro_name_prompt, "Name of the new macro:", "Name des neuen Makros:"},
    {host_text::macro_keys_prompt, "Keys it types (letters, digits and spaces):",
     "Tasten, die es tippt (Buchstaben, Ziffern und Leerzeichen):"},
    {host_text::entry_name_prompt, "New name:", "Neuer Name:"},
    {host_text::name_taken, "That name is empty or already taken here.",
     "Dieser Name ist leer oder hier schon vergeben."},

    // Outcomes of the device tab's file and profile operations.
    {host_text::no_profile_in_slot, "There is no profile in slot %1.",
     "In Platz %1 gibt es kein Profil."},
    {host_text::file_too_large, "%1 is too large to be a profile.",
     "%1 ist zu groß für ein Profil."},
    {host_text::file_not_a_profile, "%1 holds no profile of this mouse.",
     "%1 enthält kein Profil dieser Maus."},
    {host_text::profile_not_written, "The module could not write profile %1.",
     "Das Modul konnte Profil %1 nicht schreiben."},
    {host_text::file_unreadable, "%1 cannot be read.", "%1 lässt sich nicht lesen."},
    {host_text::file_unwritable, "%1 cannot be written.", "%1 lässt sich nicht schreiben."},

    // Counted texts: the form for one, then the form for every other count.
    {host_text::group_count, "%n group|%n groups", "%n Gruppe|%n Gruppen"},
    {host_text::macro_count, "%n macro|%n macros", "%n Makro|%n Makros"},
    {host_text::class_count, "%n class|%n classes", "%n Klasse|%n Klassen"},
    {host_text::product_count, "%n product|%n products", "%n Produkt|%n Produkte"},
    {host_text::language_count, "%n language|%n languages", "%n Sprache|%n Sprachen"},

    // Questions and notes around a person's profiles.
    {host_text::delete_title, "Delete profile", "Profil löschen"},
    {host_text::delete_question,
     "Delete profile %1 “%2”? Its settings, buttons and macros are lost for good.",
     "Profil %1 „%2“ löschen? Seine Einstellungen, Tasten und Makros gehen endgültig verloren."},
    {host_text::replace_title, "Replace profile", "Profil ersetzen"},
    {host_text::replace_question,
     "All five slots are in use. Replace profile %1 “%2” with the profile in %3?",
     "Alle fünf Plätze sind belegt. Profil %1 „%2“ durch das Profil aus %3 ersetzen?"},
    {host_text::replace_button, "Replace", "Ersetzen"},
    {host_text::import_into_new, "Imported %1 into the free slot %2.",
     "%1 in den freien Platz %2 importiert."},
    {host_text::profile_default_name, "Profile %1", "Profil %1"},
    {host_text::name_label, "Name", "Name"},
    {host_text::name_limit, "%1 of %2 characters", "%1 von %2 Zeichen"},
    {host_text::name_empty, "A name cannot be empty.", "Ein Name darf nicht leer sein."},
    {host_text::name_cut, "The name was cut to %1 characters: “%2”.",
     "Der Name wurde auf %1 Zeichen gekürzt: „%2“."},
    {host_text::renamed, "Profile %1 is now called “%2”.", "Profil %1 heißt jetzt „%2“."},
    {host_text::added, "Added “%1” as profile %2.", "„%1“ als Profil %2 hinzugefügt."},
    {host_text::inserted, "Inserted “%1” as profile %2.", "„%1“ als Profil %2 eingefügt."},
    {host_text::deleted, "Deleted profile “%1”.", "Profil „%1“ gelöscht."},
    {host_text::selected, "Profile %1 “%2” is active.", "Profil %1 „%2“ ist aktiv."},

    // Messages a person makes the virtual mouse send; the code follows the dot.
    {host_text::messages_section, "Messages to the module", "Meldungen an das Modul"},
    {host_text::messages_note,
     "Each button lets the mouse send the module one host message over shared memory, as a "
     "real device would.",
     "Jede Schaltfläche lässt die Maus dem Modul eine Host-Meldung über gemeinsamen Speicher "
     "schicken, wie es ein echtes Gerät täte."},
    {host_text::message_reload, "Report stored profiles · 0", "Gespeicherte Profile melden · 0"},
    {host_text::message_values, "Report device values · 8", "Gerätewerte melden · 8"},
    {host_text::message_dpi_button, "Press the DPI button · 14", "DPI-Taste drücken · 14"},
    {host_text::message_calibration_ok, "Calibration succeeds · 25", "Kalibrierung gelingt · 25"},
    {host_text::message_calibration_failed, "Calibration fails · 25",
     "Kalibrierung misslingt · 25"},
    {host_text::message_sent, "Message %1 sent: %2.", "Meldung %1 gesendet: %2."},
    {host_text::message_dpi_sent, "DPI button: profile %1 now uses step %2 (%3 DPI).",
     "DPI-Taste: Profil %1 nutzt jetzt Stufe %2 (%3 DPI)."},
    {host_text::message_not_sent, "Message %1 was not sent; the log says why.",
     "Meldung %1 wurde nicht gesendet; das Protokoll nennt den Grund."},
    {host_text::memory_aside, "Set aside", "Beiseitegelegt"},
    {host_text::memory_kept_aside,
     "The mouse's memory could not be read, so it was kept as %1 for you to look at; copies "
     "from earlier failures stay beside it, numbered .1 to .4 (the newest first). The mouse "
     "starts again from its factory settings; what you change from now on is saved as usual.",
     "Der Speicher der Maus ließ sich nicht lesen und wurde deshalb als %1 aufbewahrt, damit Sie "
     "ihn ansehen können; Kopien früherer Fehlschläge bleiben daneben erhalten, nummeriert .1 "
     "bis .4 (die neueste zuerst). Die Maus beginnt wieder mit den Werkseinstellungen; was Sie "
     "ab jetzt ändern, wird wie gewohnt gespeichert."},
    {host_text::memory_not_kept_aside,
     "The mouse's memory in %1 could not be read, nor moved aside, so the mouse's next save "
     "writes over it. The mouse starts again from its factory settings.",
     "Der Speicher der Maus in %1 ließ sich weder lesen noch beiseitelegen; beim nächsten "
     "Speichern der Maus wird er überschrieben. Die Maus beginnt wieder mit den "
     "Werkseinstellungen."},
    // A QDateTime format; the time is told in UTC.
    {host_text::memory_note_time, "yyyy-MM-dd HH:mm", "dd.MM.yyyy HH:mm"},
    {host_text::memory_initialised_on, "initialised by koral on %1 UTC",
     "von koral initialisiert am %1 UTC"},
    {host_text::message_memory_unreadable,
     "The mouse's memory holds no readable profile set yet, so message %1 has nothing to "
     "report.",
     "Der Speicher der Maus enthält noch keinen lesbaren Profilsatz, Meldung %1 hat also nichts "
     "zu melden."},

    // The macro key editor.
    {host_text::macro_column_types, "Types", "Tippt"},
    {host_text::edit_keys, "Edit keys…", "Tasten bearbeiten…"},
    {host_text::key_editor_title, "Edit macro", "Makro bearbeiten"},
    {host_text::new_group_title, "New group", "Neue Gruppe"},
    {host_text::untypeable, "A macro cannot type these characters: %1",
     "Diese Zeichen kann ein Makro nicht tippen: %1"},
    {host_text::other_keys,
     "%n further key event cannot be shown as text; new keys replace it.|%n further key events "
     "cannot be shown as text; new keys replace them.",
     "%n weiteres Tastenereignis lässt sich nicht als Text zeigen; neue Tasten ersetzen es.|%n "
     "weitere Tastenereignisse lassen sich nicht als Text zeigen; neue Tasten ersetzen sie."},
    {host_text::keys_saved, "“%1” now types “%2”.", "„%1“ tippt jetzt „%2“."},

    // The command line.
    {host_text::cli_description,
     "Stand-in host for the Quil device module: loads the module and shows what it offers.",
     "Ersatz-Host für das Quil-Gerätemodul: lädt das Modul und zeigt, was es bietet."},
    {host_text::cli_help, "Show this help and exit.", "Diese Hilfe zeigen und beenden."},
    {host_text::cli_version, "Show the version and exit.", "Die Version zeigen und beenden."},
    {host_text::cli_screenshot,
     "Render every tab and dialog off screen to PNG files in <dir> and exit.",
     "Jeden Reiter und Dialog unsichtbar als PNG-Dateien nach <dir> zeichnen und beenden."},
    {host_text::cli_edition, "Edition to show: black or white.",
     "Zu zeigende Edition: black (schwarz) oder white (weiß)."},
    {host_text::cli_language,
     "Language id from the list below (without it: the one last picked in the window).",
     "Sprach-Id aus der Liste unten (ohne: die zuletzt im Fenster gewählte)."},
    {host_text::cli_languages, "Languages:", "Sprachen:"},
    {host_text::cli_data,
     "Where data is kept:\n  virtual mice and macro library  %1\n  koral's settings              "
     "  %2\n  the module's log                %3",
     "Wo Daten liegen:\n  virtuelle Mäuse und Makros  %1\n  Einstellungen von koral     %2\n  "
     "Protokoll des Moduls        %3"},
    {host_text::cli_unexpected, "Unexpected argument: %1", "Unerwartetes Argument: %1"},
    {host_text::cli_unknown_edition, "Unknown edition “%1”: use black or white.",
     "Unbekannte Edition „%1“: black oder white verwenden."},
    {host_text::cli_bad_language, "Language id “%1” is not a number.",
     "Die Sprach-Id „%1“ ist keine Zahl."},
    {host_text::cli_no_language, "The catalogue has no language %1; it offers %2.",
     "Der Katalog hat keine Sprache %1; er bietet %2."},
    {host_text::cli_screenshot_folder, "--screenshot needs a folder.",
     "--screenshot braucht einen Ordner."},
    {host_text::cli_no_display,
     "There is no display to show the window on (DISPLAY is not set). Use --screenshot <dir> "
     "to render the pages to files.",
     "Es gibt keinen Bildschirm für das Fenster (DISPLAY ist nicht gesetzt). Mit --screenshot "
     "<dir> werden die Seiten als Dateien gezeichnet."},
    {host_text::shot_folder_failed, "Cannot create the folder %1.",
     "Der Ordner %1 lässt sich nicht anlegen."},
    {host_text::shot_write_failed, "Cannot write %1.", "%1 lässt sich nicht schreiben."},
    // The host's components: value controls of the main page and the control box.
    {component_text::sensitivity_title, "SENSITIVITY", "EMPFINDLICHKEIT"},
    {component_text::sensitivity_help,
     "Scales how far the pointer travels for each movement of the mouse, on top of the DPI "
     "step in use.",
     "Legt fest, wie weit sich der Zeiger bei jeder Bewegung der Maus bewegt, zusätzlich zur "
     "aktiven DPI-Stufe."},
    {component_text::pointer_title, "POINTER SPEED", "ZEIGERGESCHWINDIGKEIT"},
    {component_text::pointer_help,
     "The system's pointer speed for every mouse. Enhanced precision speeds the pointer up on "
     "fast movements.",
     "Die Zeigergeschwindigkeit des Systems für jede Maus. Die verbesserte Präzision "
     "beschleunigt den Zeiger bei schnellen Bewegungen."},
    {component_text::pointer_precision, "Enhance pointer precision", "Zeigerpräzision verbessern"},
    {component_text::pointer_snap, "Jump to the default button in dialogs",
     "In Dialogen zur Standardschaltfläche springen"},
    {component_text::v_scroll_title, "VERTICAL SCROLL SPEED", "VERTIKALER BILDLAUF"},
    {component_text::v_scroll_help,
     "How many lines one notch of the wheel scrolls, or a whole screen at a time.",
     "Wie viele Zeilen eine Raste des Mausrads scrollt, oder jeweils eine ganze "
     "Bildschirmseite."},
    {component_text::v_scroll_by_page, "Scroll one screen at a time",
     "Jeweils eine Bildschirmseite scrollen"},
    {component_text::h_scroll_title, "HORIZONTAL SCROLL SPEED", "HORIZONTALER BILDLAUF"},
    {component_text::h_scroll_help, "How many characters one sideways tilt of the wheel scrolls.",
     "Wie viele Zeichen ein seitliches Kippen des Mausrads scrollt."},
    {component_text::double_click_title, "DOUBLE-CLICK SPEED", "DOPPELKLICK-GESCHWINDIGKEIT"},
    {component_text::double_click_help,
     "How quickly two clicks must follow each other to count as a double-click. Try it on the "
     "folder.",
     "Wie schnell zwei Klicks aufeinander folgen müssen, um als Doppelklick zu zählen. Probiere "
     "es am Ordner aus."},
    {component_text::double_click_test, "Double-click the folder to try the speed",
     "Doppelklicke auf den Ordner, um die Geschwindigkeit zu testen"},
    {component_text::slow, "SLOW", "LANGSAM"},
    {component_text::fast, "FAST", "SCHNELL"},
    {component_text::low, "LOW", "NIEDRIG"},
    {component_text::high, "HIGH", "HOCH"},
    {component_text::box_help, "Help", "Hilfe"},
    {component_text::box_favorite, "Show on the favorites page", "Auf der Favoritenseite zeigen"},
    {component_text::box_reset, "Reset to default", "Auf Standard zurücksetzen"},
};

struct text_table {
    QHash<int32_t, QString> english;
    QHash<int32_t, QString> german;
    QList<int32_t> ids;

    text_table() {
        for (const text_row& row : k_texts) {
            Q_ASSERT_X(!english.contains(row.id), "host texts", "an id is listed twice");
            english.insert(row.id, QString::fromUtf8(row.english));
            german.insert(row.id, QString::fromUtf8(row.german));
        }
        ids = english.keys();
        std::sort(ids.begin(), ids.end());
    }
};

const text_table& table() {
    static const text_table instance;
    return instance;
}

} // namespace

namespace host_texts {

QList<int32_t> languages() {
    return {english, german};
}

QList<int32_t> ids() {
    return table().ids;
}

QString text(int32_t id, int32_t language) {
    const text_table& t = table();
    return language == german ? t.german.value(id) : t.english.value(id);
}

QString plural(int32_t id, int count, int32_t language) {
    // English and German both keep the singular for exactly one.
    const QStringList forms = text(id, language).split(QLatin1Char('|'));
    const QString& form = count == 1 || forms.size() < 2 ? forms.first() : forms.at(1);
    return QString(form).replace(QLatin1String("%n"), QString::number(count));
}

} // namespace host_texts
