list(APPEND KRADON_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/modUnits.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modCheck.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modCalcs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modSegments.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modGauss.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AnalyseCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SectionPolynomial.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoadCombinations.cpp
)
