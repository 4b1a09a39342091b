# Runs corvane-asset through its commands: cmake -DTOOL=... -DFIXTURES=... -DWORK=... -P this file.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/asset_tool_common.cmake)

# TIFF -> PNG -> TIFF -> PNG gives the same PNG, through a file the engine wrote.
run(0 topng ${FIXTURES}/rgb8_mm_strips.tif a.png)
run(0 totiff a.png b.tif)
run(0 topng b.tif c.png)
expect_same(a.png c.png "topng, totiff, topng")
file(SIZE ${WORK}/b.tif size)
if(NOT size EQUAL 309)
  message(FATAL_ERROR "b.tif is ${size} bytes, wanted 204 + 7 x 5 x 3 = 309")
endif()
run(0 info b.tif)
expect("byte order: Intel (II)" "${out}" "info b.tif")
expect("strips: 1, holding all 5 rows" "${out}" "info b.tif")
expect("engine: loads it as it stands" "${out}" "info b.tif")

# Alpha survives topng and is dropped by totiff, with a note.
run(0 topng ${FIXTURES}/rgba8_ii_strips.tif rgba.png)
run(0 totiff rgba.png rgba.tif)
expect("the alpha channel is dropped" "${err}" "totiff rgba.png")

# A file cut short loads, its missing rows black; a PNG is refused.
execute_process(COMMAND head -c 200 ${FIXTURES}/rgb8_ii_1strip.tif OUTPUT_FILE ${WORK}/cut.tif)
run(3 info cut.tif)
expect("engine: loads it, but 3 of its 5 rows are not in the file and stay black" "${out}"
       "info cut.tif")
run(2 topng a.png refused.png)
expect("the engine refuses this file" "${err}" "topng a.png")
if(EXISTS ${WORK}/refused.png)
  message(FATAL_ERROR "topng wrote a PNG for a refused file")
endif()

# info names what keeps the engine from a file: its compression, or that it is
# no TIFF at all (without fields read from a PNG as if it were one).
run(3 info ${FIXTURES}/rgba16_deflate.tif)
expect("compression: AdobeDeflate (8)" "${out}" "info rgba16_deflate.tif")
expect("engine: loads it wrongly: its pixel data is AdobeDeflate-compressed (compression 8)"
       "${out}" "info rgba16_deflate.tif")
run(2 info ${FIXTURES}/rgba8.png)
expect("engine: refuses it: it is not a TIFF file but a PNG picture" "${out}" "info rgba8.png")
string(FIND "${out}" "size:" fields)
if(NOT fields EQUAL -1)
  message(FATAL_ERROR "info rgba8.png prints TIFF fields:\n${out}")
endif()

# preview of a picture smaller than a window's frame, with the alpha that a
# compressed TIFF holds.
run(0 convert ${FIXTURES}/rgba16_deflate.tif small.tif)
run(0 preview small.tif small.png --purpose alpha --format 555)
expect("wrote small.png: 7 x 5, drawn alpha on a 5:5:5 display" "${out}" "preview small.tif")

# check: one line a file; one refused file makes the exit status 2.
file(MAKE_DIRECTORY ${WORK}/game/Images)
file(COPY ${FIXTURES}/rgba16_deflate.tif ${FIXTURES}/rgb8_ii_1strip.tif DESTINATION ${WORK}/game/Images)
file(COPY_FILE ${FIXTURES}/rgba8.png ${WORK}/game/Images/drawn.tif)
file(COPY_FILE ${FIXTURES}/rgba8.png ${WORK}/game/source.png)
file(COPY_FILE ${WORK}/cut.tif ${WORK}/game/Images/cut.tif)
run(2 check game)
expect("game/Images/cut.tif: loads wrongly: 3 of its 5 rows are not in the file" "${out}"
       "check game")
expect("game/Images/drawn.tif: would be refused: it is not a TIFF file but a PNG picture"
       "${out}" "check game")
expect("game/Images/rgb8_ii_1strip.tif: loads (7 x 5)\n" "${out}" "check game")
expect("game/Images/rgba16_deflate.tif: loads wrongly: its pixel data is AdobeDeflate" "${out}"
       "check game")
expect("4 files: 1 load, 2 load wrongly, 1 would be refused" "${out}" "check game")

# Help, usage and errors.
foreach(command convert preview check info topng totiff play)
  run(0 ${command} --help)
  expect("usage: corvane-asset ${command}" "${out}" "${command} --help")
endforeach()
run(0 --help)
run(1)
run(1 frobnicate a.png)
expect("unknown command 'frobnicate'" "${err}" "frobnicate")
run(1 convert a.png)
run(1 preview a.png a-preview.png)
expect("preview needs --purpose" "${err}" "preview without --purpose")
run(1 info)
run(1 info missing.tif)
expect("missing.tif: cannot be read" "${err}" "info missing.tif")
run(1 totiff missing.png out.tif)
run(1 totiff a.png no-folder/out.tif)
