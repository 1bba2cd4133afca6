# Test suites of the lighting subsystem (quil_add_test calls). The lighting form is
# driven with the stand-in host's real box, slider and colour-flow list.
quil_add_test(test_led_effect SOURCES lighting/test_led_effect.cpp)
quil_add_test(test_lighting SOURCES lighting/test_lighting.cpp LIBS koral_components PICTURES)
# The lighting forms' self-painting fields, masks and colour-flow button.
quil_add_test(test_painted_fields
    SOURCES lighting/test_painted_fields.cpp controls/paint_probe.h PICTURES)
