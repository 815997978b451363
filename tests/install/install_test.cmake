# Installs the build tree into a fresh prefix and checks what an application meets there:
# the headers under include/quillon/, an engine-only application built through
# find_package(Quillon COMPONENTS engine) with every other package hidden, a wrong
# component name refused, and a program linked through each pkg-config module.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DAPP_DIR=... -DGENERATOR=... -DCXX=...
#         [-DCXX_FLAGS=...] -P install_test.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../common/run_checked.cmake)

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

# Headers: under include/quillon/ only, and including each other by that spelling.
foreach(header engine/quillon.h platform/core/stream.h calc/rep_calculator.h)
  if(NOT EXISTS ${prefix}/include/quillon/${header})
    message(FATAL_ERROR "quillon/${header} is not installed")
  endif()
endforeach()
file(GLOB top RELATIVE ${prefix}/include ${prefix}/include/*)
if(NOT top STREQUAL "quillon")
  message(FATAL_ERROR "include/ holds more than quillon/: ${top}")
endif()
file(READ ${prefix}/include/quillon/engine/quillon.h text)
if(NOT text MATCHES "#include \"quillon/engine/report_level.h\""
   OR text MATCHES "#include \"(engine|calc|platform)/")
  message(FATAL_ERROR "the installed engine/quillon.h includes by the source tree's spelling")
endif()

# The viewer window's help page goes with the viewers into the data folder.
file(GLOB_RECURSE viewers_targets ${prefix}/*/QuillonTargets-viewers.cmake)
if(viewers_targets AND NOT EXISTS ${prefix}/share/quillon/ViewHlp.htm)
  message(FATAL_ERROR "the viewer's help page share/quillon/ViewHlp.htm is not installed")
endif()

# The engine alone needs none of the packages of the other components: hiding them all
# must not matter.
set(hidden)
foreach(package Qt6 Cups CURL SQLite3 nlohmann_json ZLIB)
  list(APPEND hidden -DCMAKE_DISABLE_FIND_PACKAGE_${package}=ON)
endforeach()
run(${CMAKE_COMMAND} -S ${APP_DIR} -B ${WORK_DIR}/app -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Debug ${hidden})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/app)
check_report(${WORK_DIR}/app/report_app)

# A component name that does not exist stops the configuration and is named, with the
# components there are.
set(wrong ${WORK_DIR}/wrong)
file(WRITE ${wrong}/CMakeLists.txt "cmake_minimum_required(VERSION 3.25)\n"
                                   "project(Wrong LANGUAGES CXX)\n"
                                   "find_package(Quillon REQUIRED COMPONENTS engine engin)\n")
execute_process(COMMAND ${CMAKE_COMMAND} -S ${wrong} -B ${wrong}/build -G ${GENERATOR}
                        -DCMAKE_PREFIX_PATH=${prefix}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0 OR NOT out MATCHES "no component \"engin\"" OR NOT out MATCHES "calc,[ \n]+engine")
  message(FATAL_ERROR "a wrong component name was not refused as it should be:\n${out}")
endif()

# Each pkg-config module compiles one of its headers and links all of its library
# (--whole-archive: every object, so every library it needs must be named); quillon.pc
# links all of them at once. A shared library links its own needs and is linked plainly.
find_program(PKG_CONFIG pkg-config)
if(NOT PKG_CONFIG)
  file(REMOVE_RECURSE ${WORK_DIR})
  return()
endif()
separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
file(GLOB_RECURSE pc_files ${prefix}/*/quillon-engine.pc)
get_filename_component(pc_dir ${pc_files} DIRECTORY)
get_filename_component(lib_dir ${pc_dir} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})

run(${PKG_CONFIG} --cflags --libs quillon-engine)
separate_arguments(flags UNIX_COMMAND "${output}")
run(${CXX} -std=c++20 ${cxx_flags} ${APP_DIR}/report_app.cpp ${flags} -Wl,-rpath,${lib_dir}
    -o ${WORK_DIR}/report_app_pc)
check_report(${WORK_DIR}/report_app_pc)

function(link_through module source archives)
  run(${PKG_CONFIG} --cflags --libs ${module})
  separate_arguments(flags UNIX_COMMAND "${output}")
  set(whole)
  foreach(archive IN LISTS archives)
    if(EXISTS ${archive})
      list(APPEND whole ${archive})
    endif()
  endforeach()
  if(whole)
    set(whole -Wl,--whole-archive ${whole} -Wl,--no-whole-archive)
  endif()
  run(${CXX} -std=c++20 ${cxx_flags} ${source} ${whole} ${flags} -Wl,-rpath,${lib_dir}
      -o ${WORK_DIR}/pc/${module})
endfunction()

file(STRINGS ${BUILD_DIR}/pkgconfig/modules.txt modules)
set(all_archives)
foreach(entry IN LISTS modules)
  string(REGEX MATCH "^([^=]+)=(.*)$" _ "${entry}")
  set(module ${CMAKE_MATCH_1})
  set(folder ${CMAKE_MATCH_2})
  file(GLOB headers RELATIVE ${prefix}/include ${prefix}/include/quillon/${folder}/*.h)
  list(SORT headers)
  list(GET headers 0 header)
  set(source ${WORK_DIR}/pc/${module}.cpp)
  file(WRITE ${source} "#include <${header}>\nint main() { return 0; }\n")
  string(REPLACE "-" "_" library ${module})
  link_through(${module} ${source} ${lib_dir}/lib${library}.a)
  list(APPEND all_archives ${lib_dir}/lib${library}.a)
endforeach()
file(WRITE ${WORK_DIR}/pc/quillon.cpp "int main() { return 0; }\n")
link_through(quillon ${WORK_DIR}/pc/quillon.cpp "${all_archives}")
file(REMOVE_RECURSE ${WORK_DIR})
