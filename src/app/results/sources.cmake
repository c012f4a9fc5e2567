# The results window, the element displacement view, the picture composition window and the
# report's printing; part of kradon_shell.
list(APPEND KRADON_SHELL_SOURCES
    ${PROJECT_SOURCE_DIR}/src/app/results/BackgroundJob.cpp
    ${PROJECT_SOURCE_DIR}/src/app/results/ReportPrinting.cpp
    ${PROJECT_SOURCE_DIR}/src/app/results/frmResultDisplay.cpp
    ${PROJECT_SOURCE_DIR}/src/app/results/frmElementDisp.cpp
    ${PROJECT_SOURCE_DIR}/src/app/results/frmPrintPrev.cpp)
