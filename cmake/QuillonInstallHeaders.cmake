# Run by cmake --install for each library's headers (quillon_install_headers): copies
# them, with "#include "engine/x.h"" of any Quillon folder spelled "quillon/engine/x.h",
# into the staging folder QUILLON_STAGE, and installs those copies into QUILLON_DEST.
#   QUILLON_HEADERS  the headers (full paths)
#   QUILLON_TOPS     the project's top folders as regex alternatives: platform|calc|...
#   QUILLON_STAGE    a folder of the build tree for the rewritten copies
#   QUILLON_DEST     the destination, relative to the prefix (or absolute)

set(staged)
foreach(header IN LISTS QUILLON_HEADERS)
  file(READ ${header} text)
  string(REGEX REPLACE "(#[ \t]*include[ \t]*\")(${QUILLON_TOPS})/" "\\1quillon/\\2/" text
         "${text}")
  get_filename_component(name ${header} NAME)
  set(copy ${QUILLON_STAGE}/${name})
  # Rewritten only when it changed, so that a second install finds it up to date.
  set(old "")
  if(EXISTS ${copy})
    file(READ ${copy} old)
  endif()
  if(NOT old STREQUAL text)
    file(WRITE ${copy} "${text}")
  endif()
  list(APPEND staged ${copy})
endforeach()

set(dest ${QUILLON_DEST})
if(NOT IS_ABSOLUTE ${dest})
  set(dest ${CMAKE_INSTALL_PREFIX}/${dest})
endif()
file(INSTALL DESTINATION ${dest} TYPE FILE FILES ${staged})
