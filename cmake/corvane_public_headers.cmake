# corvane_public_headers(out): the headers the engine installs for games (the
# header sets of the engine, the platform subset, the backends' controls and
# the pictures component), sorted, as absolute paths. The strict header check
# compiles them and the reference documents them.
function(corvane_public_headers out)
  set(headers)
  foreach(target corvane_engine corvane_platform_api corvane_platform_common corvane_headless
                 corvane_pictures)
    if(TARGET ${target})
      get_target_property(set ${target} HEADER_SET)
      if(set)
        list(APPEND headers ${set})
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES headers)
  list(SORT headers)
  set(${out} ${headers} PARENT_SCOPE)
endfunction()
