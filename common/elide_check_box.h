// A check box that shortens its text with an ellipsis when it does not fit.
#pragma once

#include "common/elide_button.h"

#include <QCheckBox>

using elide_check_box_base =
    elide_button_t<QCheckBox, QStyle::SE_CheckBoxContents, QStyle::CE_CheckBox>;

class elide_check_box_c : public elide_check_box_base {
    Q_OBJECT

public:
    using elide_check_box_base::elide_check_box_base;

protected:
    int text_offset(const QStyleOptionButton& option) const override;
};
