# Installs the build tree into a fresh prefix, then builds a small application against it
# twice, through find_package(Quillon) and through pkg-config, and runs both.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DAPP_DIR=... -DGENERATOR=... -DCXX=...
#         [-DCXX_FLAGS=...] -P install_test.cmake

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    list(JOIN ARGV " " command)
    message(FATAL_ERROR "failed (${rc}): ${command}\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

# The report of the installed application: one detail line per record, then the end.
function(check_report program)
  run(${program} ${APP_DIR}/report.txt)
  if(NOT output MATCHES "^line  10\r?\nline  20\r?\nline  30\r?\nEND")
    message(FATAL_ERROR "${program} printed an unexpected report:\n${output}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(header engine/quillon.h platform/core/stream.h calc/rep_calculator.h)
  if(NOT EXISTS ${prefix}/include/${header})
    message(FATAL_ERROR "${header} is not installed")
  endif()
endforeach()

# The viewer window's help page goes with the viewers into the data folder.
if(EXISTS ${BUILD_DIR}/viewers/libquillon_viewers.a
   AND NOT EXISTS ${prefix}/share/quillon/ViewHlp.htm)
  message(FATAL_ERROR "the viewer's help page share/quillon/ViewHlp.htm is not installed")
endif()

run(${CMAKE_COMMAND} -S ${APP_DIR} -B ${WORK_DIR}/app -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Debug)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/app)
check_report(${WORK_DIR}/app/report_app)

find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  file(GLOB_RECURSE pc_files ${prefix}/*/quillon-engine.pc)
  list(GET pc_files 0 pc_file)
  get_filename_component(pc_dir ${pc_file} DIRECTORY)
  set(ENV{PKG_CONFIG_PATH} ${pc_dir})
  run(${PKG_CONFIG} --cflags --libs quillon-engine)
  separate_arguments(flags UNIX_COMMAND "${output}")
  separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
  run(${CXX} -std=c++20 ${cxx_flags} ${APP_DIR}/report_app.cpp ${flags}
      -o ${WORK_DIR}/report_app_pc)
  check_report(${WORK_DIR}/report_app_pc)
  run(${PKG_CONFIG} --exists quillon)
endif()
file(REMOVE_RECURSE ${WORK_DIR})
