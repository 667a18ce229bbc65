set(SETUP_SOURCES
    setup/product.cpp
    setup/messages.cpp
    setup/startup.cpp
    setup/sequence.cpp
    setup/record.cpp
)
