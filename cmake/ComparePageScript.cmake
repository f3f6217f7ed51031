# Runs a page script through the command-line frame (strict, echoed) and fails
# unless it succeeds and prints exactly the expected output.
execute_process(COMMAND ${CLI} pages --strict --echo --script ${SCRIPT}
                OUTPUT_VARIABLE output RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${SCRIPT}: exit code ${result}\n${output}")
endif()
file(READ ${EXPECTED} expected)
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "${SCRIPT}: the output differs from ${EXPECTED}\n${output}")
endif()
