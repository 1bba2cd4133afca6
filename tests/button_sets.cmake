# Test suites of button_sets/ (quil_add_test calls).
quil_add_test(test_layout_editor
    SOURCES button_sets/test_layout_editor.cpp button_sets/side_box_rig.h support/fake_host.h)
