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

# The button assignment page through koral: a hotkey typed into the host's dialog and a
# macro from its library reach the virtual mouse and survive a restart; under an X server
# (xvfb-run) a palette block dragged with the mouse fits a side button the mouse keeps.
quil_add_test(e2e_buttons SOURCES host/e2e_buttons.cpp E2E)
# The module reads the catalogue beside the program that loads it: the macro kinds it
# offers for the device come from there. The suite gets a folder of its own, so the
# catalogue does not change what the other suites' module sees.
set_target_properties(e2e_buttons PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                      ${CMAKE_BINARY_DIR}/tests/with_catalogue)
add_dependencies(e2e_buttons koral_catalogue)
add_custom_command(TARGET e2e_buttons POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUIL_BIN_DIR}/settings.xml
            $<TARGET_FILE_DIR:e2e_buttons>/settings.xml
    VERBATIM)
if(EXISTS /usr/bin/xvfb-run)
    add_test(NAME e2e_buttons_x11
             COMMAND xvfb-run -a -s "-screen 0 1600x1200x24" $<TARGET_FILE:e2e_buttons>
                     a_palette_block_dragged_onto_the_panel_fits_a_button)
    # Under an X server Qt loads and unloads plug-ins whose allocations outlive them, so a
    # sanitizer build cannot tell whose they are: leaks are checked by the off-screen run of
    # the same suite (e2e_buttons); this run checks the drag itself.
    set_tests_properties(e2e_buttons_x11 PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=xcb;ASAN_OPTIONS=halt_on_error=1:detect_leaks=0"
        TIMEOUT 300)
    # It runs beside the off-screen run of the same suite, with the same keys.
    quil_own_temp_dir(e2e_buttons_x11)
endif()

# koral's advanced-page controls, message box, title component and the device tab's
# lights; E2E only because it links the host alone.
quil_add_test(test_advanced_host SOURCES host/test_advanced_host.cpp E2E)
