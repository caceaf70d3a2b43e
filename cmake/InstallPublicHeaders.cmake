# Run by `cmake --install`: copies the public header of the window library,
# ui/Picker.h, and every header of the tree it includes, directly or not, and
# no other. A caller picks a value through ui::pickValue alone: the window
# class, its parts and the core stay inside the library, so a change there
# is no change of the library's interface. Reading the includes at install
# time keeps the list right as the header changes.
#   QINGHE_SOURCE_DIR   the source tree
#   QINGHE_HEADER_DIR   where they go, under the install prefix
cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/HeaderClosure.cmake)
qinghe_header_closure(${QINGHE_SOURCE_DIR} public ui/Picker.h)
foreach(header IN LISTS public)
  get_filename_component(directory ${header} DIRECTORY)
  file(INSTALL ${QINGHE_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_PREFIX}/${QINGHE_HEADER_DIR}/${directory})
endforeach()
