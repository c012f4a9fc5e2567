list(APPEND KRADON_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CAssociate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FormSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OptionRules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsKeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolbarGeometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TipOfTheDay.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Twips.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UserDetails.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UserDetailsFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UserSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modRUF.cpp
)
