# What the file-installation tests need beyond add_wine_test: a resource
# module without one payload entry, the payload sources to compare installed
# bytes with, and setup.exe itself for the look at its import table.
add_library(partial_payload MODULE partial_payload.rc)
set_target_properties(partial_payload PROPERTIES LINKER_LANGUAGE C PREFIX "")
target_include_directories(partial_payload PRIVATE ${GENERATED_DIR})
target_link_options(partial_payload PRIVATE -nostdlib -Wl,-e,0)
set_source_files_properties(partial_payload.rc PROPERTIES OBJECT_DEPENDS "${PACKED_PAYLOAD}")
add_dependencies(partial_payload payload)

string(REPLACE ";" "|" PAYLOAD_SOURCE_LIST "${PAYLOAD_SOURCES}")
foreach(test extract_test directory_test copy_test)
    target_compile_definitions(${test} PRIVATE PAYLOAD_SOURCE_LIST="${PAYLOAD_SOURCE_LIST}")
endforeach()
target_compile_definitions(extract_test PRIVATE PARTIAL_PAYLOAD_MODULE="$<TARGET_FILE:partial_payload>")
add_dependencies(extract_test partial_payload)
target_compile_definitions(copy_test PRIVATE SETUP_EXE="$<TARGET_FILE:setup>")
add_dependencies(copy_test setup)
