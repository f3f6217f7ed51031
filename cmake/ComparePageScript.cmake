# Runs a page script through the command-line frame (strict, echoed) in a
# temporary folder of its own and fails unless it succeeds and prints exactly
# the expected output.
include(${CMAKE_CURRENT_LIST_DIR}/RunFolder.cmake)
make_run_folder(folder)
execute_process(COMMAND ${CLI} pages --strict --echo --script ${SCRIPT} WORKING_DIRECTORY "${folder}"
                OUTPUT_VARIABLE output RESULT_VARIABLE result)
file(REMOVE_RECURSE "${folder}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${SCRIPT}: exit code ${result}\n${output}")
endif()
file(READ ${EXPECTED} expected)
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "${SCRIPT}: the output differs from ${EXPECTED}\n${output}")
endif()
