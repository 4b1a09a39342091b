include(${CMAKE_CURRENT_LIST_DIR}/corvane_web_page.cmake OPTIONAL)

# corvane_add_program(name [BACKEND sdl|headless|web] [GAME] [OWN_MAIN] [CLOSED_LOG]
#                     [REPLAY] [PRELOAD folder...] [SOURCES file...])
# A program on the engine: its sources, the engine, and the backend it runs on.
# Without BACKEND it plays in a window: on Windows through the system, which is
# the platform there (the program starts in the engine's WinMain), in a build
# made with Emscripten in the browser, elsewhere through the SDL backend. With
# BACKEND sdl or web it starts in the backend's main, which calls WinMain. GAME
# adds this repository's game (its hooks, the alien and the world) and a copy
# of Images/ beside the program, which the game reads its pictures from. OWN_MAIN (with the SDL backend): the sources hold main(),
# which starts the program through sdl::RunProgram once it has read its
# options. CLOSED_LOG: the engine's log opens nothing until the program calls
# Debug.Start() or Debug.KeepAt(), so the program leaves debug.txt alone unless
# it says otherwise. REPLAY: also <name>-replay, as corvane_add_replay makes it.
# With BACKEND web the program is a page, <name>.html (see corvane_web_page),
# whose data file holds, in place of the copy, Images/ for GAME and each PRELOAD
# folder by its name; elsewhere the program reads the PRELOAD folders where it
# runs, and PRELOAD changes nothing.
#
# The same file serves this repository's build and the installed package
# (find_package(Corvane)); the targets are the build's own where they exist, the
# package's Corvane::<name> otherwise.
function(corvane_add_program name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "GAME;OWN_MAIN;CLOSED_LOG;REPLAY" "BACKEND"
                        "PRELOAD;SOURCES")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "corvane_add_program(${name}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_BACKEND AND EMSCRIPTEN)
    set(arg_BACKEND web)
  elseif(NOT arg_BACKEND AND NOT WIN32)
    set(arg_BACKEND sdl)
  endif()
  _corvane_target(engine engine)
  if(arg_BACKEND)
    if(NOT arg_BACKEND MATCHES "^(sdl|headless|web)$")
      message(FATAL_ERROR "corvane_add_program(${name}): no backend \"${arg_BACKEND}\" (there are sdl, headless and web)")
    endif()
    set(part ${arg_BACKEND})
    if(arg_OWN_MAIN)
      if(NOT arg_BACKEND STREQUAL "sdl")
        message(FATAL_ERROR "corvane_add_program(${name}): OWN_MAIN needs the SDL backend")
      endif()
      set(part sdl_group)
    endif()
    _corvane_target(backend ${part})
    if(NOT backend)
      message(FATAL_ERROR "corvane_add_program(${name}): no backend \"${arg_BACKEND}\" here${Corvane_${arg_BACKEND}_MISSING}")
    endif()
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${engine} ${backend})
  else()
    add_executable(${name} WIN32 ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${engine})
  endif()
  if(arg_CLOSED_LOG)
    _corvane_target(closed_log closed_log)
    target_link_libraries(${name} PRIVATE ${closed_log})
  endif()
  set(game)
  if(arg_BACKEND STREQUAL "web")
    set(folders ${arg_PRELOAD})
    if(arg_GAME)
      _corvane_link_game(${name} NO_COPY)
      list(PREPEND folders ${CORVANE_IMAGES_DIR})
      set(game GAME)
    endif()
    corvane_web_page(${name} FOLDERS ${folders})
  elseif(arg_GAME)
    _corvane_link_game(${name})
    set(game GAME)
  endif()
  if(arg_REPLAY)
    if(arg_OWN_MAIN)
      message(FATAL_ERROR "corvane_add_program(${name}): REPLAY takes sources without a main()")
    endif()
    corvane_add_replay(${name} ${game} SOURCES ${arg_SOURCES})
  endif()
endfunction()

# corvane_add_replay(name [GAME] [SOURCES file...])
# <name>-replay: the sources on the headless backend behind the replay tool's
# command line, which plays them without a display (scripted keys and mouse, a
# number of frames, frames saved as PNG, a golden comparison, the mixed sound;
# <name>-replay --help). It is made where the build or the package has the
# runner (the headless backend and libpng; not on Windows); elsewhere a line
# says so and nothing is made. GAME as for corvane_add_program.
function(corvane_add_replay name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "GAME" "" "SOURCES")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "corvane_add_replay(${name}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  _corvane_target(runner runner_main)
  if(NOT runner)
    message(STATUS "${name}-replay is not made: there is no replay runner here (it needs the headless backend and libpng)${Corvane_runner_MISSING}")
    return()
  endif()
  _corvane_target(engine engine)
  _corvane_target(headless headless)
  add_executable(${name}-replay ${arg_SOURCES})
  target_link_libraries(${name}-replay PRIVATE ${engine} ${headless} ${runner})
  if(arg_GAME)
    _corvane_link_game(${name}-replay)
  endif()
endfunction()

# Sets out to the target of a part of the engine (engine, sdl, headless,
# runner_main, ...): this build's corvane_<part>, the package's
# Corvane::<part>, or "" where neither exists.
function(_corvane_target out part)
  set(${out} "" PARENT_SCOPE)
  if(part STREQUAL "runner_main")
    set(own corvane_replay_main)
  else()
    set(own corvane_${part})
  endif()
  if(TARGET ${own})
    set(${out} ${own} PARENT_SCOPE)
  elseif(TARGET Corvane::${part})
    set(${out} Corvane::${part} PARENT_SCOPE)
  endif()
endfunction()

# The game, and its pictures copied beside the program unless NO_COPY (a page
# carries them in its data file).
function(_corvane_link_game target)
  if(NOT TARGET corvane_game)
    message(FATAL_ERROR "${target}: GAME is this repository's game, which only its own build has")
  endif()
  target_link_libraries(${target} PRIVATE corvane_game)
  if(NOT ARGV1 STREQUAL "NO_COPY")
    corvane_copy_images(${target})
  endif()
endfunction()
