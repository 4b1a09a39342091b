# Every corvane-asset command, run in a game's folder, leaves the game's files
# as they were: debug.txt unchanged, nothing new but the files it is told to
# write. --log FILE puts the engine's log in FILE only.
#   cmake -DTOOL=... -DFIXTURES=... -DSOUNDS=... -DWORK=... [-DPLAY=ON] -P this file
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/asset_tool_common.cmake)

set(game_log "WindowsDX: Initialization started.\n  WindowsDX: Initialization finished OK.\n  ")
file(REMOVE ${WORK}-tool.log ${WORK}-sound.raw)
file(WRITE ${WORK}/debug.txt "${game_log}")
file(MAKE_DIRECTORY ${WORK}/Images)
file(COPY ${FIXTURES}/rgb8_ii_1strip.tif ${FIXTURES}/rgb8_lzw.tif DESTINATION ${WORK}/Images)
file(COPY ${SOUNDS}/mono8_11025.wav DESTINATION ${WORK})

# The README's workflow in the game's folder, and every other command.
run(3 check Images)
run(3 check .)
run(0 info Images/rgb8_ii_1strip.tif)
run(0 info mono8_11025.wav)
run(0 convert ${FIXTURES}/rgba8.png Images/made.tif --purpose masked)
run(0 preview Images/made.tif made-preview.png --purpose masked)
run(0 topng Images/rgb8_lzw.tif lzw.png)
run(0 totiff lzw.png Images/from-png.tif)
run(1 preview missing.png nothing.png --purpose plain)
if(PLAY)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk
                          SDL_DISKAUDIOFILE=${WORK}-sound.raw SDL_DISKAUDIODELAY=2
                          ${TOOL} play mono8_11025.wav
                  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "corvane-asset play: exit ${rc}\n${err}")
  endif()
endif()
run(0 --log ${WORK}-tool.log preview Images/made.tif made-preview.png --purpose masked)

file(READ ${WORK}/debug.txt log)
if(NOT log STREQUAL game_log)
  message(FATAL_ERROR "debug.txt changed:\n${log}")
endif()
file(GLOB_RECURSE left RELATIVE ${WORK} LIST_DIRECTORIES true ${WORK}/*)
list(SORT left)
set(wanted Images Images/from-png.tif Images/made.tif Images/rgb8_ii_1strip.tif
    Images/rgb8_lzw.tif debug.txt lzw.png made-preview.png mono8_11025.wav)
if(NOT left STREQUAL wanted)
  message(FATAL_ERROR "the folder holds\n  ${left}\nnot\n  ${wanted}")
endif()
file(READ ${WORK}-tool.log tool_log)
expect("WindowsDX: Initialization finished OK." "${tool_log}" "--log")
run(1 --log no-folder/tool.log check Images)
expect("no-folder/tool.log: cannot be written" "${err}" "--log into a missing folder")
run(1 --log ${WORK}-tool.log)
