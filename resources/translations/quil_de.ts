<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>quil</name>
    <message>
        <source>Black edition</source>
        <translation>Schwarze Edition</translation>
    </message>
    <message>
        <source>White edition</source>
        <translation>Weiße Edition</translation>
    </message>
</context>
<context>
    <name>btn_deactivate_fm_c</name>
    <message>
        <source>QUIL DEACTIVATED</source>
        <translation>QUIL DEAKTIVIERT</translation>
    </message>
    <message>
        <source>PRESS ENTER TO RE-ACTIVATE QUIL</source>
        <translation>ENTER DRÜCKEN, UM QUIL WIEDER ZU AKTIVIEREN</translation>
    </message>
</context>
<context>
    <name>surf_lift_ctrl_funcs_fm_c</name>
    <message>
        <source>SURF OFF</source>
        <translation>OBERFLÄCHE AUS</translation>
    </message>
    <message>
        <source>SURF ON</source>
        <translation>OBERFLÄCHE EIN</translation>
    </message>
    <message>
        <source>LIFT TUNER</source>
        <translation>ABHEBEHÖHE</translation>
    </message>
    <message>
        <source>RECALIBRATE</source>
        <translation>NEU KALIBRIEREN</translation>
    </message>
</context>
<context>
    <name>btn_preset_fm_c</name>
    <message>
        <source>BUTTON SET PRESETS</source>
        <translation>TASTENSATZ-VORLAGEN</translation>
    </message>
</context>
<context>
    <name>palette_fm_c</name>
    <message>
        <source>CHOOSE A COLOR</source>
        <translation>FARBE WÄHLEN</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
    <message>
        <source>Add this color to your own colors</source>
        <translation>Diese Farbe zu deinen eigenen Farben hinzufügen</translation>
    </message>
    <message>
        <source>Remove the marked color from your own colors</source>
        <translation>Die markierte Farbe aus deinen eigenen Farben entfernen</translation>
    </message>
</context>
<context>
    <name>del_btn_preset_fm_c</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
</context>
<context>
    <name>favorites_fm_c</name>
    <message>
        <source>No favorites yet.</source>
        <translation>Noch keine Favoriten.</translation>
    </message>
    <message>
        <source>Click the star in the title bar of any setting on the other pages to show it here.</source>
        <translation>Klicke auf den Stern in der Titelleiste einer Einstellung auf den anderen Seiten, um sie hier zu zeigen.</translation>
    </message>
</context>
<context>
    <name>btn_list_fm_c</name>
    <message>
        <source>Disabled</source>
        <translation>Deaktiviert</translation>
    </message>
    <message>
        <source>STANDARD BUTTONS</source>
        <translation>STANDARDTASTEN</translation>
    </message>
    <message>
        <source>ALTER-KEY[+]</source>
        <translation>ALTER-KEY[+]</translation>
    </message>
    <message>
        <source>Function %1 is not offered by this module; the button keeps it until you choose another.</source>
        <translation>Funktion %1 wird von diesem Modul nicht angeboten; die Taste behält sie, bis Sie eine andere wählen.</translation>
    </message>
</context>
<context>
    <name>top_btn_assignment_box_fm_c</name>
    <message>
        <source>TOP BUTTON ASSIGNMENT</source>
        <translation>BELEGUNG DER OBEREN TASTEN</translation>
    </message>
    <message>
        <source>Point at a number on the mouse to find its row; click a row to choose a function.</source>
        <translation>Zeige auf eine Zahl auf der Maus, um ihre Zeile zu finden; klicke auf eine Zeile, um eine Funktion zu wählen.</translation>
    </message>
</context>
</TS>
