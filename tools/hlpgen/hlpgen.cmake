# hlpgen: makes the product's WinHelp 3.1 help file (lumtools.hlp) from
# resources/help/lumtools.help at build time. The cross build runs it as
# ${HOST_TOOLS_DIR}/hlpgen, so it lands at the top of the host build directory.
set(HLPGEN_DIR ${CMAKE_CURRENT_LIST_DIR})

add_library(hlpgen_core STATIC
    ${HLPGEN_DIR}/bytes.cpp
    ${HLPGEN_DIR}/context_hash.cpp
    ${HLPGEN_DIR}/lz77.cpp
    ${HLPGEN_DIR}/btree.cpp
    ${HLPGEN_DIR}/source.cpp
    ${HLPGEN_DIR}/check.cpp
    ${HLPGEN_DIR}/records.cpp
    ${HLPGEN_DIR}/topic.cpp
    ${HLPGEN_DIR}/keywords.cpp
    ${HLPGEN_DIR}/helpfile.cpp)
target_include_directories(hlpgen_core PUBLIC ${HLPGEN_DIR})

add_executable(hlpgen ${HLPGEN_DIR}/main.cpp)
target_link_libraries(hlpgen PRIVATE hlpgen_core)
set_target_properties(hlpgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_executable(hlpgen_test ${HLPGEN_DIR}/hlpgen_test.cpp ${HLPGEN_DIR}/hlpreader.cpp)
target_link_libraries(hlpgen_test PRIVATE hlpgen_core gtest_main)
target_compile_definitions(hlpgen_test PRIVATE
    HLPGEN_PATH="$<TARGET_FILE:hlpgen>"
    HELP_SOURCE_PATH="${HLPGEN_DIR}/../../resources/help/lumtools.help"
    CONTENTS_FILE_PATH="${HLPGEN_DIR}/../../resources/payload/lumtools.cnt")
add_dependencies(hlpgen_test hlpgen)
add_test(NAME hlpgen_test COMMAND hlpgen_test)
