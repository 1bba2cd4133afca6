#include "module/factories.h"

#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_profile.h"
#include "kernel/zarek_white_kernel.h"

// Each factory hands the host the object's primary interface; the host
// destroys it with release().
interface_i* create_white_kernel() {
    return static_cast<product_kernel_i*>(new zarek_white_kernel_c);
}

interface_i* create_black_kernel() {
    return static_cast<product_kernel_i*>(new zarek_black_kernel_c);
}

interface_i* create_profile() {
    return static_cast<profile_i*>(new zarek_profile_c);
}
