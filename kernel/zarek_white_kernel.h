// The white edition of the Quil mouse (product type 9).
#pragma once

#include "kernel/zarek_kernel.h"

class zarek_white_kernel_c final : public zarek_kernel_c {
public:
    zarek_white_kernel_c();
};
