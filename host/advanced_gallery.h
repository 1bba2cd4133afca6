// koral's screenshots of the advanced page beyond its resting look: lights off, the
// open colour palette, the calibration dialog in each of its states (the virtual
// mouse answering) and the lift-off confirmation. Everything is reached the way a
// person reaches it: by clicking the module's widgets by their object names.
#pragma once

#include <QString>

class QWidget;
class virtual_mouse_c;

namespace advanced_gallery {

// `window` shows the advanced page in `page_area`. Writes advanced_lights_off.png,
// advanced_palette.png, calibration_0_idle.png .. calibration_3_succeeded.png and
// lift_confirmation.png into `folder`; what it clicks it puts back. A widget the
// module does not have is skipped with a log line. False with `error` set when a
// file cannot be written.
bool render(QWidget* window, QWidget* page_area, virtual_mouse_c* mouse, const QString& folder,
            QString* error);

} // namespace advanced_gallery
