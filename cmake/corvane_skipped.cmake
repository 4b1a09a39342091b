# corvane_skip(NOTE): notes a part of the build that this machine leaves out,
# and why ("libpng not found (libpng-dev): corvane-replay is not built").
# Configuring prints the note; corvane_write_skipped() lists every note in
# skipped.txt in the build tree, which scripts/check.sh shows after the tests.
function(corvane_skip note)
  message(STATUS "${note}")
  set_property(GLOBAL APPEND PROPERTY CORVANE_SKIPPED "${note}")
endfunction()

# Writes skipped.txt: one note a line, empty when nothing was left out.
function(corvane_write_skipped)
  get_property(notes GLOBAL PROPERTY CORVANE_SKIPPED)
  set(text "")
  foreach(note IN LISTS notes)
    string(APPEND text "${note}\n")
  endforeach()
  file(WRITE ${PROJECT_BINARY_DIR}/skipped.txt "${text}")
endfunction()
