# Test suites of host/ (quil_add_test calls).
