# kradon_graphics_tests: the drawing routines against a recording surface and the SVG writer.
add_executable(kradon_graphics_tests
    ${CMAKE_CURRENT_LIST_DIR}/modGraphics_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetLayout_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ElementGraph_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SvgSurface_test.cpp)
target_link_libraries(kradon_graphics_tests PRIVATE kradon_graphics kradon_model_json
                                                    GTest::gtest_main)
target_compile_definitions(kradon_graphics_tests PRIVATE
    KRADON_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
target_include_directories(kradon_graphics_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/core)
target_compile_options(kradon_graphics_tests PRIVATE ${KRADON_WARNINGS})
gtest_discover_tests(kradon_graphics_tests DISCOVERY_TIMEOUT 60 PROPERTIES ${KRADON_LEAK_CHECKED})
