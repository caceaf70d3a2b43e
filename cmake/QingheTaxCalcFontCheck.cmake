# Part of the QingheTaxCalc package: warns a program that links the window
# when the machine lacks the Song face the window draws its texts in, under
# any of the names in QingheTaxCalcSongFaces.cmake. Without one, every
# Chinese text of the window shows as boxes and the tape's columns no longer
# line up.
include(${CMAKE_CURRENT_LIST_DIR}/QingheTaxCalcSongFaces.cmake)
find_program(QINGHE_FC_LIST fc-list)
mark_as_advanced(QINGHE_FC_LIST)
if(QINGHE_FC_LIST)
  set(qinghe_song_found FALSE)
  foreach(face IN LISTS QINGHE_SONG_FACES)
    execute_process(COMMAND ${QINGHE_FC_LIST} -q "${face}" RESULT_VARIABLE qinghe_fc_status
                    OUTPUT_QUIET ERROR_QUIET)
    if(qinghe_fc_status EQUAL 0)
      set(qinghe_song_found TRUE)
      break()
    endif()
  endforeach()
  if(NOT qinghe_song_found)
    list(JOIN QINGHE_SONG_FACES ", " qinghe_song_names)
    message(WARNING "QingheTaxCalc: the Song face (one of ${qinghe_song_names}) is not installed, "
      "so the calculator window cannot draw its Chinese texts. On Debian it comes with the package "
      "fonts-arphic-gbsn00lp.")
  endif()
  unset(qinghe_song_names)
  unset(qinghe_song_found)
  unset(qinghe_fc_status)
endif()
