# Test suites of host/ (quil_add_test calls).

# The module's entry points against a recording host (white box).
quil_add_test(test_module_entry SOURCES host/test_module_entry.cpp)

# The stand-in host's own parts; E2E because it links only the host, and it
# reads the catalogue the build put into bin/.
quil_add_test(test_host SOURCES host/test_host.cpp E2E)

# The built module loaded through the host, and the koral program.
quil_add_test(e2e_host SOURCES host/e2e_host.cpp E2E)

# The host services behind a device (profile service, hub, macro library,
# virtual mouse, device and timer lists) against a recording kernel; E2E only
# because it links the host alone.
quil_add_test(test_device_host SOURCES host/test_device_host.cpp host/fake_kernel.h E2E)

# The built module's kernel driven by the host and its virtual mouse, from
# init_module to a commit the mouse keeps across a restart.
quil_add_test(e2e_kernel SOURCES host/e2e_kernel.cpp E2E)

# The host components (control box, slider, value controls) against fake
# clients; E2E only because it links the host alone.
quil_add_test(test_components SOURCES host/test_components.cpp E2E)

# The module's pages in the host: its main page built from the host's components,
# edited with mouse and keys, committed to the virtual mouse and read back.
quil_add_test(e2e_pages SOURCES host/e2e_pages.cpp E2E)
