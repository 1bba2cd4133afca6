// The tab button that every page hands to the host: a checkable button drawn with
// one border image per state from "://graphics/page_tab/".
#pragma once

#include <QString>

class QPushButton;

// Image names (without folder and ".png") of a tab button's states.
struct tab_images {
    QString normal;  // normal and unchecked
    QString hover;   // mouse over
    QString checked; // the tab that is shown
};

// The images of a text tab ("tab_normal", "tab_hover", "tab_down").
tab_images text_tab_images();

// The tab button's style sheet: one border image and text colour per state.
QString tab_button_style(const tab_images& images);

// A new checkable button, fixed height 34, with the title and the style of `images`.
// The caller (in the end the host) owns it.
QPushButton* new_tab_button(const QString& title, const tab_images& images);

// Fixed height of every tab button.
inline constexpr int tab_button_height = 34;
// Room left and right of a tab's title.
inline constexpr int tab_button_text_margin = 48;
