# Runs corvane-asset through its commands: cmake -DTOOL=... -DFIXTURES=... -DWORK=... -P this file.
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run expected_rc)
  execute_process(COMMAND ${TOOL} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "corvane-asset ${ARGN}: exit ${rc}, wanted ${expected_rc}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect text haystack what)
  string(FIND "${haystack}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${what}: '${text}' missing from:\n${haystack}")
  endif()
endfunction()

# TIFF -> PNG -> TIFF -> PNG gives the same PNG, through a file the engine wrote.
run(0 topng ${FIXTURES}/rgb8_mm_strips.tif a.png)
run(0 totiff a.png b.tif)
run(0 topng b.tif c.png)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/a.png ${WORK}/c.png
                RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "a.png and c.png differ")
endif()
file(SIZE ${WORK}/b.tif size)
if(NOT size EQUAL 309)
  message(FATAL_ERROR "b.tif is ${size} bytes, wanted 204 + 7 x 5 x 3 = 309")
endif()
run(0 info b.tif)
expect("byte order: Intel (II)" "${out}" "info b.tif")
expect("strips: 1 of 5 rows" "${out}" "info b.tif")
expect("engine: loads it as it stands" "${out}" "info b.tif")

# Alpha survives topng and is dropped by totiff, with a note.
run(0 topng ${FIXTURES}/rgba8_ii_strips.tif rgba.png)
run(0 totiff rgba.png rgba.tif)
expect("the alpha channel is dropped" "${err}" "totiff rgba.png")

# A file cut short loads, its missing rows black; a PNG is refused.
execute_process(COMMAND head -c 200 ${FIXTURES}/rgb8_ii_1strip.tif OUTPUT_FILE ${WORK}/cut.tif)
run(0 info cut.tif)
expect("engine: loads it, but 3 of its 5 rows are not in the file and stay black" "${out}"
       "info cut.tif")
run(2 info a.png)
expect("engine: refuses it: The header does not mark a TIFF file." "${out}" "info a.png")
run(2 topng a.png refused.png)
expect("the engine refuses this file" "${err}" "topng a.png")
if(EXISTS ${WORK}/refused.png)
  message(FATAL_ERROR "topng wrote a PNG for a refused file")
endif()

# Help, usage and errors.
foreach(command info topng totiff)
  run(0 ${command} --help)
  expect("usage: corvane-asset ${command}" "${out}" "${command} --help")
endforeach()
run(0 --help)
run(1)
run(1 convert a.png)
expect("unknown command" "${err}" "convert")
run(1 info)
run(1 info missing.tif)
expect("missing.tif: cannot be read" "${err}" "info missing.tif")
run(1 totiff missing.png out.tif)
run(1 totiff a.png no-folder/out.tif)
