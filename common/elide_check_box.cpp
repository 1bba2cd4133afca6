#include "common/elide_check_box.h"

int elide_check_box_c::text_offset(const QStyleOptionButton& option) const {
    // The style keeps this gap between the indicator and the text inside the contents.
    return style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
}
