# pkg-config files for games built without CMake, installed in lib/pkgconfig/
# beside the CMake package (part of corvane_install.cmake):
#   corvane-sdl       the engine, the SDL backend and its main(): a game that
#                     plays in a window (g++ game.cpp $(pkg-config --cflags --libs corvane-sdl))
#   corvane-headless  the engine and the headless backend, for a program with a
#                     main() of its own that drives the game (its controls are
#                     in "platform/headless/control.h")
#   corvane-runner    the headless backend behind the replay runner's main(): the
#                     game's <name>-replay, as corvane_add_program's REPLAY makes it
#   corvane-pictures  PictureFile, beside one of the others
# Each names the prefix by where it lies, so a moved installation still works.
# The backends' libraries go in as one group, searched until nothing more
# resolves; the SDL backend's main() goes in as a library of its own, which the
# linker takes because the C runtime asks for main.
if(CORVANE_NATIVE_WIN32)
  return()
endif()

set(pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH pc_to_prefix /${pc_dir} /)
string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")

# corvane_pkg_config(name description requires libs...): writes and installs
# <name>.pc; each lib is a target, put in as -l<its file's name>, or the words
# GROUP and END_GROUP around targets linked as one group.
function(corvane_pkg_config name description requires)
  set(libs)
  foreach(item IN LISTS ARGN)
    if(item STREQUAL "GROUP")
      string(APPEND libs " -Wl,--start-group")
    elseif(item STREQUAL "END_GROUP")
      string(APPEND libs " -Wl,--end-group")
    else()
      string(APPEND libs " -l$<TARGET_FILE_BASE_NAME:${item}>")
    endif()
  endforeach()
  set(requires_line)
  if(requires)
    set(requires_line "Requires: ${requires}\n")
  endif()
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc CONTENT
"prefix=\${pcfiledir}/${pc_to_prefix}
libdir=\${prefix}/${CMAKE_INSTALL_LIBDIR}
includedir=\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}/corvane

Name: ${name}
Description: ${description}
Version: ${PROJECT_VERSION}
${requires_line}Cflags: -I\${includedir}
Libs: -L\${libdir}${libs}
")
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc DESTINATION ${pc_dir}
          COMPONENT development)
endfunction()

set(engine_group corvane_engine corvane_platform_common)
if(TARGET corvane_sdl_main)
  add_library(corvane_sdl_main_archive STATIC $<TARGET_OBJECTS:corvane_sdl_main>)
  set_target_properties(corvane_sdl_main_archive PROPERTIES OUTPUT_NAME corvane_sdl_main
                                                            LINKER_LANGUAGE CXX)
  install(TARGETS corvane_sdl_main_archive ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          COMPONENT development)
  corvane_pkg_config(corvane-sdl "The Corvane engine with its SDL2 backend: a game in a window"
                     sdl2 GROUP corvane_sdl_main_archive corvane_sdl_backend ${engine_group} END_GROUP)
endif()
if(TARGET corvane_headless_backend)
  corvane_pkg_config(corvane-headless
                     "The Corvane engine with its headless backend, for a program with its own main()"
                     "" GROUP corvane_headless_backend ${engine_group} END_GROUP)
endif()
if(TARGET corvane_replay_main)
  corvane_pkg_config(corvane-runner
                     "A Corvane game's replay program: the game headless behind the replay options"
                     "corvane-headless libpng" corvane_replay_main corvane_replay corvane_png_io
                     corvane_png)
endif()
if(TARGET corvane_pictures)
  corvane_pkg_config(corvane-pictures "PictureFile: PNG and TIFF pictures loaded into a Corvane Image"
                     "libpng libtiff-4" corvane_pictures corvane_png)
endif()
