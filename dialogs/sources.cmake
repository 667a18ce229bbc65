set(DIALOGS_SOURCES
    dialogs/directory_dialog.cpp
    dialogs/browse.cpp
)
