add_executable(kradon_cli_tests ${CMAKE_CURRENT_LIST_DIR}/CliCommands_test.cpp
                                ${CMAKE_CURRENT_LIST_DIR}/CaseCommands_test.cpp
                                ${CMAKE_CURRENT_LIST_DIR}/ExportCommands_test.cpp)
target_link_libraries(kradon_cli_tests PRIVATE kradon_cli_commands nlohmann_json::nlohmann_json
                                               Qt6::Core GTest::gtest_main)
target_compile_options(kradon_cli_tests PRIVATE ${KRADON_WARNINGS})
target_compile_definitions(kradon_cli_tests PRIVATE
    KRADON_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    KRADON_EXAMPLES="${PROJECT_SOURCE_DIR}/examples" KRADON_CLI="$<TARGET_FILE:kradon-cli>")
add_dependencies(kradon_cli_tests kradon-cli)
gtest_discover_tests(kradon_cli_tests DISCOVERY_TIMEOUT 60)

add_test(NAME ExamplesAreReproducible
         COMMAND ${CMAKE_COMMAND} -DGEN=$<TARGET_FILE:make-examples>
                 -DSRC=${PROJECT_SOURCE_DIR}/examples -DOUT=${CMAKE_BINARY_DIR}/examples-check
                 -P ${CMAKE_CURRENT_LIST_DIR}/check_examples.cmake)

add_test(NAME CliDrawingModule
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/drawing-module.sh $<TARGET_FILE:kradon-cli>
                 ${PROJECT_SOURCE_DIR}/examples/cantilever.kdn)
