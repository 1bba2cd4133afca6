// The factories that init_module registers with the host.
#pragma once

class interface_i;

interface_i* create_white_kernel();
interface_i* create_black_kernel();
interface_i* create_profile();
