# corvane --help and --version, run as built and through the command a package
# installs (packaging/corvane.sh.in), print and end without making a file or a
# folder: no debug.txt where they run, no folder of the player's own.
#   cmake -DPROGRAM=... -DLAUNCHER=.../corvane.sh.in -DWORK=... -P this file
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/bin ${WORK}/home ${WORK}/start)

# The command as installed, in a folder of its own, leading to the program.
file(RELATIVE_PATH CORVANE_COMMAND_TO_PROGRAM ${WORK}/bin ${PROGRAM})
set(CORVANE_COMMAND_TO_PICTURES ../Images)
configure_file(${LAUNCHER} ${WORK}/bin/corvane @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

foreach(command ${PROGRAM} ${WORK}/bin/corvane)
  foreach(options "--help" "-h" "--version" "--scale 2 --help" "--fullscreen --version")
    separate_arguments(options)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env HOME=${WORK}/home --unset=XDG_DATA_HOME
              ${command} ${options}
      WORKING_DIRECTORY ${WORK}/start
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT out MATCHES "^(usage: corvane|corvane [0-9])")
      message(FATAL_ERROR "${command} ${options}: exit ${rc}\n${out}${err}")
    endif()
    file(GLOB_RECURSE made LIST_DIRECTORIES true ${WORK}/home/* ${WORK}/start/*)
    if(made)
      message(FATAL_ERROR "${command} ${options} made ${made}")
    endif()
  endforeach()
endforeach()
