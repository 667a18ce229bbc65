# The help file "lumtools.hlp", made at build time by the host tool hlpgen
# from its readable source, resources/help/lumtools.help.
set(HELP_FILE ${GENERATED_DIR}/payload/lumtools.hlp)
add_custom_command(OUTPUT ${HELP_FILE}
    COMMAND ${HOST_TOOLS_DIR}/hlpgen ${CMAKE_SOURCE_DIR}/resources/help/lumtools.help ${HELP_FILE}
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/help/lumtools.help ${HOST_TOOLS_DIR}/hlpgen
    COMMENT "Making the help file lumtools.hlp")
