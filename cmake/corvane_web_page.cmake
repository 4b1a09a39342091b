# corvane_web_page(target [FOLDERS folder...]): makes a program linked with the
# web backend a page: <name>.html (the page in CORVANE_WEB_PAGE_DIR) beside
# <name>.js and <name>.wasm. With FOLDERS, <name>.data beside them holds each
# folder under its own name (Images/, Sounds/), and the page loads it before the
# program starts; where it cannot (a site without the file), the program starts
# without those files and says what it misses as it would anywhere else.
# CORVANE_WEB_PAGE_DIR names the folder with page.html and web_page.js.
function(corvane_web_page target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FOLDERS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "corvane_web_page(${target}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  set(page ${CORVANE_WEB_PAGE_DIR}/page.html)
  set(script ${CORVANE_WEB_PAGE_DIR}/web_page.js)
  set_target_properties(${target} PROPERTIES SUFFIX .html)
  target_link_options(${target} PRIVATE "SHELL:--shell-file ${page}" "SHELL:--pre-js ${script}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${page} ${script})
  if(NOT arg_FOLDERS)
    return()
  endif()

  # The package is made as the program links, where its folder is known: a
  # changed file in one of the folders links the program again.
  set(loader ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/${target}_data_loader.js)
  foreach(folder IN LISTS arg_FOLDERS)
    if(NOT IS_DIRECTORY ${folder})
      message(FATAL_ERROR "corvane_web_page(${target}): no folder ${folder}")
    endif()
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${folder}/*)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${files})
  endforeach()
  string(REPLACE ";" "|" folders "${arg_FOLDERS}")
  add_custom_command(TARGET ${target} PRE_LINK
    COMMAND ${CMAKE_COMMAND} -DPACKAGER=${EMSCRIPTEN_ROOT_PATH}/tools/file_packager
            -DDATA=$<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>.data
            -DLOADER=${loader} -DFOLDERS=${folders}
            -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/corvane_web_data.cmake
    VERBATIM)
  target_link_options(${target} PRIVATE "SHELL:--pre-js ${loader}")
endfunction()
