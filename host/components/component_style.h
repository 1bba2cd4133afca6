// The look the host's components share with the koral window: colours, the
// painted icons of the control box and the value controls, and style sheets
// that name their widgets exactly, so nothing leaks into the module's forms.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace component_style {

inline const QColor accent{0x3a, 0xa7, 0xc9};
inline const QColor accent_dark{0x1f, 0x7a, 0x99};
inline const QColor favourite{0xf0, 0xb4, 0x3c};
inline const QColor text_bright{0xec, 0xee, 0xf1};
inline const QColor text_normal{0xae, 0xb3, 0xba};
inline const QColor text_dim{0x7d, 0x82, 0x8a};
inline const QColor text_disabled{0x4a, 0x4e, 0x55};
// The number beside a value slider.
inline const QColor readout{0x5c, 0xc8, 0xea};
inline const QColor groove{0x0d, 0x0e, 0x11};
inline const QColor groove_border{0x2b, 0x2f, 0x36};
inline const QColor surface{0x1a, 0x1c, 0x20};
inline const QColor surface_raised{0x24, 0x27, 0x2d};

// Glyphs painted for the title bar of a box.
enum class glyph_t { sensitivity, pointer, v_scroll, h_scroll, double_click, generic };

// A glyph of `size` logical pixels at the screen's pixel ratio.
QPixmap glyph(glyph_t kind, int size);
QIcon help_icon();
QIcon favourite_icon();
QIcon reset_icon();

QString popover_style_sheet();

} // namespace component_style
