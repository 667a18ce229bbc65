set(FILES_SOURCES
    files/extract.cpp
    files/source.cpp
    files/directory.cpp
    files/copy.cpp
    files/progress.cpp
    files/lz32.cpp
)
