# Test suites of the lighting subsystem (quil_add_test calls). The lighting form is
# driven with the stand-in host's real box, slider and colour-flow list.
quil_add_test(test_led_effect SOURCES lighting/test_led_effect.cpp)
quil_add_test(test_lighting SOURCES lighting/test_lighting.cpp LIBS koral_components PICTURES)
