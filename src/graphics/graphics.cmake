# kradon_graphics: the Qt-free drawing routines and the surfaces they draw on.
add_library(kradon_graphics STATIC
    ${CMAKE_CURRENT_LIST_DIR}/DrawingSurface.cpp)
target_link_libraries(kradon_graphics PUBLIC kradon_core)
target_compile_options(kradon_graphics PRIVATE ${KRADON_WARNINGS})
