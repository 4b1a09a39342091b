# Builds for the browser with Emscripten (Debian's package emscripten): its own
# toolchain file, taken from where EMSCRIPTEN points or where Debian puts it.
if(DEFINED ENV{EMSCRIPTEN})
  set(CORVANE_EMSCRIPTEN_ROOT $ENV{EMSCRIPTEN})
else()
  set(CORVANE_EMSCRIPTEN_ROOT /usr/share/emscripten)
endif()
if(NOT EXISTS ${CORVANE_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)
  message(FATAL_ERROR "No Emscripten in ${CORVANE_EMSCRIPTEN_ROOT} (Debian: apt-get install "
                      "emscripten; elsewhere set EMSCRIPTEN to its folder)")
endif()
# Emscripten looks for CMake packages in its own system root only; an engine
# built for the browser is installed wherever its user chose (CMAKE_PREFIX_PATH).
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
include(${CORVANE_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)

# Linking runs Emscripten's JavaScript optimiser under node, which needs acorn.
# Debian keeps it in /usr/share/nodejs, where a node that is not Debian's own
# does not look.
if(EXISTS /usr/share/nodejs/acorn)
  set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()

# The group the backends link as (see corvane_add_program): emcc takes the
# group's flags, and wasm-ld, like lld, finds symbols in archives in any order.
set(CMAKE_LINK_GROUP_USING_RESCAN "LINKER:--start-group" "LINKER:--end-group")
set(CMAKE_LINK_GROUP_USING_RESCAN_SUPPORTED TRUE)
