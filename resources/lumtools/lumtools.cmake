# lumtools.exe: the product's own program, carried as payload. It needs
# nothing of the C runtime, so it links without its start-up code and enters
# at LumtoolsStart: a few kilobytes instead of about twenty.
add_library(lumtools_resources OBJECT resources/lumtools/lumtools.rc)
target_include_directories(lumtools_resources PRIVATE ${GENERATED_DIR})
set_source_files_properties(resources/lumtools/lumtools.rc PROPERTIES
    OBJECT_DEPENDS ${GENERATED_DIR}/app_main.ico)

add_executable(lumtools WIN32 resources/lumtools/lumtools.cpp)
target_compile_options(lumtools PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_options(lumtools PRIVATE ${PRODUCT_LINK_OPTIONS}
    -nostartfiles -Wl,--entry=_LumtoolsStart@0)
target_link_libraries(lumtools PRIVATE lumtools_resources advapi32 gdi32 user32 kernel32)
set_target_properties(lumtools PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PAYLOAD_DIR})
