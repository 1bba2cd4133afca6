// The black edition of the Quil mouse (product type 8).
#pragma once

#include "kernel/zarek_kernel.h"

class zarek_black_kernel_c final : public zarek_kernel_c {
public:
    zarek_black_kernel_c();
};
