# What a Windows user downloads: a ZIP of the two programs (static, so they
# need no DLL beside them), the sample pictures, and a text on where the
# pictures go. `cpack` in the Windows build folder makes it.
install(TARGETS speckwipe rimtrace RUNTIME DESTINATION .)
install(FILES ${SAMPLES_DIR}/circles.jpg ${SAMPLES_DIR}/vantrel.jpg
              ${PROJECT_SOURCE_DIR}/docs/windows/README.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME windows-x86_64)
set(CPACK_STRIP_FILES ON)
include(CPack)
