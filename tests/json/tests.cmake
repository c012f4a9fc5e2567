add_executable(kradon_json_tests ${CMAKE_CURRENT_LIST_DIR}/ModelJson_test.cpp)
target_link_libraries(kradon_json_tests PRIVATE kradon_model_json GTest::gtest_main)
target_compile_options(kradon_json_tests PRIVATE ${KRADON_WARNINGS})
target_compile_definitions(kradon_json_tests PRIVATE
    KRADON_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
gtest_discover_tests(kradon_json_tests DISCOVERY_TIMEOUT 60 PROPERTIES ${KRADON_LEAK_CHECKED})

# Every example and every JSON model the program writes against the schema, with Debian's
# python3 and python3-jsonschema (tools/install-deps.sh).
add_test(NAME ModelSchemaValidatesEveryExample
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/validate_models.py
                 ${PROJECT_SOURCE_DIR}/docs/kradon-model.schema.json $<TARGET_FILE:kradon-cli>
                 ${PROJECT_SOURCE_DIR}/examples ${CMAKE_BINARY_DIR}/schema-check)
