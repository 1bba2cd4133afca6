# Test suites of buttons/ (quil_add_test calls).
quil_add_test(test_macro_store SOURCES buttons/test_macro_store.cpp)
quil_add_test(test_default_presets SOURCES buttons/test_default_presets.cpp)
quil_add_test(test_function_catalogue SOURCES buttons/test_function_catalogue.cpp)
quil_add_test(test_btn_list SOURCES buttons/test_btn_list.cpp LIBS koral_components)
quil_add_test(test_btn_assignment SOURCES buttons/test_btn_assignment.cpp support/fake_host.h
    LIBS koral_components PICTURES)
quil_add_test(test_box_widgets SOURCES buttons/test_box_widgets.cpp PICTURES)
