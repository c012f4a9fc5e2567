# The load, support and property definition dialogs of the desktop program.
list(APPEND KRADON_SHELL_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DialogFields.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogFields.h
    ${CMAKE_CURRENT_LIST_DIR}/LoadDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoadDialog.h
    ${CMAKE_CURRENT_LIST_DIR}/RecordDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordDialog.h
    ${CMAKE_CURRENT_LIST_DIR}/frmFdn.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmFdn.h
    ${CMAKE_CURRENT_LIST_DIR}/frmSsn.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmSsn.h
    ${CMAKE_CURRENT_LIST_DIR}/frmSup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmSup.h
    ${CMAKE_CURRENT_LIST_DIR}/frmVariation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmVariation.h
)
