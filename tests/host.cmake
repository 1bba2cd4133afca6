# Test suites of host/ (quil_add_test calls).

# The module's entry points against a recording host (white box).
quil_add_test(test_module_entry SOURCES host/test_module_entry.cpp)

# The stand-in host's own parts; E2E because it links only the host, and it
# reads the catalogue the build put into bin/.
quil_add_test(test_host SOURCES host/test_host.cpp E2E)

# The built module loaded through the host, as the koral program does it: entry
# points, kernels fed by the virtual mouse from init_module to a commit it keeps
# across a restart, the main page driven through the host's components, and the
# koral program itself.
quil_add_test(e2e_host SOURCES host/e2e_host.cpp E2E)

# The host services behind a device (profile service, hub, macro library,
# virtual mouse, device and timer lists) against a recording kernel; E2E only
# because it links the host alone.
quil_add_test(test_device_host SOURCES host/test_device_host.cpp host/fake_kernel.h E2E)

# The host components (control box, slider, value controls) against fake
# clients; E2E only because it links the host alone.
quil_add_test(test_components SOURCES host/test_components.cpp host/fake_kernel.h E2E)

# The host's side of button assignment (keys, menus, dialogs, its lists and
# service, the mouse's buttons read from forged memory); E2E only because it
# links the host alone.
quil_add_test(test_button_host SOURCES host/test_button_host.cpp E2E)

# koral closed and started again with a profile other than the first active:
# the main page shows that profile whole, and nothing set is lost.
quil_add_test(e2e_restart SOURCES host/e2e_restart.cpp E2E)

# The advanced page and the favourites through the built module and koral's widgets:
# palette, polling rate and device reset reach the virtual mouse; calibration answered
# by it; lift-off confirmed in koral's message box; starred controls on the favourites tab.
quil_add_test(e2e_advanced SOURCES host/e2e_advanced.cpp E2E)

# koral's advanced-page controls, message box, title component and the device tab's
# lights; E2E only because it links the host alone.
quil_add_test(test_advanced_host SOURCES host/test_advanced_host.cpp E2E)
