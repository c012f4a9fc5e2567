# kradon_instance_tests: the single-copy handover and the help file's place, with their own main.
# The sources are compiled in directly so these tests do not wait on the rest of the shell.
add_executable(kradon_instance_tests
    ${PROJECT_SOURCE_DIR}/tests/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstance_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpFile_test.cpp
    ${PROJECT_SOURCE_DIR}/src/app/instance/SingleInstance.cpp
    ${PROJECT_SOURCE_DIR}/src/app/instance/SingleInstance.h
    ${PROJECT_SOURCE_DIR}/src/app/instance/HelpFile.cpp
    ${PROJECT_SOURCE_DIR}/src/app/instance/HelpFile.h
)
set_target_properties(kradon_instance_tests PROPERTIES AUTOMOC ON)
target_include_directories(kradon_instance_tests PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kradon_instance_tests PRIVATE
    Qt6::Gui Qt6::Network Qt6::Test GTest::gtest)
target_compile_options(kradon_instance_tests PRIVATE ${KRADON_WARNINGS})
gtest_discover_tests(kradon_instance_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
