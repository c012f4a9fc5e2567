# The options dialog, the recent files items of the File menu and the file type registration.
list(APPEND KRADON_SHELL_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/FileTypeRegistration.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileTypeRegistration.h
    ${CMAKE_CURRENT_LIST_DIR}/RecentFilesMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentFilesMenu.h
    ${CMAKE_CURRENT_LIST_DIR}/frmOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmOptions.h
)
