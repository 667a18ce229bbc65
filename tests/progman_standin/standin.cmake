# The Program Manager stand-in (a DDE server the tests start beside them) and
# the two programs that test the Program Manager client: progman_test against
# the stand-in (with the group and install dialogs), progman_wine_test
# against Wine's own Program Manager.
add_executable(progman_standin progman_standin/standin.cpp)
target_link_libraries(progman_standin PRIVATE user32 kernel32)
target_link_options(progman_standin PRIVATE ${TEST_LINK_OPTIONS})

foreach(program progman_test progman_wine_test)
    target_sources(${program} PRIVATE progman_standin/standin_control.cpp)
    target_compile_definitions(${program} PRIVATE STANDIN_EXE="$<TARGET_FILE:progman_standin>")
    add_dependencies(${program} progman_standin)
endforeach()
# Wine's Program Manager keeps groups in the Start Menu's Programs folder.
target_link_libraries(progman_wine_test PRIVATE shell32)
