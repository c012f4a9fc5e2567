# Widget tests of the results window, the element displacement view and the picture
# composition window, run on the offscreen platform.
add_executable(kradon_results_window_tests
    ${PROJECT_SOURCE_DIR}/tests/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmResultDisplay_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReportPrinting_test.cpp)
target_link_libraries(kradon_results_window_tests PRIVATE kradon_shell Qt6::Test GTest::gtest)
target_compile_options(kradon_results_window_tests PRIVATE ${KRADON_WARNINGS})
target_compile_definitions(kradon_results_window_tests PRIVATE KRADON_TEST_WIDGETS
    KRADON_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
gtest_discover_tests(kradon_results_window_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
