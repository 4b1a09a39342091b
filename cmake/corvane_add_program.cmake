# corvane_add_program(name [BACKEND sdl|headless] [GAME] [OWN_MAIN] [CLOSED_LOG] [SOURCES file...])
# A program on the engine: its sources, the engine, and the backend it runs on
# (none on Windows, where the system is the platform and the program starts in
# the engine's WinMain). With BACKEND sdl it starts in the backend's main, which
# calls WinMain. GAME adds the game (its hooks, the alien and the world) and a
# copy of Images/ beside the program, which the game reads its pictures from.
# OWN_MAIN (with BACKEND sdl): the sources hold main(), which starts the program
# through sdl::RunProgram once it has read its options. CLOSED_LOG: the
# engine's log opens nothing until the program calls Debug.Start() or
# Debug.KeepAt(), so the program leaves debug.txt alone unless it says otherwise.
function(corvane_add_program name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "GAME;OWN_MAIN;CLOSED_LOG" "BACKEND" "SOURCES")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "corvane_add_program(${name}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(arg_BACKEND)
    if(NOT arg_BACKEND MATCHES "^(sdl|headless)$" OR NOT TARGET corvane_${arg_BACKEND})
      message(FATAL_ERROR "corvane_add_program(${name}): no backend \"${arg_BACKEND}\" in this build")
    endif()
    set(backend corvane_${arg_BACKEND})
    if(arg_OWN_MAIN)
      if(NOT arg_BACKEND STREQUAL "sdl")
        message(FATAL_ERROR "corvane_add_program(${name}): OWN_MAIN needs BACKEND sdl")
      endif()
      set(backend corvane_sdl_group)
    endif()
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE corvane_engine ${backend})
  elseif(CORVANE_NATIVE_WIN32)
    add_executable(${name} WIN32 ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE corvane_engine)
  else()
    message(FATAL_ERROR "corvane_add_program(${name}): BACKEND sdl or headless is needed here")
  endif()
  if(arg_CLOSED_LOG)
    target_link_libraries(${name} PRIVATE corvane_closed_log)
  endif()
  if(arg_GAME)
    target_link_libraries(${name} PRIVATE corvane_game)
    corvane_copy_images(${name})
  endif()
endfunction()
