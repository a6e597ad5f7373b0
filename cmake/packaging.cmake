# What `cmake --install` puts where; debian/ packages the same files the
# Debian way (scripts/build-deb).
include(GNUInstallDirs)

install(TARGETS speckwipe rimtrace RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/speckwipe.1 ${PROJECT_SOURCE_DIR}/docs/man/rimtrace.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${SAMPLES_DIR}/circles.jpg ${SAMPLES_DIR}/vantrel.jpg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/${PROJECT_NAME}/samples)

# The desktop's menus: an entry per program, which starts it in a terminal
# in the sample pictures' folder, its icons in the hicolor theme, and
# AppStream metadata for software centres. The entries are written as they
# are installed, so that they name the prefix installed to, as
# `cmake --install --prefix` gives it.
set(PROJECT_HOMEPAGE "https://speckrim.example/")
# The release and its date, from debian/changelog's latest entry: one
# place to write them.
file(STRINGS ${PROJECT_SOURCE_DIR}/debian/changelog RELEASE_LINE REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE ".*, ([0-9]+) ([A-Za-z]+) ([0-9]+) .*" "\\1;\\2;\\3" RELEASE_DAY_MONTH_YEAR "${RELEASE_LINE}")
list(GET RELEASE_DAY_MONTH_YEAR 0 release_day)
list(GET RELEASE_DAY_MONTH_YEAR 1 release_month)
list(GET RELEASE_DAY_MONTH_YEAR 2 release_year)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${release_month} release_month_index)
math(EXPR release_month_number "${release_month_index} + 1")
if(release_month_number LESS 10)
  set(release_month_number 0${release_month_number})
endif()
set(RELEASE_DATE ${release_year}-${release_month_number}-${release_day})
# A menu entry is named for its program, as the program's windows name it
# to the desktop (a Wayland app id, X11's WM_CLASS): that is how the desktop
# shows the entry's name and icon for them.
foreach(program speckwipe rimtrace)
  set(entry example.speckrim.${program})
  install(CODE "
    set(PROGRAM_PATH \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    set(SAMPLES_PATH \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/${PROJECT_NAME}/samples\")
    configure_file(${PROJECT_SOURCE_DIR}/data/${program}.desktop.in ${PROJECT_BINARY_DIR}/data/${program}.desktop @ONLY)")
  install(FILES ${PROJECT_BINARY_DIR}/data/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${PROJECT_SOURCE_DIR}/data/${entry}.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/data/${entry}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/data/${entry}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endforeach()
install(DIRECTORY ${ICONS_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# The toolbar's icons, in a folder of the programs' own: only they offer it
# to Qt (desktop/linux/toolbar_icons.hpp), after the desktop's themes.
install(DIRECTORY ${TOOLBAR_DATA_DIR}/icons DESTINATION ${CMAKE_INSTALL_DATADIR}/${PROJECT_NAME})
