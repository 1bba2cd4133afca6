// The two light-zone masks of the lighting form (logo and light pipe): read from
// the resources once per process, tinted pictures kept while they are reused.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPoint>

enum class led_zone { logo, pipe };

// The zone's mask in ARGB32; a null image (logged once) when the resource is missing.
const QImage& led_mask(led_zone zone);

// The mask tinted with `colour` (as tinted() of the utilities does it). Every page
// opening and every effect tick asks for the same few colours, so the latest pictures
// are kept under the zone and the exact RGBA.
QPixmap tinted_led_mask(led_zone zone, const QColor& colour);

// The lit pixel of the zone's mask (alpha 200 or more) closest to `from`; `from`
// itself for an empty mask. Remembered per zone and point: the form asks with the
// same button positions on every opening.
QPoint nearest_lit_pixel(led_zone zone, const QPoint& from);
