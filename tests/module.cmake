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
# The module's interface headers are what a host compiles against: each must
# build on its own, included first and twice, with nothing else before it.
# Every interface header is checked, a new one included, so the list is globbed.
file(GLOB interface_headers CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/module/*interfaces.h ${CMAKE_SOURCE_DIR}/module/interface_ids.h)
set(alone_sources "")
foreach(header IN LISTS interface_headers)
    get_filename_component(name ${header} NAME_WE)
    set(alone ${CMAKE_CURRENT_BINARY_DIR}/headers_alone/${name}.cpp)
    file(CONFIGURE OUTPUT ${alone}
         CONTENT "#include \"module/${name}.h\"\n#include \"module/${name}.h\"\n")
    list(APPEND alone_sources ${alone})
endforeach()
add_library(module_headers_alone OBJECT EXCLUDE_FROM_ALL ${alone_sources})
set_target_properties(module_headers_alone PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
target_compile_options(module_headers_alone PRIVATE -Werror)
target_link_libraries(module_headers_alone PRIVATE Qt5::Core Qt5::Gui Qt5::Widgets)
add_test(NAME module_headers_self_contained
         COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target module_headers_alone)

# The host reaches the module through those headers only, and the library
# exports the two entry points only.
add_test(NAME host_includes_only_interface_headers
         COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/module/host_includes.cmake)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    add_test(NAME module_exports_only_entry_points
             COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DLIBRARY=$<TARGET_FILE:quil>
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/module/exports.cmake)
endif()
