# The SZDD packer that the cross build calls as ${HOST_TOOLS_DIR}/szdd, and
# its native tests (round trips, the classic expander's rules, and the
# Debian mscompress/msexpand peers).
set(SZDD_DIR ${CMAKE_CURRENT_LIST_DIR})

add_library(szdd_codec STATIC
    ${SZDD_DIR}/szdd.cpp
    ${SZDD_DIR}/szdd_samples.cpp
    ${SZDD_DIR}/szdd_files.cpp
    ${SZDD_DIR}/szdd_bench.cpp)
target_include_directories(szdd_codec PUBLIC ${SZDD_DIR})

add_executable(szdd ${SZDD_DIR}/main.cpp)
target_link_libraries(szdd PRIVATE szdd_codec)
set_target_properties(szdd PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_executable(szdd_test ${SZDD_DIR}/szdd_test.cpp ${SZDD_DIR}/szdd_peer_test.cpp)
target_link_libraries(szdd_test PRIVATE szdd_codec gtest_main)
target_compile_definitions(szdd_test PRIVATE
    SZDD_TOOL="$<TARGET_FILE:szdd>"
    PAYLOAD_DIR="${SZDD_DIR}/../../resources/payload")
add_dependencies(szdd_test szdd)
add_test(NAME szdd_test COMMAND szdd_test)
set_tests_properties(szdd_test PROPERTIES TIMEOUT 600)
