#include "kernel/zarek_white_kernel.h"

#include "common/language_listener.h"

zarek_white_kernel_c::zarek_white_kernel_c()
    : zarek_kernel_c(product_type::white) {
    setup_languages(product_type::white);
}
