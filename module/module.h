// Module-wide state that ties the module to its host.
#pragma once

#include "module/interfaces.h"

class language_listener_c;

// The host given to init_module; null before it (and when the host passed null).
module_host_i* module_host();
// The host's control centre, or null.
ctrl_center_i* module_ctrl_center();
// The module's one language listener; null outside init_module .. exit_module.
language_listener_c* module_language_listener();

// What the exported entry points do; tests call them directly.
void quil_init_module(module_host_i* host);
void quil_exit_module();

// The module's product name: the log folder and the preset-macro names use it.
inline constexpr const char* module_product_name = "Quil";
