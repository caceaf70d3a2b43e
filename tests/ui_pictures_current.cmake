# cmake -DGENERATOR=... -DCOMMITTED=... -DWORK=... -P ui_pictures_current.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${GENERATOR} ${WORK} RESULT_VARIABLE drawn)
if(NOT drawn EQUAL 0)
  message(FATAL_ERROR "the picture generator failed: ${drawn}")
endif()
foreach(name ImageBak.jpg ImageIco.jpg SBtnDot.bmp SBtnBack.bmp BitBtnCancel.bmp qinghe-taxcalc.ico
             qinghe-taxcalc-32.png qinghe-taxcalc-64.png qinghe-taxcalc-128.png)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${name} ${COMMITTED}/${name}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "ui/pictures/${name} is not what the generator draws; rebuild the 'pictures' target")
  endif()
endforeach()
