# What `cmake --install` puts where, and the Debian package CPack makes of it.
include(GNUInstallDirs)

install(TARGETS speckwipe rimtrace RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/speckwipe.1 ${PROJECT_SOURCE_DIR}/docs/man/rimtrace.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${SAMPLES_DIR}/circles.jpg ${SAMPLES_DIR}/vantrel.jpg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/${PROJECT_NAME}/samples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "speckle removal and live edge viewer for grey pictures")
set(CPACK_PACKAGE_DESCRIPTION
    "speckwipe removes speckle noise from a picture with a 3x3 median filter and\n\
shows it before and after; rimtrace shows a live black-and-white edge map of a\n\
picture with a threshold slider. Both read a fixed picture from the current\n\
directory.")
set(CPACK_PACKAGE_CONTACT "speckrim developers <speckrim@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Depends comes from dpkg-shlibdeps reading the binaries' linked libraries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its Wayland plugin at run time, so no library names it: without
# it the programs still run on X, and on Wayland alone they refuse.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qtwayland5)
include(CPack)
