# The resources of setup.exe: artwork made by a host generator, the product's
# program built by the same toolchain, and the five payload files packed in
# SZDD form by our own packer.

set(PAYLOAD_DIR ${GENERATED_DIR}/payload)
file(MAKE_DIRECTORY ${PAYLOAD_DIR})

# The product's program, "lumtools.exe".
include(resources/lumtools/lumtools.cmake)

# Artwork: LUM_BMP, VELLOGO and the APP_MAIN icon.
set(ARTWORK ${GENERATED_DIR}/lum_bmp.bmp ${GENERATED_DIR}/vellogo.bmp ${GENERATED_DIR}/app_main.ico)
add_custom_command(OUTPUT ${ARTWORK}
    COMMAND ${HOST_TOOLS_DIR}/artgen ${GENERATED_DIR}
    DEPENDS ${HOST_TOOLS_DIR}/artgen
    COMMENT "Drawing the artwork")

# The help file, made by the help generator from resources/help.
include(resources/help/help.cmake)

# Payload sources in table order, and their packed names.
set(PAYLOAD_SOURCES
    ${PAYLOAD_DIR}/lumtools.exe
    ${HELP_FILE}
    ${CMAKE_SOURCE_DIR}/resources/payload/lumtools.cnt
    ${CMAKE_SOURCE_DIR}/resources/payload/lumtools.txt
    ${CMAKE_SOURCE_DIR}/resources/payload/mib.txt)
set(PACKED_PAYLOAD)
foreach(source ${PAYLOAD_SOURCES})
    get_filename_component(name ${source} NAME)
    string(REGEX REPLACE ".$" "_" packed ${name})
    add_custom_command(OUTPUT ${GENERATED_DIR}/${packed}
        COMMAND ${HOST_TOOLS_DIR}/szdd compress ${source} ${GENERATED_DIR}/${packed}
        DEPENDS ${source} ${HOST_TOOLS_DIR}/szdd
        COMMENT "Packing ${name}")
    list(APPEND PACKED_PAYLOAD ${GENERATED_DIR}/${packed})
endforeach()
add_custom_target(payload DEPENDS ${PACKED_PAYLOAD} ${ARTWORK})
add_dependencies(payload lumtools)

add_library(setup_resources OBJECT resources/setup.rc)
target_include_directories(setup_resources PRIVATE ${CMAKE_SOURCE_DIR}/resources ${GENERATED_DIR})
set_source_files_properties(resources/setup.rc PROPERTIES
    OBJECT_DEPENDS "${PACKED_PAYLOAD};${ARTWORK};${CMAKE_SOURCE_DIR}/resources/resource.h")
add_dependencies(setup_resources payload)
