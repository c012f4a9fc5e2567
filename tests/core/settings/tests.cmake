list(APPEND KRADON_CORE_TESTS
    ${CMAKE_CURRENT_LIST_DIR}/CAssociate_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Options_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsFiles_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolbarGeometry_test.cpp
)
