# Test suites of common/ (quil_add_test calls).
