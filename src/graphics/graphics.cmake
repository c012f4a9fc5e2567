# kradon_graphics: the Qt-free drawing routines and the surfaces they draw on.
add_library(kradon_graphics STATIC
    ${CMAKE_CURRENT_LIST_DIR}/DiagramLabels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DrawingSurface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LabelLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoadingDiagram.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PictureHover.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ElementGraph.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EnvelopeDiagram.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordingSurface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetBuilder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetHtml.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SvgPicture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SvgSurface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modGraphics.cpp)
target_link_libraries(kradon_graphics PUBLIC kradon_core)
target_compile_options(kradon_graphics PRIVATE ${KRADON_WARNINGS})
set_target_properties(kradon_graphics PROPERTIES POSITION_INDEPENDENT_CODE ON)
