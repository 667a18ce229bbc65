set(DIALOGS_SOURCES
    dialogs/install_dialog.cpp
    dialogs/group_dialog.cpp
    dialogs/directory_dialog.cpp
    dialogs/browse.cpp
)
