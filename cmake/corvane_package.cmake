# Packages for players, made by CPack from the `game` install component alone:
#   Windows builds   corvane-VERSION-win32.zip or -win64.zip: one folder holding
#                    corvane.exe, Images\, README.txt and licences\
#   the browser      corvane-VERSION-web.zip: index.html, corvane.js,
#                    corvane.wasm and corvane.data at its top (preset web)
#   elsewhere        corvane_VERSION_ARCH.deb, from a build configured with
#                    CORVANE_INSTALL_SYSTEM and the prefix /usr (preset deb)
# VERSION is CORVANE_VERSION_STRING. scripts/package.sh makes all four.
if(NOT TARGET corvane)
  return()
endif()

set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "The Corvane developers")
set(CPACK_PACKAGE_CONTACT "${CORVANE_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_VERSION "${CORVANE_VERSION_STRING}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "walk an alien over an endless grass field")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "A small top-down game, drawn in software into a 16-bit picture: an alien\n"
  "walks over an endless grass field past a wall of mountains, a pond with a\n"
  "fish and a row of birds. Mountains and water stop it; fish and birds do not.\n"
  "The arrow keys or a gamepad walk, Escape quits, F11 switches to full screen\n"
  "and F12 saves a screenshot.")
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};game;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)

if(CORVANE_NATIVE_WIN32)
  set(CPACK_GENERATOR ZIP)
  math(EXPR bits "${CMAKE_SIZEOF_VOID_P} * 8")
  set(CPACK_PACKAGE_FILE_NAME corvane-${CORVANE_VERSION_STRING}-win${bits})
elseif(EMSCRIPTEN)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME corvane-${CORVANE_VERSION_STRING}-web)
  # Sites that host browser games look for index.html at the zip's top.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_STRIP_FILES OFF)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries the program links, as dpkg-shlibdeps finds them (SDL2, libpng,
  # the C and C++ runtimes).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
endif()
include(CPack)
