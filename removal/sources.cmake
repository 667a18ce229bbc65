set(REMOVAL_SOURCES
    removal/removal.cpp
    removal/registry_tree.cpp
)
