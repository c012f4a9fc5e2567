# kradon_painter: the drawing surface over a QPainter and the picture files (PNG, SVG, PDF) and
# printing built on it.
add_library(kradon_painter STATIC
    ${CMAKE_CURRENT_LIST_DIR}/NumberGlyphs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PainterSurface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PictureFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetPdf.cpp)
target_link_libraries(kradon_painter PUBLIC kradon_graphics Qt6::Gui Qt6::PrintSupport)
target_compile_options(kradon_painter PRIVATE ${KRADON_WARNINGS})
# Linked into kradon-cli's drawing module too, a shared object.
set_target_properties(kradon_painter PROPERTIES POSITION_INDEPENDENT_CODE ON)
