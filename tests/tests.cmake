# One line per test program.
add_wine_test(harness_test harness_test.cpp test_main.cpp)
add_wine_test(resources_test resources_test.cpp e2e/setup_process.cpp test_main.cpp)
add_dependencies(resources_test setup)
add_wine_test(directory_dialog_test directory_dialog_test.cpp test_main.cpp)
add_wine_test(source_test source_test.cpp test_main.cpp)
add_wine_test(record_test record_test.cpp test_main.cpp)
add_wine_test(startup_test startup_test.cpp test_main.cpp)
add_wine_test(progman_test progman_test.cpp group_dialog_test.cpp install_dialog_test.cpp test_main.cpp)
add_wine_test(progman_wine_test progman_wine_test.cpp test_main.cpp)
include(progman_standin/standin.cmake)
# The real setup.exe, end to end. The scenario without a Program Manager
# silences Wine's for the rest of the session: it runs as an entry of its own.
add_wine_test(e2e_test e2e_test.cpp e2e/setup_process.cpp e2e/machine.cpp
    progman_standin/standin_control.cpp test_main.cpp)
add_dependencies(e2e_test setup progman_standin)
target_compile_definitions(e2e_test PRIVATE STANDIN_EXE="$<TARGET_FILE:progman_standin>")
set_tests_properties(e2e_test PROPERTIES ENVIRONMENT "GTEST_FILTER=-*WithoutProgramManager*")
add_test(NAME e2e_without_progman_test COMMAND e2e_test --gtest_filter=*WithoutProgramManager*)

# The install-time baseline, and a check that `make bench` still runs.
add_executable(trivial WIN32 bench/trivial.cpp)
target_compile_options(trivial PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_options(trivial PRIVATE ${PRODUCT_LINK_OPTIONS})
add_test(NAME bench_runs COMMAND ${CMAKE_SOURCE_DIR}/tools/bench ${CMAKE_BINARY_DIR} 1)
set_tests_properties(bench_runs PROPERTIES TIMEOUT 900 PASS_REGULAR_EXPRESSION "ratio median")

# Wine's LZ32 expands what our packer writes.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/szdd-fixtures/fixtures.txt
    COMMAND ${HOST_TOOLS_DIR}/szdd fixtures ${CMAKE_BINARY_DIR}/szdd-fixtures
    DEPENDS ${HOST_TOOLS_DIR}/szdd
    COMMENT "Writing SZDD fixtures")
add_custom_target(szdd_fixtures ALL DEPENDS ${CMAKE_BINARY_DIR}/szdd-fixtures/fixtures.txt)
add_wine_test(lz32_peer_test lz32_peer_test.cpp test_main.cpp)
add_dependencies(lz32_peer_test szdd_fixtures)

# The generated help file in Wine's help viewer.
add_wine_test(help_viewer_test help_viewer_test.cpp e2e/setup_process.cpp test_main.cpp)
add_dependencies(help_viewer_test payload)

# make screenshots
add_executable(screenshots screenshots/screenshots.cpp e2e/setup_process.cpp e2e/machine.cpp
    test_files.cpp)
target_link_libraries(screenshots PRIVATE lumsetup setup_resources robot ${SYSTEM_LIBRARIES} shell32 ole32 uuid)
target_link_options(screenshots PRIVATE ${TEST_LINK_OPTIONS})
target_compile_definitions(screenshots PRIVATE SOURCE_DIR="${CMAKE_SOURCE_DIR}" BUILD_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(screenshots setup)
# Removal: against Wine's Program Manager, then the stand-in (its control code,
# its program path), the Start Menu folder from shell32.
add_wine_test(removal_test removal_test.cpp test_main.cpp progman_standin/standin_control.cpp)
target_compile_definitions(removal_test PRIVATE STANDIN_EXE="$<TARGET_FILE:progman_standin>")
add_dependencies(removal_test progman_standin)
target_link_libraries(removal_test PRIVATE shell32)
# File installation: extraction, directory creation, the copy step.
add_wine_test(extract_test extract_test.cpp files_support.cpp test_main.cpp)
add_wine_test(directory_test directory_test.cpp files_support.cpp test_main.cpp)
add_wine_test(copy_test copy_test.cpp files_support.cpp test_main.cpp)
include(files_tests.cmake)
