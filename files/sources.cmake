set(FILES_SOURCES
    files/extract.cpp
    files/source.cpp
)
