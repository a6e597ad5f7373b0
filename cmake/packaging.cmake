# What `cmake --install` puts where; debian/ packages the same files the
# Debian way (scripts/build-deb).
include(GNUInstallDirs)

install(TARGETS speckwipe rimtrace RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/speckwipe.1 ${PROJECT_SOURCE_DIR}/docs/man/rimtrace.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${SAMPLES_DIR}/circles.jpg ${SAMPLES_DIR}/vantrel.jpg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/${PROJECT_NAME}/samples)
