<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>quil</name>
    <message>
        <source>Black edition</source>
        <translation>Black edition</translation>
    </message>
    <message>
        <source>White edition</source>
        <translation>White edition</translation>
    </message>
</context>
<context>
    <name>btn_deactivate_fm_c</name>
    <message>
        <source>QUIL DEACTIVATED</source>
        <translation>QUIL DEACTIVATED</translation>
    </message>
    <message>
        <source>PRESS ENTER TO RE-ACTIVATE QUIL</source>
        <translation>PRESS ENTER TO RE-ACTIVATE QUIL</translation>
    </message>
</context>
<context>
    <name>surf_lift_ctrl_funcs_fm_c</name>
    <message>
        <source>SURF OFF</source>
        <translation>SURF OFF</translation>
    </message>
    <message>
        <source>SURF ON</source>
        <translation>SURF ON</translation>
    </message>
    <message>
        <source>LIFT TUNER</source>
        <translation>LIFT TUNER</translation>
    </message>
    <message>
        <source>RECALIBRATE</source>
        <translation>RECALIBRATE</translation>
    </message>
</context>
<context>
    <name>btn_preset_fm_c</name>
    <message>
        <source>BUTTON SET PRESETS</source>
        <translation>BUTTON SET PRESETS</translation>
    </message>
</context>
<context>
    <name>palette_fm_c</name>
    <message>
        <source>CHOOSE A COLOR</source>
        <translation>CHOOSE A COLOR</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>Add this color to your own colors</source>
        <translation>Add this color to your own colors</translation>
    </message>
    <message>
        <source>Remove the marked color from your own colors</source>
        <translation>Remove the marked color from your own colors</translation>
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
        <translation>CANCEL</translation>
    </message>
</context>
<context>
    <name>favorites_fm_c</name>
    <message>
        <source>No favorites yet.</source>
        <translation>No favorites yet.</translation>
    </message>
    <message>
        <source>Click the star in the title bar of any setting on the other pages to show it here.</source>
        <translation>Click the star in the title bar of any setting on the other pages to show it here.</translation>
    </message>
</context>
<context>
    <name>btn_list_fm_c</name>
    <message>
        <source>Disabled</source>
        <translation>Disabled</translation>
    </message>
    <message>
        <source>STANDARD BUTTONS</source>
        <translation>STANDARD BUTTONS</translation>
    </message>
    <message>
        <source>ALTER-KEY[+]</source>
        <translation>ALTER-KEY[+]</translation>
    </message>
    <message>
        <source>Function %1 is not offered by this module; the button keeps it until you choose another.</source>
        <translation>Function %1 is not offered by this module; the button keeps it until you choose another.</translation>
    </message>
</context>
<context>
    <name>top_btn_assignment_box_fm_c</name>
    <message>
        <source>TOP BUTTON ASSIGNMENT</source>
        <translation>TOP BUTTON ASSIGNMENT</translation>
    </message>
    <message>
        <source>Point at a number on the mouse to find its row; click a row to choose a function.</source>
        <translation>Point at a number on the mouse to find its row; click a row to choose a function.</translation>
    </message>
</context>
</TS>
