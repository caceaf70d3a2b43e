# Run by `cmake --install`: copies the public headers of the window library,
# ui/Picker.h and ui/UntCalc.h, and every header of the tree they include,
# directly or not, and no other. Reading the includes at install time keeps
# the list right as the headers change.
#   QINGHE_SOURCE_DIR   the source tree
#   QINGHE_HEADER_DIR   where they go, under the install prefix
cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/HeaderClosure.cmake)
qinghe_header_closure(${QINGHE_SOURCE_DIR} public ui/Picker.h ui/UntCalc.h)
foreach(header IN LISTS public)
  get_filename_component(directory ${header} DIRECTORY)
  file(INSTALL ${QINGHE_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_PREFIX}/${QINGHE_HEADER_DIR}/${directory})
endforeach()
