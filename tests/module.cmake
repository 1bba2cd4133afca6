# Test suites of module/ (quil_add_test calls).

# The installation layout and the product catalogue; the last case reads the
# catalogue the build compressed into bin/.
quil_add_test(test_catalogue SOURCES module/test_catalogue.cpp)
target_compile_definitions(test_catalogue PRIVATE QUIL_BIN_DIR="${QUIL_BIN_DIR}")
add_dependencies(test_catalogue koral_catalogue)

# Language switching; it also checks the translations the build placed in bin/.
quil_add_test(test_language SOURCES module/test_language.cpp)
target_compile_definitions(test_language PRIVATE QUIL_BIN_DIR="${QUIL_BIN_DIR}")
add_dependencies(test_language quil_translations)

# The catalogue compressor refuses a source the module could only half read,
# naming the file and position, instead of shipping it.
add_test(NAME compress_catalogue_refuses_broken_xml
    COMMAND compress_catalogue ${CMAKE_CURRENT_SOURCE_DIR}/module/broken_catalogue.xml
            ${CMAKE_CURRENT_BINARY_DIR}/broken_settings.xml)
set_tests_properties(compress_catalogue_refuses_broken_xml PROPERTIES
    PASS_REGULAR_EXPRESSION "broken_catalogue.xml:3:[0-9]+: ")
quil_add_test(test_abi SOURCES module/test_abi.cpp)

# The pictures file that init_module registers and exit_module withdraws; the
# suite installs the built one (or a broken one) into a host folder of its own.
quil_add_test(test_module_pictures SOURCES module/test_module_pictures.cpp support/fake_host.h)
target_compile_definitions(test_module_pictures PRIVATE QUIL_GRAPHICS_RCC="${QUIL_GRAPHICS_RCC}")
add_dependencies(test_module_pictures quil_graphics)
