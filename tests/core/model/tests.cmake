list(APPEND KRADON_CORE_TESTS
    ${CMAKE_CURRENT_LIST_DIR}/BeamModel_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modText_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modEqParse_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modFileWrite_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoadCases_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SafeFile_test.cpp
)
