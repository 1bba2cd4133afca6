#include "common/elide_push_button.h"

int elide_push_button_c::text_offset(const QStyleOptionButton& option) const {
    // The style keeps a margin before the text, and the icon (with its gap) stands before it.
    int offset = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
    if (!option.icon.isNull())
        offset += option.iconSize.width() + 4;
    return offset;
}
