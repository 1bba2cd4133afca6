// Pictures of the host's button-assignment components for koral's
// screenshots: the catalogue's menu with a submenu open, each dialog and the
// reset confirmation, filled as a person would see them, in the current language.
#pragma once

#include <QString>

class QWidget;
class component_context_c;
class macro_library_c;
class timer_list_c;

namespace component_gallery {

// Writes menu_catalogue.png, dialog_*.png and popup_*.png into `folder`; the
// dialogs belong to `window`, as they do when the module opens them there.
// False with `error` set when a file cannot be written.
bool render(component_context_c* context, macro_library_c* library, timer_list_c* timers,
            QWidget* window, const QString& folder, QString* error);

} // namespace component_gallery
