# Test suites of kernel/ (quil_add_test calls).
