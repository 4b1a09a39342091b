# preview draws the game's alien exactly as the game does: the same pixels as the
# alien's square in the replay tool's first frame (grass under it included):
#   cmake -DTOOL=... -DWORK=... -DREPLAY=... -DGAME=... -DCONVERT=... -P this file.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/asset_tool_common.cmake)

execute_process(COMMAND ${REPLAY} --dir ${GAME} --png-at 1 --out ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "corvane-replay: exit ${rc}\n${out}${err}")
endif()
# The alien stands at (360, 188) on grass scrolled by (4000, 4000).
run(0 preview ${GAME}/Images/alien0000.tif alien.png --purpose masked
    --over ${GAME}/Images/grass_template_thick.tif --offset 4360,4188)
foreach(step "frame_0001.png -crop 64x96+360+188 +repage rgb:game.rgb"
             "alien.png rgb:preview.rgb")
  separate_arguments(step)
  execute_process(COMMAND ${CONVERT} ${step} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "convert ${step}: exit ${rc}")
  endif()
endforeach()
expect_same(game.rgb preview.rgb "preview of the alien and the replay's frame")
