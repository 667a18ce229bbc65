# One line per test program.
add_wine_test(harness_test harness_test.cpp test_main.cpp)
add_wine_test(directory_dialog_test directory_dialog_test.cpp test_main.cpp)
add_wine_test(source_test source_test.cpp test_main.cpp)
add_wine_test(record_test record_test.cpp test_main.cpp)
add_wine_test(progman_test progman_test.cpp group_dialog_test.cpp install_dialog_test.cpp test_main.cpp)
add_wine_test(progman_wine_test progman_wine_test.cpp test_main.cpp)
include(progman_standin/standin.cmake)
# File installation: extraction, directory creation, the copy step.
add_wine_test(extract_test extract_test.cpp files_support.cpp test_main.cpp)
add_wine_test(directory_test directory_test.cpp files_support.cpp test_main.cpp)
add_wine_test(copy_test copy_test.cpp files_support.cpp test_main.cpp)
include(files_tests.cmake)
