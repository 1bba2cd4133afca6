# Test suites of module/ (quil_add_test calls).
