# Part of the QingheTaxCalc package: warns a program that links the window
# when the machine lacks the Song face the window draws its texts in, the
# faces ui/UntCalc.cpp asks for. Without one, every Chinese text of the
# window shows as boxes and the tape's columns no longer line up.
find_program(QINGHE_FC_LIST fc-list)
mark_as_advanced(QINGHE_FC_LIST)
if(QINGHE_FC_LIST)
  set(qinghe_song_found FALSE)
  foreach(face "宋体" "SimSun" "AR PL SungtiL GB")
    execute_process(COMMAND ${QINGHE_FC_LIST} -q "${face}" RESULT_VARIABLE qinghe_fc_status
                    OUTPUT_QUIET ERROR_QUIET)
    if(qinghe_fc_status EQUAL 0)
      set(qinghe_song_found TRUE)
      break()
    endif()
  endforeach()
  if(NOT qinghe_song_found)
    message(WARNING "QingheTaxCalc: the Song face (宋体, SimSun or AR PL SungtiL GB) is not installed, "
      "so the calculator window cannot draw its Chinese texts. On Debian it comes with the package "
      "fonts-arphic-gbsn00lp.")
  endif()
  unset(qinghe_song_found)
  unset(qinghe_fc_status)
endif()
