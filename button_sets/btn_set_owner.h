// What the side-panel editor, its trash can and the preset strip need from the form that
// holds them (the side button box): the kernel, its profile set, the editor and the box's
// "SELECT ALL" check box. Module-internal; the box form implements it.
#pragma once

class jigsawparent1;
class product_kernel_i;
class zarek_data_c;

class btn_set_owner_i {
public:
    // The product kernel (edition, listeners); null without one.
    virtual product_kernel_i* kernel() const = 0;
    // The kernel's profile set; null without one.
    virtual zarek_data_c* profile_set() const = 0;
    // The layout editor of the box; null until the box has created it.
    virtual jigsawparent1* editor() const = 0;
    // Unticks the box's "SELECT ALL" check box without selecting anything (the trash can's
    // shake does this).
    virtual void clear_select_all() = 0;

protected:
    ~btn_set_owner_i() = default;
};
