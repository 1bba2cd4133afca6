#include "button_sets/hand_cursor.h"

namespace hand_cursor {

QPixmap pixmap(bool closed) {
    return QPixmap(closed ? QStringLiteral(":/graphics/common/cursor/closed_hand.png")
                          : QStringLiteral(":/graphics/common/cursor/open_hand.png"));
}

QCursor cursor(bool closed) {
    // The hand's palm is the hot spot.
    return QCursor(pixmap(closed));
}

} // namespace hand_cursor
