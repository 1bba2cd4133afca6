# Test suites of buttons/ (quil_add_test calls).
