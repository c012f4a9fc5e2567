# kradon_association_tests: the first run's file type registration for the running program,
# written under a scratch XDG_DATA_HOME. The sources are compiled in directly.
add_executable(kradon_association_tests
    ${PROJECT_SOURCE_DIR}/tests/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileAssociation_test.cpp
    ${PROJECT_SOURCE_DIR}/src/app/association/FileAssociation.cpp
    ${PROJECT_SOURCE_DIR}/src/app/association/FileAssociation.h
    ${PROJECT_SOURCE_DIR}/src/app/instance/HelpFile.cpp
    ${PROJECT_SOURCE_DIR}/src/app/instance/HelpFile.h
)
target_link_libraries(kradon_association_tests PRIVATE kradon_core Qt6::Gui GTest::gtest)
target_compile_options(kradon_association_tests PRIVATE ${KRADON_WARNINGS})
gtest_discover_tests(kradon_association_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
