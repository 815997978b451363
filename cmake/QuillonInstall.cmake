# Installing Quillon for applications: every library made by quillon_add_library, its
# headers under include/quillon/ (an application writes #include <quillon/engine/quillon.h>),
# a CMake package with one component per library (find_package(Quillon COMPONENTS engine),
# targets Quillon::<component>) and pkg-config files (quillon-<component>.pc for each
# library, quillon.pc for all of them).

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QUILLON_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quillon)
set(QUILLON_PKGCONFIG_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The installed quillon command finds the shared libraries beside it.
if(BUILD_SHARED_LIBS)
  set(CMAKE_INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
endif()

# The build tree offers the installed spelling too: build/include/quillon is the source
# root, so code built against this tree may write <quillon/engine/quillon.h> as well.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/include)
file(CREATE_LINK ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/include/quillon SYMBOLIC)

# The pkg-config module of a library target: quillon_html_parse -> quillon-html-parse.
function(quillon_pkg_config_name out target)
  string(REPLACE "_" "-" module ${target})
  set(${out} ${module} PARENT_SCOPE)
endfunction()

# Writes and installs one .pc file. The prefix is found from the file's own place, so the
# installed tree can be moved (or installed with cmake --install --prefix).
function(quillon_write_pc module description requires requires_private libs libs_private)
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
    "Requires.private: ${requires_private}\n"
    "Libs: ${libs}\n"
    "Libs.private: ${libs_private}\n"
    "Cflags: -I\${includedir}\n")
  install(FILES ${file} DESTINATION ${QUILLON_PKGCONFIG_INSTALL_DIR})
endfunction()

# Linker flags of plain libraries (full paths or -l flags): /usr/lib/libcups.so -> -lcups.
function(quillon_link_flags out)
  set(flags)
  foreach(lib IN LISTS ARGN)
    if(lib MATCHES "/lib([^/]+)\\.(so|a)(\\.[0-9.]*)?$")
      list(APPEND flags -l${CMAKE_MATCH_1})
    elseif(lib MATCHES "^-")
      list(APPEND flags ${lib})
    else()
      list(APPEND flags -l${lib})
    endif()
  endforeach()
  list(JOIN flags " " flags)
  set(${out} "${flags}" PARENT_SCOPE)
endfunction()

# Installs the headers of the calling folder under include/quillon/<folder>/. Inside the
# library a header includes another by its path from the repository root
# ("engine/report_level.h"); the installed copy says "quillon/engine/report_level.h", so
# that applications need only include/ on their include path, never include/quillon,
# whose engine/, html/, platform/ ... would shadow folders of the same name elsewhere.
function(quillon_install_headers folder)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT headers)
    return()
  endif()
  set(tops)
  foreach(layer IN LISTS QUILLON_LAYERS)
    string(REGEX MATCH "^[^/]+" top ${layer})
    list(APPEND tops ${top})
  endforeach()
  list(REMOVE_DUPLICATES tops)
  list(JOIN tops "|" tops)
  install(CODE "set(QUILLON_HEADERS \"${headers}\")
set(QUILLON_TOPS \"${tops}\")
set(QUILLON_STAGE \"${PROJECT_BINARY_DIR}/installed-headers/${folder}\")
set(QUILLON_DEST \"${CMAKE_INSTALL_INCLUDEDIR}/quillon/${folder}\")
include(\"${PROJECT_SOURCE_DIR}/cmake/QuillonInstallHeaders.cmake\")")
endfunction()

# quillon_install_library(TARGET DEPS ... PACKAGES ... PKG_CONFIG ... PKG_CONFIG_LIBS ...)
# Called by quillon_add_library for every library it makes. The library is the package's
# component <TARGET without "quillon_">; PACKAGES are what that component (and any that
# needs it) finds; PKG_CONFIG_LIBS are libraries of a package without a pkg-config module.
function(quillon_install_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PACKAGES;PKG_CONFIG;PKG_CONFIG_LIBS" ${ARGN})
  string(REGEX REPLACE "^quillon_" "" short ${name})
  foreach(dep IN LISTS ARG_DEPS)
    if(dep MATCHES "::" AND NOT ARG_PACKAGES)
      message(FATAL_ERROR "quillon_add_library(${name}): ${dep} comes from a package; name it "
                          "in PACKAGES so that find_package(Quillon) finds it")
    endif()
  endforeach()
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${short})
  add_library(Quillon::${short} ALIAS ${name})
  # One export set per component: find_package(Quillon COMPONENTS ...) loads only those
  # asked for and those they need, and finds only their packages.
  install(TARGETS ${name} EXPORT QuillonTargets-${short})

  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  quillon_install_headers(${folder})

  set(needs)
  set(requires)
  foreach(dep IN LISTS ARG_DEPS)
    if(dep MATCHES "^quillon_(.*)$")
      list(APPEND needs ${CMAKE_MATCH_1})
      quillon_pkg_config_name(module ${dep})
      list(APPEND requires ${module})
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY QUILLON_INSTALLED_LIBRARIES ${name})
  set_property(GLOBAL PROPERTY QUILLON_NEEDS_${short} ${needs})
  set_property(GLOBAL PROPERTY QUILLON_PACKAGES_${short} ${ARG_PACKAGES})

  # A static library carries what it links in Requires and Libs, not in the private
  # fields, so that a plain pkg-config --libs links. A shared library has its own
  # dependencies recorded: they go to the private fields, except Qt's modules, whose
  # headers the Qt layers' headers include.
  set(requires_private)
  set(libs "-L\${libdir} -l${name}")
  quillon_link_flags(plain ${ARG_PKG_CONFIG_LIBS})
  set(libs_private)
  get_target_property(type ${name} TYPE)
  foreach(module IN LISTS ARG_PKG_CONFIG)
    if(type STREQUAL "SHARED_LIBRARY" AND NOT module MATCHES "^Qt")
      list(APPEND requires_private ${module})
    else()
      list(APPEND requires ${module})
    endif()
  endforeach()
  if(type STREQUAL "SHARED_LIBRARY")
    set(libs_private "${plain}")
  elseif(plain)
    string(APPEND libs " ${plain}")
  endif()
  list(JOIN requires " " requires)
  list(JOIN requires_private " " requires_private)
  quillon_pkg_config_name(module ${name})
  quillon_write_pc(${module} "Quillon ${folder} library" "${requires}" "${requires_private}"
                   "${libs}" "${libs_private}")
  set_property(GLOBAL APPEND PROPERTY QUILLON_PC_FOLDERS "${module}=${folder}")
endfunction()

# The CMake package and quillon.pc over every installed library; called once, after the
# last layer.
function(quillon_install_package)
  get_property(libraries GLOBAL PROPERTY QUILLON_INSTALLED_LIBRARIES)
  if(NOT libraries)
    return()
  endif()
  # The component table the package configuration reads: every component in dependency
  # order, the components each needs and the packages each finds.
  set(components)
  set(table "")
  foreach(lib IN LISTS libraries)
    string(REGEX REPLACE "^quillon_" "" short ${lib})
    list(APPEND components ${short})
    get_property(needs GLOBAL PROPERTY QUILLON_NEEDS_${short})
    get_property(packages GLOBAL PROPERTY QUILLON_PACKAGES_${short})
    string(APPEND table "set(_quillon_needs_${short} ${needs})\n")
    set(quoted "")
    foreach(package IN LISTS packages)
      string(APPEND quoted " \"${package}\"")
    endforeach()
    string(APPEND table "set(_quillon_packages_${short}${quoted})\n")
    install(EXPORT QuillonTargets-${short} NAMESPACE Quillon:: FILE QuillonTargets-${short}.cmake
            DESTINATION ${QUILLON_CMAKE_INSTALL_DIR})
  endforeach()
  set(known)
  foreach(lib IN LISTS QUILLON_LIBRARY_NAMES)
    string(REGEX REPLACE "^quillon_" "" short ${lib})
    list(APPEND known ${short})
  endforeach()
  set(QUILLON_COMPONENT_TABLE "set(_quillon_components ${components})\n")
  string(APPEND QUILLON_COMPONENT_TABLE "set(_quillon_known ${known})\n${table}")
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuillonConfig.cmake.in
                                ${PROJECT_BINARY_DIR}/cmake/QuillonConfig.cmake
                                INSTALL_DESTINATION ${QUILLON_CMAKE_INSTALL_DIR})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/QuillonConfigVersion.cmake
                                   VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/cmake/QuillonConfig.cmake
                ${PROJECT_BINARY_DIR}/cmake/QuillonConfigVersion.cmake
          DESTINATION ${QUILLON_CMAKE_INSTALL_DIR})

  set(modules)
  foreach(lib IN LISTS libraries)
    quillon_pkg_config_name(module ${lib})
    list(APPEND modules ${module})
  endforeach()
  list(JOIN modules " " modules)
  quillon_write_pc(quillon "Quillon report generator, every library" "${modules}" "" "" "")
  # For the install test: which folder's headers each module brings.
  get_property(folders GLOBAL PROPERTY QUILLON_PC_FOLDERS)
  list(JOIN folders "\n" folders)
  file(WRITE ${PROJECT_BINARY_DIR}/pkgconfig/modules.txt "${folders}\n")
endfunction()
