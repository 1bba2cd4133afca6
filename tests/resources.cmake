# Test suites of resources/ (quil_add_test calls).
quil_add_test(test_resources SOURCES resources/test_resources.cpp LIBS quil_paint_graphics PICTURES)
target_compile_definitions(test_resources PRIVATE
    QUIL_GRAPHICS_MANIFEST="${CMAKE_SOURCE_DIR}/resources/graphics/manifest.txt")
