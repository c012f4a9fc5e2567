list(APPEND KRADON_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/modResults.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResultsFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EnvelopeReport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResultQueries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResultsCsv.cpp
)
