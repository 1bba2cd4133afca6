# Test suites of kernel/ (quil_add_test calls).
quil_add_test(test_profile_data SOURCES kernel/test_profile_data.cpp kernel/kernel_test_support.h)
quil_add_test(test_profile_format SOURCES kernel/test_profile_format.cpp kernel/kernel_test_support.h
              support/fake_host.h)
quil_add_test(test_kernel SOURCES kernel/test_kernel.cpp)
