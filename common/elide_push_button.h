// A push button that shortens its text with an ellipsis when it does not fit.
#pragma once

#include "common/elide_button.h"

#include <QPushButton>

using elide_push_button_base =
    elide_button_t<QPushButton, QStyle::SE_PushButtonContents, QStyle::CE_PushButton>;

class elide_push_button_c : public elide_push_button_base {
    Q_OBJECT

public:
    using elide_push_button_base::elide_push_button_base;

protected:
    int text_offset(const QStyleOptionButton& option) const override;
};
