// Pictures of the module's button assignment page in use, for koral's screenshots: the row
// menu with a submenu open, a mixed side panel, the set-up guide's five steps, the preset
// strip's delete pop-up and the deactivation overlay. koral drives the page as a person
// would, through its widgets (found by their object names), never through the module.
#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

namespace button_page_shots {

// `tab` is the page's tab button, `window` koral's window. Writes buttons_*.png into
// `folder`; false with `error` set when a file cannot be written. A page without the
// expected widgets gives fewer pictures, not an error.
bool render(QWidget* window, QAbstractButton* tab, const QString& folder, QString* error);

} // namespace button_page_shots
