# kradon_shell: the windows of the desktop program; kradon: the program itself. Each part of the
# shell lists its sources in KRADON_SHELL_SOURCES; the results window and the single-instance
# and help parts come in their own folders.
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

set(KRADON_SHELL_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AnalysisRun.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CaseResults.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CaseResults.h
    ${CMAKE_CURRENT_LIST_DIR}/CommonMenus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CommonMenus.h
    ${CMAKE_CURRENT_LIST_DIR}/DesktopLauncher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DesktopLauncher.h
    ${CMAKE_CURRENT_LIST_DIR}/FileCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilePicker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilePicker.h
    ${CMAKE_CURRENT_LIST_DIR}/Guarded.h
    ${CMAKE_CURRENT_LIST_DIR}/LoadCasesEditor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoadCasesEditor.h
    ${CMAKE_CURRENT_LIST_DIR}/MainStartUp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ModelEditing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ModelFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ModelFiles.h
    ${CMAKE_CURRENT_LIST_DIR}/NumberText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NumberText.h
    ${CMAKE_CURRENT_LIST_DIR}/OwnedWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OwnedWindow.h
    ${CMAKE_CURRENT_LIST_DIR}/RecordDialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordDialogs.h
    ${CMAKE_CURRENT_LIST_DIR}/ResultViews.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResultViews.h
    ${CMAKE_CURRENT_LIST_DIR}/ScopeExit.h
    ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.h
    ${CMAKE_CURRENT_LIST_DIR}/SheetExport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetExport.h
    ${CMAKE_CURRENT_LIST_DIR}/ShellSinks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShellSinks.h
    ${CMAKE_CURRENT_LIST_DIR}/WindowBook.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowBook.h
    ${CMAKE_CURRENT_LIST_DIR}/frmMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMain.h
    ${CMAKE_CURRENT_LIST_DIR}/frmProperties.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmProperties.h
    ${CMAKE_CURRENT_LIST_DIR}/frmHelp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmHelp.h
    ${CMAKE_CURRENT_LIST_DIR}/frmResGraph.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmResGraph.h
    ${CMAKE_CURRENT_LIST_DIR}/frmStatus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmStatus.h
    ${CMAKE_CURRENT_LIST_DIR}/frmToolbar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmToolbar.h
    ${CMAKE_CURRENT_LIST_DIR}/modMDI.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modMDI.h
    ${CMAKE_CURRENT_LIST_DIR}/modToolBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modToolBar.h
    ${CMAKE_CURRENT_LIST_DIR}/resources/kradon.qrc
)
include(${CMAKE_CURRENT_LIST_DIR}/dialogs/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/settings/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/instance/sources.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/association/sources.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/results/sources.cmake OPTIONAL
        RESULT_VARIABLE KRADON_RESULTS_WINDOW_SOURCES)

add_library(kradon_shell STATIC ${KRADON_SHELL_SOURCES})
target_link_libraries(kradon_shell PUBLIC
    kradon_core kradon_model_json kradon_graphics kradon_painter Qt6::Widgets Qt6::PrintSupport Qt6::Network)
target_compile_options(kradon_shell PRIVATE ${KRADON_WARNINGS})
if(KRADON_RESULTS_WINDOW_SOURCES)
    target_compile_definitions(kradon_shell PUBLIC KRADON_HAS_RESULTS_WINDOW)
endif()
# The diagram windows print and save their pictures through the painter layer's picture files.
if(EXISTS ${PROJECT_SOURCE_DIR}/src/graphics/qt/PictureFiles.cpp)
    target_compile_definitions(kradon_shell PUBLIC KRADON_HAS_PICTURE_FILES)
endif()

add_executable(kradon ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(kradon PRIVATE kradon_shell)
target_compile_options(kradon PRIVATE ${KRADON_WARNINGS})
set_target_properties(kradon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(kradon kradon_tips)
# The user guide that Help > Contents opens lives beside the program.
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/Kradon.html)
    add_custom_command(TARGET kradon POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                ${PROJECT_SOURCE_DIR}/docs/Kradon.html $<TARGET_FILE_DIR:kradon>/Kradon.html)
endif()
# The icon the first run registers for model files lies beside the program too.
add_custom_command(TARGET kradon POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${CMAKE_CURRENT_LIST_DIR}/resources/kradon.svg $<TARGET_FILE_DIR:kradon>/kradon.svg)
