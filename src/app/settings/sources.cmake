# The start-up windows: the user details form, the splash, the tip of the day and the about box,
# and the start-up sequence that shows them. The tips file goes beside the program.
list(APPEND KRADON_SHELL_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Startup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Startup.h
    ${CMAKE_CURRENT_LIST_DIR}/TimerSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimerSource.h
    ${CMAKE_CURRENT_LIST_DIR}/frmAbout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmAbout.h
    ${CMAKE_CURRENT_LIST_DIR}/frmIntro.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmIntro.h
    ${CMAKE_CURRENT_LIST_DIR}/frmSplash.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmSplash.h
    ${CMAKE_CURRENT_LIST_DIR}/frmTip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmTip.h
)

add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/TOTD.INI
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/TOTD.INI ${CMAKE_BINARY_DIR}/TOTD.INI
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/TOTD.INI
    COMMENT "Copying the tips of the day beside the program")
add_custom_target(kradon_tips ALL DEPENDS ${CMAKE_BINARY_DIR}/TOTD.INI)

# The options dialog and the recent files items of the File menu.
list(APPEND KRADON_SHELL_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/RecentFilesMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentFilesMenu.h
    ${CMAKE_CURRENT_LIST_DIR}/frmOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmOptions.h
)
