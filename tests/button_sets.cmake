# Test suites of button_sets/ (quil_add_test calls).
quil_add_test(test_layout_editor
    SOURCES button_sets/test_layout_editor.cpp button_sets/side_box_rig.h support/fake_host.h
    PICTURES)

quil_add_test(test_button_set_presets
    SOURCES button_sets/test_button_set_presets.cpp button_sets/side_box_rig.h support/fake_host.h
    PICTURES)

# Not a test: renders the editor, the presets and the guide to PNG files for review.
add_executable(side_panel_shots button_sets/side_panel_shots.cpp button_sets/side_box_rig.h)
target_link_libraries(side_panel_shots PRIVATE quil_core)
quil_use_pictures(side_panel_shots)
target_include_directories(side_panel_shots PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
                           ${CMAKE_BINARY_DIR}/quil_core_autogen/include)
set_target_properties(side_panel_shots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
