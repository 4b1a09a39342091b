# Helpers of the corvane-asset test scripts: each runs with -DTOOL=... -DWORK=...
# and starts with an empty WORK folder.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# Runs the tool in WORK with the arguments after expected_rc, fails unless it
# exits with expected_rc; leaves its output in out and err.
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

# Fails unless the two files (in WORK) hold the same bytes.
function(expect_same a b what)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${a} ${WORK}/${b}
                  RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${what}: ${a} and ${b} differ (both in ${WORK})")
  endif()
endfunction()
