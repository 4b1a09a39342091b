# What players get with the game besides the program and its pictures, for the
# `game` install component (and so for the packages made from it).

set(CORVANE_PACKAGE_CONTACT "Corvane maintainers <maintainers@corvane.example>" CACHE STRING
    "Who answers for the packages: their maintainer, as \"Name <address>\"")
set(CORVANE_MINGW_RUNTIME_LICENCE /usr/share/doc/mingw-w64-common/copyright CACHE FILEPATH
    "The licences of the MinGW-w64 runtime that Windows programs carry (shipped beside them)")

# corvane_install_windows_readme(): README.txt for players (what the game needs,
# its keys and its error boxes), Corvane's licence and the licences of the
# runtime linked into corvane.exe, with Windows line ends, beside the program.
function(corvane_install_windows_readme)
  set(out ${PROJECT_BINARY_DIR}/packaging)
  math(EXPR bits "${CMAKE_SIZEOF_VOID_P} * 8")
  set(CORVANE_README_TITLE "Corvane ${CORVANE_VERSION_STRING} for ${bits}-bit Windows")
  string(LENGTH "${CORVANE_README_TITLE}" length)
  string(REPEAT "=" ${length} CORVANE_README_RULE)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/README-windows.txt.in ${out}/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  install(FILES ${out}/README.txt DESTINATION ${CORVANE_INSTALL_GAMEDIR} COMPONENT game)
  corvane_install_with_crlf(${PROJECT_SOURCE_DIR}/LICENSE ${out}/licences/corvane.txt)
  if(NOT EXISTS "${CORVANE_MINGW_RUNTIME_LICENCE}")
    message(WARNING "No licences of the MinGW-w64 runtime at \"${CORVANE_MINGW_RUNTIME_LICENCE}\" "
                    "(CORVANE_MINGW_RUNTIME_LICENCE): corvane.exe is installed without them")
    return()
  endif()
  corvane_install_with_crlf(${CORVANE_MINGW_RUNTIME_LICENCE} ${out}/licences/mingw-w64-runtime.txt)
endfunction()

# corvane_install_with_crlf(source copy): the text of source with Windows line
# ends, written to copy and installed in the game's licences/.
function(corvane_install_with_crlf source copy)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${copy} "${text}")
  install(FILES ${copy} DESTINATION ${CORVANE_INSTALL_GAMEDIR}/licences COMPONENT game)
endfunction()

# corvane_install_system_game(): the game as a system package lays it out. The
# program reads Images/ and writes debug.txt in its working folder, so the
# command players run (a script in CORVANE_INSTALL_GAMESDIR) starts it in a
# folder of the player's own that leads to the pictures; both find the program
# and the pictures relative to the script, so any prefix works. With them a
# desktop entry, the icon, a manual page, and the copyright notice and
# changelog a Debian package carries.
function(corvane_install_system_game)
  set(source ${PROJECT_SOURCE_DIR}/packaging)
  set(out ${PROJECT_BINARY_DIR}/packaging)
  set(program_dir ${CMAKE_INSTALL_LIBEXECDIR}/corvane)
  set(pictures_dir ${CMAKE_INSTALL_DATADIR}/corvane/Images)
  file(RELATIVE_PATH CORVANE_COMMAND_TO_PROGRAM /${CORVANE_INSTALL_GAMESDIR} /${program_dir}/corvane)
  file(RELATIVE_PATH CORVANE_COMMAND_TO_PICTURES /${CORVANE_INSTALL_GAMESDIR} /${pictures_dir})
  configure_file(${source}/corvane.sh.in ${out}/corvane @ONLY)
  install(PROGRAMS ${out}/corvane DESTINATION ${CORVANE_INSTALL_GAMESDIR} COMPONENT game)
  install(TARGETS corvane RUNTIME DESTINATION ${program_dir} COMPONENT game)
  install(DIRECTORY ${CORVANE_IMAGES_DIR}/ DESTINATION ${pictures_dir} COMPONENT game)
  install(FILES ${source}/corvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT game)
  install(FILES ${source}/corvane.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/96x96/apps
          COMPONENT game)

  file(READ ${PROJECT_SOURCE_DIR}/LICENSE CORVANE_LICENCE)
  file(READ ${PROJECT_SOURCE_DIR}/tools/font/OFL.txt CORVANE_FONT_LICENCE)
  configure_file(${source}/copyright.in ${out}/copyright @ONLY)
  set(CORVANE_SOURCE_DESCRIPTION "${CORVANE_GIT_DESCRIPTION}")
  if(NOT CORVANE_SOURCE_DESCRIPTION)
    set(CORVANE_SOURCE_DESCRIPTION "version ${PROJECT_VERSION}")
  endif()
  configure_file(${source}/changelog.in ${out}/changelog @ONLY)
  configure_file(${source}/corvane.6 ${out}/corvane.6 COPYONLY)
  # Compressed as Debian wants them: smallest, with no name or time inside.
  find_program(CORVANE_GZIP gzip REQUIRED)
  execute_process(COMMAND ${CORVANE_GZIP} -9nf ${out}/changelog ${out}/corvane.6
                  COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${out}/copyright ${out}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/corvane COMPONENT game)
  install(FILES ${out}/corvane.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
endfunction()
