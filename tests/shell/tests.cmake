# kradon_shell_tests: the desktop program's windows driven by object name, drawn off screen.
set(KRADON_SHELL_TESTS
    ${PROJECT_SOURCE_DIR}/tests/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShellTestSupport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShellTestSupport.h
    ${CMAKE_CURRENT_LIST_DIR}/frmMain_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmProperties_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmToolbar_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modMDI_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogTestSupport.h
    ${CMAKE_CURRENT_LIST_DIR}/dialogs_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instance_handover_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ManualTimerSource.h
    ${CMAKE_CURRENT_LIST_DIR}/startup_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/options_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResultViews_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/loadcases_test.cpp
)
add_executable(kradon_shell_tests ${KRADON_SHELL_TESTS})
target_link_libraries(kradon_shell_tests PRIVATE kradon_shell Qt6::Test GTest::gtest)
target_include_directories(kradon_shell_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests
                                                      ${CMAKE_CURRENT_LIST_DIR})
target_compile_options(kradon_shell_tests PRIVATE ${KRADON_WARNINGS})
target_compile_definitions(kradon_shell_tests PRIVATE KRADON_TEST_WIDGETS
    KRADON_EXAMPLES="${PROJECT_SOURCE_DIR}/examples" KRADON_PROGRAM="$<TARGET_FILE:kradon>")
add_dependencies(kradon_shell_tests kradon)
# A first run registers the model file type under XDG_DATA_HOME: keep it in the build folder.
gtest_discover_tests(kradon_shell_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen
               ENVIRONMENT_MODIFICATION XDG_DATA_HOME=set:${CMAKE_BINARY_DIR}/xdg-data)

include(${CMAKE_CURRENT_LIST_DIR}/instance/tests.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/association/tests.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/results/tests.cmake OPTIONAL)
