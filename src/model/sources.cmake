list(APPEND KRADON_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/BeamModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modEqParse.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modFileWrite.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SafeFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OutputPaths.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ModelTables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoadCases.cpp
)
