set(FILES_SOURCES
    files/extract.cpp
)
