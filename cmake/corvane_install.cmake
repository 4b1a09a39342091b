# What `cmake --install` puts under the prefix, in two components:
#   development  the engine for game makers: public headers under include/corvane/
#                (include "corvane.h"), the static libraries, the objects each
#                program links as its own (lib/corvane/), the CMake package
#                Corvane (lib/cmake/Corvane/, one export per part, with
#                corvane_add_program), the pkg-config files (lib/pkgconfig/),
#                the tools (bin/: corvane-asset, corvane-play, corvane-replay)
#                and the licence
#   game         the game for players: the program beside its Images/ in
#                CORVANE_INSTALL_GAMEDIR, from where it is started (on Windows
#                with a README.txt for players and the runtime's licences; in
#                the browser build the page as index.html with its script,
#                program and data, and the licences of Corvane and its font);
#                or, with CORVANE_INSTALL_SYSTEM, laid out as a system package
#                has it
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
include(${CMAKE_CURRENT_LIST_DIR}/corvane_player_files.cmake)

set(CORVANE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Corvane)
if(CORVANE_NATIVE_WIN32 OR EMSCRIPTEN)
  set(game_dir .)
else()
  set(game_dir ${CMAKE_INSTALL_LIBDIR}/corvane/game)
endif()
set(CORVANE_INSTALL_GAMEDIR ${game_dir} CACHE PATH
    "Folder under the prefix for the game and its Images/ (it runs from there)")
option(CORVANE_INSTALL_SYSTEM
       "Install the game as a system package has it: the corvane command in games/, the program in libexec/corvane/, the pictures in share/corvane/, a desktop entry and an icon"
       OFF)
set(CORVANE_INSTALL_GAMESDIR games CACHE PATH
    "Folder under the prefix for the corvane command (with CORVANE_INSTALL_SYSTEM)")

# corvane_install_export(set file target=name...): installs the targets under
# their package names Corvane::<name>, and the file that imports them.
function(corvane_install_export set file)
  set(targets)
  foreach(pair IN LISTS ARGN)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 target)
    list(GET pair 1 name)
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
    list(APPEND targets ${target})
  endforeach()
  install(TARGETS ${targets} EXPORT ${set}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT development
    OBJECTS DESTINATION ${CMAKE_INSTALL_LIBDIR}/corvane COMPONENT development
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane COMPONENT development)
  install(EXPORT ${set} FILE ${file} NAMESPACE Corvane:: DESTINATION ${CORVANE_INSTALL_CMAKEDIR}
          COMPONENT development)
endfunction()

# The engine; on Windows the object that makes GUI programs start in its WinMain,
# elsewhere the platform code both backends share.
if(CORVANE_NATIVE_WIN32)
  set(platform_part corvane_windows_entry=windows_entry)
else()
  set(platform_part corvane_platform_common=platform_common)
endif()
corvane_install_export(CorvaneTargets CorvaneTargets.cmake corvane_engine=engine
                       corvane_platform_api=platform_api corvane_closed_log=closed_log
                       ${platform_part})
set(CORVANE_PACKAGE_BACKENDS)
if(TARGET corvane_headless)
  corvane_install_export(CorvaneHeadless CorvaneHeadlessTargets.cmake corvane_headless=headless
                         corvane_headless_backend=headless_backend)
  list(APPEND CORVANE_PACKAGE_BACKENDS headless)
endif()
if(TARGET corvane_sdl)
  corvane_install_export(CorvaneSdl CorvaneSdlTargets.cmake corvane_sdl=sdl
                         corvane_sdl_group=sdl_group corvane_sdl_backend=sdl_backend
                         corvane_sdl_main=sdl_main)
  list(APPEND CORVANE_PACKAGE_BACKENDS sdl)
endif()

if(TARGET corvane_web)
  corvane_install_export(CorvaneWeb CorvaneWebTargets.cmake corvane_web=web
                         corvane_web_group=web_group corvane_web_backend=web_backend
                         corvane_web_main=web_main)
  # What makes a program a page (corvane_web_page), and the toolchain file.
  install(FILES ${CORVANE_WEB_PAGE_DIR}/page.html ${CORVANE_WEB_PAGE_DIR}/web_page.js
          DESTINATION ${CORVANE_INSTALL_CMAKEDIR}/web COMPONENT development)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/corvane_web_page.cmake
                ${PROJECT_SOURCE_DIR}/cmake/corvane_web_data.cmake
                ${PROJECT_SOURCE_DIR}/cmake/emscripten.cmake
          DESTINATION ${CORVANE_INSTALL_CMAKEDIR} COMPONENT development)
  list(APPEND CORVANE_PACKAGE_BACKENDS web)
endif()

# The parts on libpng and libtiff: PNG files, the replay runner (REPLAY of
# corvane_add_program), the pictures component, and the tools.
set(CORVANE_PACKAGE_PARTS)
if(TARGET corvane_png)
  corvane_install_export(CorvanePng CorvanePngTargets.cmake corvane_png=png)
endif()
if(TARGET corvane_replay_main)
  corvane_install_export(CorvaneRunner CorvaneRunnerTargets.cmake corvane_png_io=frame_png
                         corvane_replay=runner corvane_replay_main=runner_main)
  list(APPEND CORVANE_PACKAGE_PARTS runner)
endif()
if(TARGET corvane_pictures)
  corvane_install_export(CorvanePictures CorvanePicturesTargets.cmake corvane_pictures=pictures)
  list(APPEND CORVANE_PACKAGE_PARTS pictures)
endif()
set(tools)
foreach(tool asset replay)
  if(TARGET corvane-${tool})
    list(APPEND tools corvane-${tool}=${tool})
  endif()
endforeach()
if(tools)
  corvane_install_export(CorvaneTools CorvaneToolsTargets.cmake ${tools})
  list(APPEND CORVANE_PACKAGE_PARTS tools)
endif()
# corvane-asset plays sounds through corvane-play beside it.
if(TARGET corvane-asset AND TARGET corvane-play)
  install(TARGETS corvane-play RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT development)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR}
        COMPONENT development)
include(${CMAKE_CURRENT_LIST_DIR}/corvane_pkg_config.cmake)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/CorvaneConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake INSTALL_DESTINATION ${CORVANE_INSTALL_CMAKEDIR})
# 0.x: a newer minor version may change what a game calls.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/corvane_find_sdl2.cmake
              ${CMAKE_CURRENT_LIST_DIR}/corvane_add_program.cmake
        DESTINATION ${CORVANE_INSTALL_CMAKEDIR} COMPONENT development)

if(TARGET corvane AND EMSCRIPTEN)
  # The page is index.html, as sites that host browser games want it; it names
  # its script, and the script its program and data, by the names they keep.
  install(FILES $<TARGET_FILE:corvane> DESTINATION ${CORVANE_INSTALL_GAMEDIR} RENAME index.html
          COMPONENT game)
  install(FILES $<TARGET_FILE_DIR:corvane>/corvane.js $<TARGET_FILE_DIR:corvane>/corvane.wasm
                $<TARGET_FILE_DIR:corvane>/corvane.data
          DESTINATION ${CORVANE_INSTALL_GAMEDIR} COMPONENT game)
  # The program carries the Terminus glyphs, whose licence travels with them.
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CORVANE_INSTALL_GAMEDIR}/licences
          RENAME corvane.txt COMPONENT game)
  install(FILES ${PROJECT_SOURCE_DIR}/tools/font/OFL.txt
          DESTINATION ${CORVANE_INSTALL_GAMEDIR}/licences RENAME terminus-font.txt COMPONENT game)
elseif(TARGET corvane AND CORVANE_INSTALL_SYSTEM AND NOT CORVANE_NATIVE_WIN32)
  corvane_install_system_game()
elseif(TARGET corvane)
  install(TARGETS corvane RUNTIME DESTINATION ${CORVANE_INSTALL_GAMEDIR} COMPONENT game)
  install(DIRECTORY ${CORVANE_IMAGES_DIR}/ DESTINATION ${CORVANE_INSTALL_GAMEDIR}/Images
          COMPONENT game)
  if(CORVANE_NATIVE_WIN32)
    corvane_install_windows_readme()
  endif()
endif()
