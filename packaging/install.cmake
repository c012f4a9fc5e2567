# Installation in the usual Unix layout, and the Debian package built from it with
# `cpack -G DEB`. The program finds its guide and tips beside itself or, installed, in
# share/kradon; the desktop finds the model file type, the desktop entry and the icon in their
# freedesktop.org places.
include(GNUInstallDirs)
set(KRADON_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/kradon)

install(TARGETS kradon kradon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/Kradon.html DESTINATION ${KRADON_DATA_DESTINATION})

# The tip of the day file is optional: whichever of these places holds it is installed.
set(KRADON_TIPS_FILE "" CACHE FILEPATH "A tip of the day file to install besides the usual places")
foreach(tips IN ITEMS TOTD.INI docs/TOTD.INI data/TOTD.INI resources/TOTD.INI src/app/TOTD.INI
                      src/app/resources/TOTD.INI src/settings/TOTD.INI src/settings/ui/TOTD.INI)
    install(FILES ${PROJECT_SOURCE_DIR}/${tips} DESTINATION ${KRADON_DATA_DESTINATION} OPTIONAL)
endforeach()
if(KRADON_TIPS_FILE)
    install(FILES ${KRADON_TIPS_FILE} DESTINATION ${KRADON_DATA_DESTINATION} RENAME TOTD.INI)
endif()

# These two files are what the program itself writes for the user on its first run; a core
# test keeps them equal.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/kradon.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/kradon.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/resources/kradon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kradon)
set(CPACK_PACKAGE_VENDOR "Tarel Vestrun")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Finite element analysis of straight beams")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kradon analyses one straight beam by the finite element method and reports reactions, "
    "bending moments, shears and deflections, as text and as diagrams. The package holds the "
    "desktop program, the command-line front end kradon-cli and the user guide.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarel Vestrun")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The Qt libraries come from the linked libraries; the plugins that draw the window and the SVG
# icons are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_LIST_DIR}/postinst ${CMAKE_CURRENT_LIST_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
