# A sprite without alpha drawn masked loses its black pixels: convert counts them
# and --keep-black keeps them, which shows in the engine's drawing as a picture
# that no longer lets its background through:
#   cmake -DTOOL=... -DWORK=... -DIMAGES=... -P this file.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/asset_tool_common.cmake)

# The game's alien without its alpha: 586 black outline pixels and 3866 black
# transparent ones.
run(0 topng ${IMAGES}/alien0000.tif alien.png)
run(0 totiff alien.png flat.tif)
run(0 convert flat.tif keyed.tif --purpose masked)
expect("warning: keyed.tif: 4452 opaque pixels are pure black after conversion to 16 bits"
       "${err}" "convert --purpose masked")
run(0 convert flat.tif kept.tif --purpose masked --keep-black)
expect("lifted all 4452" "${err}" "convert --keep-black")

# Drawn over two backgrounds, only a picture with transparent pixels differs.
foreach(picture keyed kept)
  run(0 preview ${picture}.tif ${picture}-checker.png --purpose masked)
  run(0 preview ${picture}.tif ${picture}-grass.png --purpose masked
      --over ${IMAGES}/grass_template_thick.tif)
endforeach()
expect_same(kept-checker.png kept-grass.png "--keep-black")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/keyed-checker.png
                ${WORK}/keyed-grass.png RESULT_VARIABLE differ)
if(NOT differ)
  message(FATAL_ERROR "without --keep-black the black pixels were drawn")
endif()

# With its alpha the alien needs no lifting: masked drawing keeps opaque black.
run(0 convert alien.png alien.tif --purpose masked)
string(FIND "${err}" "black" black)
if(NOT black EQUAL -1)
  message(FATAL_ERROR "convert of a picture with alpha warned about black:\n${err}")
endif()
