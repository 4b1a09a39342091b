# CORVANE_VERSION_STRING: the version `corvane --version` prints and the packages
# carry: the project's version, followed in a git clone by what `git describe`
# said of the sources at configure time, in a form that Debian's version rules
# order and Windows file names take:
#   at a tag vX.Y, nothing changed                   0.1
#   N commits after the tag vX.Y, at commit H        0.1+N.gH
#   no tag yet, at commit H                          0.1+gH
# and ".dirty" (or "+dirty") when files differ from that commit. Without git,
# the project's version alone. CORVANE_GIT_DESCRIPTION keeps what git said and
# CORVANE_SOURCE_DATE the date of that commit (RFC 2822; without git, now).
find_package(Git QUIET)
set(CORVANE_GIT_DESCRIPTION "")
if(GIT_FOUND)
  execute_process(
    COMMAND ${GIT_EXECUTABLE} describe --tags --always --dirty --match "v[0-9]*"
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE described OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE result ERROR_QUIET)
  if(result EQUAL 0)
    set(CORVANE_GIT_DESCRIPTION "${described}")
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%aD
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE CORVANE_SOURCE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
if(NOT CORVANE_SOURCE_DATE)
  string(TIMESTAMP CORVANE_SOURCE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()

set(CORVANE_VERSION_STRING ${PROJECT_VERSION})
set(separator "+")
if(CORVANE_GIT_DESCRIPTION MATCHES "^v[0-9][^-]*-([0-9]+)-g([0-9a-f]+)")
  string(APPEND CORVANE_VERSION_STRING "+${CMAKE_MATCH_1}.g${CMAKE_MATCH_2}")
  set(separator ".")
elseif(CORVANE_GIT_DESCRIPTION MATCHES "^([0-9a-f]+)(-dirty)?$")
  string(APPEND CORVANE_VERSION_STRING "+g${CMAKE_MATCH_1}")
  set(separator ".")
endif()
if(CORVANE_GIT_DESCRIPTION MATCHES "-dirty$")
  string(APPEND CORVANE_VERSION_STRING "${separator}dirty")
endif()
message(STATUS "Corvane ${CORVANE_VERSION_STRING}")
