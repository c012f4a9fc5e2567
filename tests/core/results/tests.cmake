list(APPEND KRADON_CORE_TESTS
    ${CMAKE_CURRENT_LIST_DIR}/modResults_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResultsFile_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResultQueries_test.cpp
)
