# Checks that run on the build machine itself, not under Wine.
add_test(NAME host_tools COMMAND ctest --test-dir ${HOST_TOOLS_DIR} --output-on-failure)
add_test(NAME build_checks COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/host/build_checks.sh
    ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${HOST_TOOLS_DIR})
set_tests_properties(build_checks PROPERTIES TIMEOUT 900)
