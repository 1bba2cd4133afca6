# Test suites of pages/ and of the eliding widgets (quil_add_test calls).
quil_add_test(test_page_framework SOURCES pages/test_page_framework.cpp pages/pages_test_support.h)
quil_add_test(test_favorites SOURCES pages/test_favorites.cpp pages/pages_test_support.h)
quil_add_test(test_elide_widgets SOURCES pages/test_elide_widgets.cpp)
# The advanced page with koral's real controls.
quil_add_test(test_advanced_page
    SOURCES pages/test_advanced_page.cpp pages/advanced_rig.h LIBS koral_components)
