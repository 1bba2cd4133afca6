# Test suites of host/ (quil_add_test calls).

# The module's entry points against a recording host (white box).
quil_add_test(test_module_entry SOURCES host/test_module_entry.cpp)

# The stand-in host's own parts; E2E because it links only the host, and it
# reads the catalogue the build put into bin/.
quil_add_test(test_host SOURCES host/test_host.cpp E2E)

# The built module loaded through the host, and the koral program.
quil_add_test(e2e_host SOURCES host/e2e_host.cpp E2E)
