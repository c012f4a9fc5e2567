list(APPEND KRADON_SHELL_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/FileAssociation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileAssociation.h
)
