list(APPEND KRADON_CORE_TESTS
    ${CMAKE_CURRENT_LIST_DIR}/CAssociate_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FormSettings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OptionRules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsTexts_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolbarGeometry_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TipOfTheDay_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modRUF_test.cpp
)
