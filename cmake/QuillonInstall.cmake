# Installing Quillon for applications: every library made by quillon_add_library, its
# headers under include/ with their paths from the repository root ("engine/quillon.h"),
# a CMake package (find_package(Quillon), targets Quillon::<layer>) and pkg-config files
# (quillon-<layer>.pc for each library, quillon.pc for all of them).

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QUILLON_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quillon)
set(QUILLON_PKGCONFIG_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The pkg-config module of a library target: quillon_html_parse -> quillon-html-parse.
function(quillon_pkg_config_name out target)
  string(REPLACE "_" "-" module ${target})
  set(${out} ${module} PARENT_SCOPE)
endfunction()

# Writes and installs one .pc file. The prefix is found from the file's own place, so the
# installed tree can be moved (or installed with cmake --install --prefix).
function(quillon_write_pc module description requires libs)
  file(RELATIVE_PATH up /root/${QUILLON_PKGCONFIG_INSTALL_DIR} /root)
  string(REGEX REPLACE "/$" "" up "${up}")
  set(file ${PROJECT_BINARY_DIR}/pkgconfig/${module}.pc)
  file(WRITE ${file}
    "prefix=\${pcfiledir}/${up}\n"
    "libdir=\${prefix}/${CMAKE_INSTALL_LIBDIR}\n"
    "includedir=\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}\n\n"
    "Name: ${module}\n"
    "Description: ${description}\n"
    "Version: ${PROJECT_VERSION}\n"
    "Requires: ${requires}\n"
    "Libs: ${libs}\n"
    "Cflags: -I\${includedir}\n")
  install(FILES ${file} DESTINATION ${QUILLON_PKGCONFIG_INSTALL_DIR})
endfunction()

# quillon_install_library(TARGET DEPS ... PACKAGES ... PKG_CONFIG ...)
# Called by quillon_add_library for every library it makes.
function(quillon_install_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PACKAGES;PKG_CONFIG" ${ARGN})
  string(REGEX REPLACE "^quillon_" "" short ${name})
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${short})
  add_library(Quillon::${short} ALIAS ${name})
  install(TARGETS ${name} EXPORT QuillonTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(headers)
    install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${folder})
  endif()

  set_property(GLOBAL APPEND PROPERTY QUILLON_INSTALLED_LIBRARIES ${name})
  foreach(package IN LISTS ARG_PACKAGES)
    set_property(GLOBAL APPEND PROPERTY QUILLON_PACKAGES "${package}")
  endforeach()

  # Static libraries: everything they link stands in Requires and Libs, not in the
  # private fields, so that a plain pkg-config --libs links.
  set(requires ${ARG_PKG_CONFIG})
  set(libs "-L\${libdir} -l${name}")
  foreach(dep IN LISTS ARG_DEPS)
    if(dep MATCHES "^quillon_")
      quillon_pkg_config_name(module ${dep})
      list(APPEND requires ${module})
    elseif(dep MATCHES "/lib([^/]+)\\.(so|a)$")
      string(APPEND libs " -l${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(JOIN requires " " requires)
  quillon_pkg_config_name(module ${name})
  quillon_write_pc(${module} "Quillon ${folder} library" "${requires}" "${libs}")
endfunction()

# The CMake package and quillon.pc over every installed library; called once, after the
# last layer.
function(quillon_install_package)
  get_property(libraries GLOBAL PROPERTY QUILLON_INSTALLED_LIBRARIES)
  get_property(packages GLOBAL PROPERTY QUILLON_PACKAGES)
  if(NOT libraries)
    return()
  endif()
  set(QUILLON_FIND_DEPENDENCIES "")
  if(packages)
    list(REMOVE_DUPLICATES packages)
  endif()
  foreach(package IN LISTS packages)
    string(APPEND QUILLON_FIND_DEPENDENCIES "find_dependency(${package})\n")
  endforeach()
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuillonConfig.cmake.in
                                ${PROJECT_BINARY_DIR}/cmake/QuillonConfig.cmake
                                INSTALL_DESTINATION ${QUILLON_CMAKE_INSTALL_DIR})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/QuillonConfigVersion.cmake
                                   VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
  install(EXPORT QuillonTargets NAMESPACE Quillon:: DESTINATION ${QUILLON_CMAKE_INSTALL_DIR})
  install(FILES ${PROJECT_BINARY_DIR}/cmake/QuillonConfig.cmake
                ${PROJECT_BINARY_DIR}/cmake/QuillonConfigVersion.cmake
          DESTINATION ${QUILLON_CMAKE_INSTALL_DIR})

  set(modules)
  foreach(lib IN LISTS libraries)
    quillon_pkg_config_name(module ${lib})
    list(APPEND modules ${module})
  endforeach()
  list(JOIN modules " " modules)
  quillon_write_pc(quillon "Quillon report generator, every library" "${modules}" "")
endfunction()
