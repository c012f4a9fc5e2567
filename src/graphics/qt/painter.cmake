# kradon_painter: the drawing surface over a QPainter and the picture files (PNG, SVG, PDF) and
# printing built on it.
add_library(kradon_painter STATIC
    ${CMAKE_CURRENT_LIST_DIR}/NumberGlyphs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PainterSurface.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PictureFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetPdf.cpp)
target_link_libraries(kradon_painter PUBLIC kradon_graphics Qt6::Gui Qt6::PrintSupport)
target_compile_options(kradon_painter PRIVATE ${KRADON_WARNINGS})

# kradon_picture_option: the --picture and --size options of kradon-cli and the writing of the
# requested pictures.
add_library(kradon_picture_option STATIC ${PROJECT_SOURCE_DIR}/src/cli/PictureOption.cpp)
target_link_libraries(kradon_picture_option PUBLIC kradon_painter)
target_compile_options(kradon_picture_option PRIVATE ${KRADON_WARNINGS})
