# Test suites of common/ (quil_add_test calls).
quil_add_test(test_log SOURCES common/test_log.cpp)
# The module-wide log is destroyed after the application object at exit; any Qt warning
# then (or anywhere in the suite) fails the run.
set_property(TEST test_log APPEND PROPERTY ENVIRONMENT "QT_FATAL_WARNINGS=1")
quil_add_test(test_utilities SOURCES common/test_utilities.cpp)
quil_add_test(test_drop_shadow SOURCES common/test_drop_shadow.cpp)
