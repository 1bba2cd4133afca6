#include "kernel/zarek_black_kernel.h"

#include "common/language_listener.h"

zarek_black_kernel_c::zarek_black_kernel_c()
    : zarek_kernel_c(product_type::black) {
    setup_languages(product_type::black);
}
