# lumtools.exe: the product's own program, carried as payload.
add_executable(lumtools WIN32 resources/lumtools/lumtools.cpp)
target_compile_options(lumtools PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_options(lumtools PRIVATE ${PRODUCT_LINK_OPTIONS})
target_link_libraries(lumtools PRIVATE advapi32 gdi32 user32 kernel32)
set_target_properties(lumtools PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PAYLOAD_DIR})
