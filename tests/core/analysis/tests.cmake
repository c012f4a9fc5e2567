list(APPEND KRADON_CORE_TESTS
    ${CMAKE_CURRENT_LIST_DIR}/modCalcs_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExactSolution_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExactSections_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AnalyseCommand_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoadCombinations_test.cpp
)
