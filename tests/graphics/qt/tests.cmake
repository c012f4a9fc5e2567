# Tests of the QPainter surface and the picture files; they draw offscreen.
add_executable(kradon_painter_tests
    ${PROJECT_SOURCE_DIR}/tests/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PainterSurface_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PictureFiles_test.cpp)
target_link_libraries(kradon_painter_tests PRIVATE kradon_painter GTest::gtest)
target_compile_options(kradon_painter_tests PRIVATE ${KRADON_WARNINGS})
target_include_directories(kradon_painter_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/core)
gtest_discover_tests(kradon_painter_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)

# Tests of the parsing of the command-line picture options; the pictures they ask for are written
# in the kradon-cli tests.
add_executable(kradon_picture_option_tests ${PROJECT_SOURCE_DIR}/tests/cli/PictureOption_test.cpp)
target_link_libraries(kradon_picture_option_tests PRIVATE kradon_picture_option Qt6::Core
                                                   GTest::gtest_main)
target_compile_options(kradon_picture_option_tests PRIVATE ${KRADON_WARNINGS})
target_compile_definitions(kradon_picture_option_tests PRIVATE
    KRADON_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
gtest_discover_tests(kradon_picture_option_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)

