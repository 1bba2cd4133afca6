#include "host/texts.h"

#include "host/components/component_texts.h"

#include <QHash>

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
    {host_text::module_loaded, "Module loaded · %1 classes registered",
     "Modul geladen · %1 Klassen registriert"},
    {host_text::module_not_loaded, "Module not loaded: %1", "Modul nicht geladen: %1"},
    {host_text::catalogue_missing, "No catalogue at %1", "Kein Katalog unter %1"},
    {host_text::catalogue_summary, "%1 products · %2 languages", "%1 Produkte · %2 Sprachen"},
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
    {host_text::macro_summary, "%1 groups · %2 macros", "%1 Gruppen · %2 Makros"},
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

} // namespace host_texts
