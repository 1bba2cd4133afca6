// Cheap comparison of two profile sets, field by field, so that a harness keeps one set per
// process and checks the readers' promises without serialising the whole set on every run.
#pragma once

#include "kernel/zarek_data.h"

#include <QImage>

inline bool fuzz_same_picture(const QPixmap& a, const QPixmap& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    // A picture that went through a blob may come back in another pixel format.
    return a.toImage().convertToFormat(QImage::Format_ARGB32) ==
           b.toImage().convertToFormat(QImage::Format_ARGB32);
}

inline bool fuzz_same_slot(const profile_slot& a, const profile_slot& b) {
    return a.name == b.name && a.extra == b.extra && a.assign == b.assign && a.params == b.params &&
           a.texts == b.texts && a.data == b.data && a.macros == b.macros &&
           a.settings == b.settings && a.layout == b.layout && a.aux == b.aux &&
           a.paths == b.paths && fuzz_same_picture(a.picture, b.picture);
}

inline bool fuzz_same_set(const zarek_data_c& a, const zarek_data_c& b) {
    if (!(a.device() == b.device()) || a.favourites() != b.favourites() ||
        a.saved_layouts() != b.saved_layouts())
        return false;
    for (int s = 0; s < max_profile_slots; ++s) {
        if (!fuzz_same_slot(a.slot(s), b.slot(s)))
            return false;
    }
    return true;
}
