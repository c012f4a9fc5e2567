# Installation in the usual Unix layout, and the Debian package built from it with
# `cpack -G DEB`. The program finds its guide and tips beside itself or, installed, in
# share/kradon; the desktop finds the model file type, the desktop entry and the icon in their
# freedesktop.org places.
set(KRADON_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/kradon)

install(TARGETS kradon kradon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# kradon-cli's drawing module, where kradon-cli looks for it (KRADON_PLUGIN_DESTINATION).
install(TARGETS kradon_cli_painter LIBRARY DESTINATION ${KRADON_PLUGIN_DESTINATION}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${PROJECT_SOURCE_DIR}/docs/Kradon.html DESTINATION ${KRADON_DATA_DESTINATION})

install(FILES ${PROJECT_SOURCE_DIR}/src/app/settings/TOTD.INI DESTINATION ${KRADON_DATA_DESTINATION})

# These two files are what the program itself writes for the user on its first run; a core
# test keeps them equal.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/kradon.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/kradon.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/resources/kradon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual pages and the Debian changelog, compressed as Debian wants them: gzip -9, without
# a name or a time stamp, so the package is the same from build to build.
set(KRADON_GZIPPED)
foreach(source man/kradon.1 man/kradon-cli.1 changelog)
    get_filename_component(name ${source} NAME)
    set(gzipped ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${gzipped}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
        COMMAND gzip -9 -n -c ${CMAKE_CURRENT_LIST_DIR}/${source} > ${gzipped}
        DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${source}
        VERBATIM)
    list(APPEND KRADON_GZIPPED ${gzipped})
endforeach()
add_custom_target(kradon_packaging_files ALL DEPENDS ${KRADON_GZIPPED})
install(FILES ${CMAKE_BINARY_DIR}/packaging/kradon.1.gz ${CMAKE_BINARY_DIR}/packaging/kradon-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kradon)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kradon)
set(CPACK_PACKAGE_VENDOR "Tarel Vestrun")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Finite element analysis of straight beams")
# Lines of at most 80 characters, as Debian's description field wants them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kradon analyses one straight beam by the finite element method: span, point,\n"
    "uniform, trapezoidal and moment loads, pinned, fixed and spring supports,\n"
    "prescribed displacements, and E and I that are constant, linear or an\n"
    "expression in x. It reports reactions, bending moments, shears and\n"
    "deflections, as text and as diagrams.\n"
    ".\n"
    "The package holds the desktop program kradon, the command-line front end\n"
    "kradon-cli, their manual pages and the user guide.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarel Vestrun <tarel.vestrun@example.org>")
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
