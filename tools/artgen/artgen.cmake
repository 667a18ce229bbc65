# artgen: draws the setup program's bitmaps and icon at build time. The cross
# build runs it as ${HOST_TOOLS_DIR}/artgen, so it lands at the top of the
# host build directory.
set(ARTGEN_DIR ${CMAKE_CURRENT_LIST_DIR})

add_library(artgen_core STATIC
    ${ARTGEN_DIR}/canvas.cpp
    ${ARTGEN_DIR}/fonts.cpp
    ${ARTGEN_DIR}/imagefile.cpp
    ${ARTGEN_DIR}/palettes.cpp
    ${ARTGEN_DIR}/product_picture.cpp
    ${ARTGEN_DIR}/maker_logo.cpp
    ${ARTGEN_DIR}/app_icon.cpp)
target_include_directories(artgen_core PUBLIC ${ARTGEN_DIR})

add_executable(artgen ${ARTGEN_DIR}/artgen.cpp)
target_link_libraries(artgen PRIVATE artgen_core)
set_target_properties(artgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_executable(artgen_test ${ARTGEN_DIR}/artgen_test.cpp)
target_link_libraries(artgen_test PRIVATE artgen_core gtest_main)
target_compile_definitions(artgen_test PRIVATE ARTGEN_PATH="$<TARGET_FILE:artgen>")
add_dependencies(artgen_test artgen)
add_test(NAME artgen_test COMMAND artgen_test)
