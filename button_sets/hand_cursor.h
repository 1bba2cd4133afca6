// The open and closed hand of the side-panel editor's drags.
#pragma once

#include <QCursor>
#include <QPixmap>

namespace hand_cursor {
// ":/graphics/common/cursor/open_hand.png" / "closed_hand.png".
QPixmap pixmap(bool closed);
QCursor cursor(bool closed);
} // namespace hand_cursor
