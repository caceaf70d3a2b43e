# Run by `cmake --install`: copies the public headers of the window library,
# ui/Picker.h and ui/UntCalc.h, and every header of the tree they include,
# directly or not, and no other. Reading the includes at install time keeps
# the list right as the headers change.
#   QINGHE_SOURCE_DIR   the source tree
#   QINGHE_HEADER_DIR   where they go, under the install prefix
cmake_policy(VERSION 3.25)
set(pending ui/Picker.h ui/UntCalc.h)
set(public)
while(pending)
  list(POP_FRONT pending header)
  if(header IN_LIST public)
    continue()
  endif()
  if(NOT EXISTS ${QINGHE_SOURCE_DIR}/${header})
    message(FATAL_ERROR "public header ${header} is not in the source tree")
  endif()
  list(APPEND public ${header})
  # The tree's own headers are included with quotes, from the source root.
  file(STRINGS ${QINGHE_SOURCE_DIR}/${header} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
    list(APPEND pending ${included})
  endforeach()
endwhile()
list(SORT public)
foreach(header IN LISTS public)
  get_filename_component(directory ${header} DIRECTORY)
  file(INSTALL ${QINGHE_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_PREFIX}/${QINGHE_HEADER_DIR}/${directory})
endforeach()
