# What the reference (scripts/docs.sh, docs/Doxyfile) is made from, written
# beside the build as reference_inputs.doxy when it is configured: the
# installed headers, with the cheat sheet as its first page, and the version.
include(${CMAKE_CURRENT_LIST_DIR}/corvane_public_headers.cmake)
corvane_public_headers(public_headers)
# The Win32, DirectDraw and DirectSound names the engine is written against are
# the system's own (Microsoft documents them); the cheat sheet lists those a
# game uses.
list(FILTER public_headers EXCLUDE REGEX "/platform/api/")
list(JOIN public_headers " \\\n    " public_headers)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/reference_inputs.doxy CONTENT
"PROJECT_NUMBER = \"${CORVANE_VERSION_STRING}\"
STRIP_FROM_PATH = ${PROJECT_SOURCE_DIR}
STRIP_FROM_INC_PATH = ${PROJECT_SOURCE_DIR}
USE_MDFILE_AS_MAINPAGE = ${PROJECT_SOURCE_DIR}/docs/cheatsheet.md
INPUT = ${PROJECT_SOURCE_DIR}/docs/cheatsheet.md \\
    ${public_headers}
")
