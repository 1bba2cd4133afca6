# Test suites of the main page and the DPI switcher (quil_add_test calls).
quil_add_test(test_dpi_switcher
    SOURCES controls/test_dpi_switcher.cpp controls/controls_test_support.h)
quil_add_test(test_main_page
    SOURCES controls/test_main_page.cpp controls/controls_test_support.h)
# Surface and lift tuning with koral's real box and message box.
quil_add_test(test_surf_lift
    SOURCES controls/test_surf_lift.cpp pages/advanced_rig.h LIBS koral_components PICTURES)
# The control forms' self-painting check boxes, radio buttons and number boxes.
quil_add_test(test_painted_controls
    SOURCES controls/test_painted_controls.cpp controls/paint_probe.h PICTURES)
