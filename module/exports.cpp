// The module's only exported symbols.
#include "module/module.h"

#if defined(_WIN32)
#define QUIL_EXPORT __declspec(dllexport)
#else
#define QUIL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
QUIL_EXPORT void init_module(module_host_i* host) {
    quil_init_module(host);
}
QUIL_EXPORT void exit_module() {
    quil_exit_module();
}
}
