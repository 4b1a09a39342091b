# Packs folders for a web page (see corvane_web_page):
#   cmake -DPACKAGER=<Emscripten's file_packager> -DDATA=<dir>/<name>.data
#         -DLOADER=<script to write> -DFOLDERS=<folder>|<folder>... -P corvane_web_data.cmake
# writes DATA, each folder inside under its own name, and LOADER, which the
# program links as one of its first scripts. LOADER defines the data file's name
# and corvaneLoadPackage(Module), Emscripten's own loader for it, which the page
# calls once it has fetched the file.
foreach(variable PACKAGER DATA LOADER FOLDERS)
  if(NOT ${variable})
    message(FATAL_ERROR "corvane_web_data.cmake: -D${variable}=... is needed")
  endif()
endforeach()

get_filename_component(data_dir ${DATA} DIRECTORY)
get_filename_component(data_name ${DATA} NAME)
string(REPLACE "|" ";" folders "${FOLDERS}")
set(preload)
foreach(folder IN LISTS folders)
  get_filename_component(name ${folder} NAME)
  list(APPEND preload ${folder}@${name})
endforeach()

# Run in the data's folder, so that the loader names the file as the page does.
file(MAKE_DIRECTORY ${data_dir})
execute_process(
  COMMAND ${PACKAGER} ${data_name} --preload ${preload} --js-output=${LOADER}.part --no-node
  WORKING_DIRECTORY ${data_dir}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "file_packager could not pack ${folders} into ${DATA}:\n${output}")
endif()

file(READ ${LOADER}.part code)
file(REMOVE ${LOADER}.part)
# The loader begins by declaring Module; as a parameter, Module stays the page's.
file(WRITE ${LOADER} "var corvaneDataName = \"${data_name}\";\n"
                     "function corvaneLoadPackage(Module) {\n${code}\n}\n")
