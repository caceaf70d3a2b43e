# Writes the AppStream description from its template:
#   cmake -DIN=<template> -DOUT=<file> [-DWEB_URL=<address>] -P Metainfo.cmake
# WEB_URL is where this source tree's files are served on the web: the
# homepage, and the screenshot as <WEB_URL>/docs/screenshot.png. AppStream
# takes both only as web addresses; without one they are left out rather
# than pointed anywhere made up.
file(READ "${IN}" text)
if(WEB_URL)
  string(REGEX REPLACE "/+$" "" WEB_URL "${WEB_URL}")
  string(REPLACE "@QINGHE_WEB_URL@" "${WEB_URL}" text "${text}")
else()
  string(REPLACE "  <url type=\"homepage\">@QINGHE_WEB_URL@</url>\n" "" text "${text}")
  string(FIND "${text}" "  <screenshots>\n" first)
  string(FIND "${text}" "  </screenshots>\n" last)
  if(first EQUAL -1 OR last EQUAL -1)
    message(FATAL_ERROR "${IN} has no screenshots block")
  endif()
  string(LENGTH "  </screenshots>\n" closing)
  math(EXPR after "${last} + ${closing}")
  string(SUBSTRING "${text}" 0 ${first} head)
  string(SUBSTRING "${text}" ${after} -1 tail)
  set(text "${head}${tail}")
endif()
if(text MATCHES "@QINGHE_[A-Z_]+@")
  message(FATAL_ERROR "${IN}: ${CMAKE_MATCH_0} is left in the description")
endif()
file(WRITE "${OUT}" "${text}")
