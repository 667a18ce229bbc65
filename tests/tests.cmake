# One line per test program.
add_wine_test(harness_test harness_test.cpp test_main.cpp)
