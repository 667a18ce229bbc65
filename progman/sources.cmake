set(PROGMAN_SOURCES
    progman/command_text.cpp
    progman/connection.cpp
    progman/commands.cpp
    progman/group_list.cpp
)
