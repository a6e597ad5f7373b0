# Windows resources for each program: its icon (drawn at build time by
# tools/make_icons), an application manifest and version information from
# the project's version, compiled by windres into the .exe.
#   add_windows_resources(TARGET DESCRIPTION)
function(add_windows_resources program description)
  set(PROGRAM ${program})
  set(PROGRAM_DESCRIPTION ${description})
  set(PROGRAM_ICON ${PROJECT_BINARY_DIR}/icons/${program}.ico)
  set(PROGRAM_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${program}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.manifest.in ${PROGRAM_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc @ONLY)
  target_sources(${program} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${program}.rc PROPERTIES
                              OBJECT_DEPENDS "${PROGRAM_ICON};${PROGRAM_MANIFEST}")
  add_dependencies(${program} icons)
endfunction()
