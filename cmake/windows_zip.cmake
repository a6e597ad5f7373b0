# What a Windows user downloads: a ZIP (scripts/package-windows makes it
# from what is installed here) of the two programs (static, so they need no
# DLL beside them), the sample pictures, a text on where the pictures go,
# the project's licence, and in licenses/ the notices of every library the
# programs contain, gathered by scripts/build-opencv-windows beside the
# OpenCV it built. Building and running need no notices; passing the
# programs on does, so without them (another OpenCV: vcpkg's, say) the
# programs build, and only the install that makes the ZIP refuses.
get_filename_component(WINDOWS_NOTICES ${OpenCV_DIR}/../../../share/licenses ABSOLUTE)
if(NOT EXISTS ${WINDOWS_NOTICES}/opencv)
  install(CODE "message(FATAL_ERROR \"No notices of the libraries in ${WINDOWS_NOTICES}: the .exe \"
                \"files could not be passed on. Build OpenCV with scripts/build-opencv-windows.\")")
  return()
endif()
install(TARGETS speckwipe rimtrace RUNTIME DESTINATION .)
install(FILES ${SAMPLES_DIR}/circles.jpg ${SAMPLES_DIR}/vantrel.jpg
              ${PROJECT_SOURCE_DIR}/docs/windows/README.txt
        DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(DIRECTORY ${WINDOWS_NOTICES}/ DESTINATION licenses)
