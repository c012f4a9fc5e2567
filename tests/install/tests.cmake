# The installed program and the Debian package, checked with the desktop's and dpkg's own tools
# in scratch folders. Both install from this build folder, so they do not run at the same time.
add_test(NAME InstalledModelFileType
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/desktop-integration.sh
                 ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR})
add_test(NAME DebianPackageContents
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/package-contents.sh ${CMAKE_BINARY_DIR})
set_tests_properties(InstalledModelFileType DebianPackageContents PROPERTIES
                     SKIP_RETURN_CODE 77 RESOURCE_LOCK kradon_install TIMEOUT 120)
