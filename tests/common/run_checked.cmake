# run(COMMAND ARGS...): runs a command of a test script; a failure ends the script with the
# command and everything it wrote. Its standard output comes back in `output` (standard
# error is left out: Qt and compilers talk there).
function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err
                  TIMEOUT 240)
  if(NOT rc EQUAL 0)
    list(JOIN ARGV " " command)
    message(FATAL_ERROR "failed (${rc}): ${command}\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()
