# corvane_embed_file(target file name)
# Builds a file's bytes into a program, so that it needs no file at run time:
# the target gets a source defining, in namespace embedded,
#   extern const unsigned char <name>[];  extern const std::size_t <name>Size;
# remade whenever the file changes. Run with -P, this file writes that source
# (-DINPUT=file -DOUTPUT=source -DNAME=name).
if(CMAKE_SCRIPT_MODE_FILE)
  file(READ "${INPUT}" bytes HEX)
  string(LENGTH "${bytes}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  # Sixteen bytes a line (CMake's expressions have no repeat counts).
  string(REPEAT "0x..," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
  file(WRITE "${OUTPUT}" "// Made from ${INPUT} by corvane_embed_file.cmake.
#include <cstddef>

namespace embedded {
extern const unsigned char ${NAME}[] = {
    ${bytes}
};
extern const std::size_t ${NAME}Size = ${size};
}  // namespace embedded
")
  return()
endif()

set(CORVANE_EMBED_FILE_SCRIPT ${CMAKE_CURRENT_LIST_FILE})
function(corvane_embed_file target file name)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/embedded_${name}.cpp)
  add_custom_command(OUTPUT ${source}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${source} -DNAME=${name}
      -P ${CORVANE_EMBED_FILE_SCRIPT}
    DEPENDS ${file} ${CORVANE_EMBED_FILE_SCRIPT}
    COMMENT "Building ${file} into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source})
endfunction()
