# quillon expert --code writes handler code for a template; this script compiles that code
# outside namespace quillon into a small application, links the engine and runs it.
#   cmake -DQUILLON=... -DCXX=... -DSOURCE_DIR=... -DAPP_DIR=... -DWORK_DIR=...
#         -DLIBS=lib1;lib2;... [-DCXX_FLAGS=...] -P generated_code_test.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../../common/run_checked.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
run(${QUILLON} expert --code ${APP_DIR}/orders.txt)
file(WRITE ${WORK_DIR}/generated_handlers.inc "${output}")
# The report fills these itself: the code must leave them alone.
foreach(name DATE PAGENO TWICE)
  if(output MATCHES "FieldByName\\(\"${name}\"\\)")
    message(FATAL_ERROR "the generated code sets ${name}:\n${output}")
  endif()
endforeach()

separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
run(${CXX} -std=c++20 ${cxx_flags} -Wall -Wextra -Werror -I${SOURCE_DIR} -I${WORK_DIR}
    ${APP_DIR}/handlers_app.cpp ${LIBS} -o ${WORK_DIR}/handlers_app)
run(${WORK_DIR}/handlers_app ${APP_DIR}/orders.txt)
if(NOT output MATCHES "^Orders page +1 +on [0-9][^\r\n]* by Ann")
  message(FATAL_ERROR "the page number or date was blanked, or the head is wrong:\n${output}")
endif()
if(NOT output MATCHES "item1 +\r?\nitem2 +\r?\nitem3 +\r?\nEND done")
  message(FATAL_ERROR "unexpected report:\n${output}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
