# Build settings shared by every layer, test, fuzz target and benchmark.

include(${CMAKE_CURRENT_LIST_DIR}/QuillonInstall.cmake)

add_compile_options(-Wall -Wextra)
# Warnings are errors only where we test (scripts/test and CI turn this on), so that a
# user's build with another compiler version never fails on a new warning.
if(QUILLON_WERROR)
  add_compile_options(-Werror)
endif()

if(QUILLON_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(QUILLON_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUILLON_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Precompiled headers for the heavy headers most files include (GoogleTest, Qt's widgets):
# they cut the time of a full build, as scripts/test and CI make. GCC 12 gives false
# warnings of out-of-bounds string copies in code inlined from precompiled libstdc++
# headers: with GCC those four warnings are off where headers are precompiled. ccache does
# not cache compiles that use them, so a developer building with ccache may turn them off.
option(QUILLON_PCH "Precompile the GoogleTest and Qt headers" ON)
if(QUILLON_PCH AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(QUILLON_PCH_GCC_FLAGS -Wno-stringop-overflow -Wno-stringop-overread -Wno-restrict
                            -Wno-array-bounds)
endif()

# quillon_precompile(TARGET dep ...): settings of a target by what it uses. A target using
# Qt, directly or through a Quillon library that does (recorded in the global property
# QUILLON_QT_LIBRARIES), is built with QT_NO_KEYWORDS: Qt's lower-case macros (slots,
# signals, emit, foreach) would otherwise reach every file of the target through its
# precompiled Qt headers, where "slots" is an ordinary name; Qt code writes Q_SLOTS,
# Q_SIGNALS and Q_EMIT. With QUILLON_PCH, such a target uses precompiled Qt widget headers,
# and a test (GTest:: among the dependencies) precompiled GoogleTest headers. A target with
# precompiled headers of its own adds these to them; the others share one precompiled
# header per kind (quillon_share_precompiled_headers), since compiling the same headers
# once per target was a large part of a full build.
function(quillon_precompile name)
  get_property(qt_libraries GLOBAL PROPERTY QUILLON_QT_LIBRARIES)
  set(uses_qt OFF)
  foreach(dep IN LISTS ARGN)
    if(dep MATCHES "^Qt6::(Widgets|PrintSupport)$" OR dep IN_LIST qt_libraries)
      set(uses_qt ON)
    endif()
  endforeach()
  set(kind)
  if(uses_qt)
    set_property(GLOBAL APPEND PROPERTY QUILLON_QT_LIBRARIES ${name})
    target_compile_definitions(${name} PRIVATE QT_NO_KEYWORDS)
    list(APPEND kind qt)
  endif()
  if(ARGN MATCHES "GTest::")
    list(APPEND kind gtest)
  endif()
  if(NOT QUILLON_PCH OR NOT kind)
    return()
  endif()
  target_compile_options(${name} PRIVATE ${QUILLON_PCH_GCC_FLAGS})
  get_target_property(own ${name} PRECOMPILE_HEADERS)
  if(own)
    quillon_precompiled_headers(headers ${kind})
    target_precompile_headers(${name} PRIVATE ${headers})
  else()
    list(JOIN kind _ kind)
    set_property(TARGET ${name} PROPERTY QUILLON_PCH_KIND ${kind})
    set_property(GLOBAL APPEND PROPERTY QUILLON_PCH_USERS ${name})
  endif()
endfunction()

# The headers precompiled for the kinds qt and gtest.
function(quillon_precompiled_headers out)
  set(headers)
  if(qt IN_LIST ARGN)
    list(APPEND headers <QtWidgets/QWidget> <QtGui/QPainter>)
  endif()
  if(gtest IN_LIST ARGN)
    list(APPEND headers <gtest/gtest.h> <gmock/gmock.h>)
  endif()
  set(${out} ${headers} PARENT_SCOPE)
endfunction()

# Whether a target is compiled position-independent (-fPIC): a shared library, or one whose
# own dependencies (not those only linked) ask for it, as Qt's libraries do. A precompiled
# header serves only compiles with the same setting.
function(quillon_compiles_pic out name)
  get_target_property(type ${name} TYPE)
  get_target_property(pic ${name} POSITION_INDEPENDENT_CODE)
  if(pic OR type MATCHES "^(SHARED|MODULE)_LIBRARY$")
    set(${out} ON PARENT_SCOPE)
    return()
  endif()
  get_target_property(queue ${name} LINK_LIBRARIES)
  set(seen)
  while(queue)
    list(POP_FRONT queue dep)
    if(dep IN_LIST seen OR NOT TARGET "${dep}")
      continue()
    endif()
    list(APPEND seen ${dep})
    get_target_property(options ${dep} INTERFACE_COMPILE_OPTIONS)
    if(options MATCHES "-fPIC")
      set(${out} ON PARENT_SCOPE)
      return()
    endif()
    get_target_property(interface ${dep} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND queue ${interface})
    endif()
  endwhile()
  set(${out} OFF PARENT_SCOPE)
endfunction()

# Called once every target is made: each target recorded by quillon_precompile reuses the
# precompiled header of a small object library made for its kind and position-independence.
# Such a host defines no more macros than its users do (compilers refuse a precompiled
# header made with a macro the compile lacks).
function(quillon_share_precompiled_headers)
  get_property(users GLOBAL PROPERTY QUILLON_PCH_USERS)
  if(NOT users)
    return()
  endif()
  # The packages' imported targets are seen only where they were found: found here again,
  # their compile options tell which users compile position-independent.
  find_package(Qt6 COMPONENTS Core Gui Widgets PrintSupport Test QUIET)
  find_package(GTest QUIET)
  foreach(name IN LISTS users)
    get_target_property(kind ${name} QUILLON_PCH_KIND)
    quillon_compiles_pic(pic ${name})
    set(host quillon_pch_${kind})
    if(pic)
      string(APPEND host _pic)
    endif()
    if(NOT TARGET ${host})
      string(REPLACE _ ";" kinds ${kind})
      add_library(${host} OBJECT ${PROJECT_SOURCE_DIR}/cmake/precompiled_headers.cpp)
      if(qt IN_LIST kinds)
        target_link_libraries(${host} PRIVATE Qt6::Widgets)
        target_compile_definitions(${host} PRIVATE QT_NO_KEYWORDS)
      endif()
      if(gtest IN_LIST kinds)
        target_link_libraries(${host} PRIVATE GTest::gmock)
      endif()
      set_target_properties(${host} PROPERTIES POSITION_INDEPENDENT_CODE ${pic})
      quillon_precompiled_headers(headers ${kinds})
      target_precompile_headers(${host} PRIVATE ${headers})
      target_compile_options(${host} PRIVATE ${QUILLON_PCH_GCC_FLAGS})
    endif()
    target_precompile_headers(${name} REUSE_FROM ${host})
  endforeach()
endfunction()

# Every Quillon library, whether or not this build makes it (those needing Qt, CUPS or zlib
# are left out without them). A dependency on a quillon_ name that is not in this list is a
# mistake in a CMakeLists.txt and stops the configuration.
set(QUILLON_LIBRARY_NAMES
    quillon_platform_core quillon_calc quillon_engine quillon_html_parse quillon_html_style
    quillon_html_image quillon_html_layout quillon_html_tree quillon_html_dump
    quillon_platform_pdf quillon_platform_qt quillon_rtf quillon_rtf_qt quillon_platform_mail
    quillon_mail quillon_platform_rawprint quillon_html_view quillon_html_view_qt quillon_viewers
    quillon_design quillon_design_qt quillon_design_expert quillon_design_expert_qt
    quillon_datasource)

# Keeps the dependencies that exist in this build: a known library that is left out is
# dropped; an unknown quillon_ name is an error.
function(quillon_existing_deps out)
  set(result)
  foreach(dep IN LISTS ARGN)
    if(dep MATCHES "^quillon_" AND NOT dep IN_LIST QUILLON_LIBRARY_NAMES)
      message(FATAL_ERROR "${CMAKE_CURRENT_LIST_FILE}: unknown Quillon library ${dep} in the "
                          "dependencies (the libraries: ${QUILLON_LIBRARY_NAMES})")
    endif()
    if(TARGET ${dep} OR NOT dep MATCHES "^quillon_")
      list(APPEND result ${dep})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Shared libraries (BUILD_SHARED_LIBS=ON) export only the project's namespace
# (cmake/quillon.map): templates of the standard library and of Qt instantiated inside a
# library stay its own, which keeps the symbol tables and the load time small. Every
# library names all it links, which the linker checks (except under the sanitizers, whose
# runtime only the executable carries).
function(quillon_shared_library_settings name)
  get_target_property(type ${name} TYPE)
  if(NOT type STREQUAL "SHARED_LIBRARY")
    return()
  endif()
  set(map ${PROJECT_SOURCE_DIR}/cmake/quillon.map)
  set_target_properties(${name} PROPERTIES
      VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}
      LINK_DEPENDS ${map})
  target_link_options(${name} PRIVATE -Wl,--version-script=${map})
  if(NOT QUILLON_SANITIZE AND NOT QUILLON_FUZZ)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# quillon_add_library(NAME [SOURCES file.cpp ...] [DEPS lib ...]
#                     [PACKAGES "find_package arguments" ...] [PKG_CONFIG module ...]
#                     [PKG_CONFIG_LIBS library ...])
# A layer library made of every .cpp file in the calling folder (none yet: no target), or
# of the SOURCES named (for a folder that holds two libraries); static, or shared with
# BUILD_SHARED_LIBS=ON.
# Inside the project its headers are included by their path from the repository root:
# #include "engine/report_level.h"; applications write <quillon/engine/report_level.h>,
# which this build tree offers too. It is installed with its headers, and applications
# reach it as Quillon::<NAME without "quillon_">, e.g. Quillon::engine (in this build too).
# PACKAGES: what an application's find_package(Quillon) must find for the DEPS that are
# imported targets of other packages (e.g. "Qt6 COMPONENTS Widgets"); PKG_CONFIG: the
# pkg-config modules of those packages, for the library's .pc file; PKG_CONFIG_LIBS: the
# libraries of such a package that has no pkg-config module (full paths or names).
function(quillon_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PACKAGES;PKG_CONFIG;PKG_CONFIG_LIBS" ${ARGN})
  if(NOT name IN_LIST QUILLON_LIBRARY_NAMES)
    message(FATAL_ERROR "quillon_add_library(${name}): add ${name} to QUILLON_LIBRARY_NAMES "
                        "in cmake/Quillon.cmake")
  endif()
  if(ARG_SOURCES)
    list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT sources)
    return()
  endif()
  add_library(${name} ${sources})
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
                                            $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>
                                            $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  quillon_shared_library_settings(${name})
  quillon_existing_deps(deps ${ARG_DEPS})
  if(deps)
    target_link_libraries(${name} PUBLIC ${deps})
  endif()
  quillon_precompile(${name} ${deps})
  quillon_install_library(${name} DEPS ${deps} PACKAGES ${ARG_PACKAGES}
                          PKG_CONFIG ${ARG_PKG_CONFIG} PKG_CONFIG_LIBS ${ARG_PKG_CONFIG_LIBS})
endfunction()

# quillon_add_test(NAME DEPS lib ... [ENVIRONMENT VAR=value])
# One GoogleTest executable made of every .cpp file in the calling folder: one ctest test
# per case, or with QUILLON_TEST_SHARDS=N N ctest tests that each run a share of the cases.
set(QUILLON_TEST_SHARDS 0 CACHE STRING
    "0: one ctest test per test case; N: each test program runs as N ctest tests (shards)")
function(quillon_add_test name)
  cmake_parse_arguments(ARG "" "" "DEPS;ENVIRONMENT" ${ARGN})
  find_package(GTest REQUIRED)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  quillon_existing_deps(deps ${ARG_DEPS})
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${deps} GTest::gmock GTest::gtest_main)
  quillon_precompile(${name} ${deps} GTest::gmock)
  target_compile_definitions(${name} PRIVATE
      QUILLON_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
      QUILLON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # gtest_discover_tests flattens property lists, so the extra variable travels in
  # ENVIRONMENT_MODIFICATION beside the fixed ENVIRONMENT: one variable at most.
  set(extra)
  list(LENGTH ARG_ENVIRONMENT extra_count)
  if(extra_count GREATER 1)
    message(FATAL_ERROR "quillon_add_test(${name}): one ENVIRONMENT variable at most")
  elseif(extra_count EQUAL 1)
    string(REGEX REPLACE "^([^=]*)=(.*)$" "\\1=set:\\2" modification "${ARG_ENVIRONMENT}")
    set(extra ENVIRONMENT_MODIFICATION "${modification}")
  endif()
  if(QUILLON_TEST_SHARDS GREATER 0)
    # Each shard runs its share of the program's cases in one process (GoogleTest's
    # sharding), which saves the start of a process per case: much of a whole run's time
    # under the sanitizers. TIMEOUT guards against a hang of the whole shard.
    math(EXPR last "${QUILLON_TEST_SHARDS} - 1")
    foreach(index RANGE ${last})
      set(shard ${name}_${index})
      add_test(NAME ${shard} COMMAND ${name} --gtest_brief=1)
      set(environment QUILDOC_INI=/nonexistent/QUILDOC.INI
                      GTEST_TOTAL_SHARDS=${QUILLON_TEST_SHARDS} GTEST_SHARD_INDEX=${index})
      set_tests_properties(${shard} PROPERTIES TIMEOUT 900 ENVIRONMENT "${environment}"
                                               ${extra})
    endforeach()
    return()
  endif()
  include(GoogleTest)
  # TIMEOUT is every test's hang guard (the slowest takes seconds, a few times that under
  # the sanitizers), so that no test needs a wall-clock bound of its own.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120
                                  ENVIRONMENT "QUILDOC_INI=/nonexistent/QUILDOC.INI" ${extra})
endfunction()

# quillon_add_fuzzer(NAME SOURCE DEPS lib ...)
function(quillon_add_fuzzer name source)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  quillon_existing_deps(deps ${ARG_DEPS})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${deps})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY QUILLON_FUZZERS ${name})
endfunction()
