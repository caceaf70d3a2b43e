# How the window looks on real display servers: screenshots checked by
# look-check at scales 1 and 2 under Xvfb, odd scales that must still give a
# usable window, and a headless weston for Wayland.
if(TARGET qinghe-taxcalc)
  # Offscreen at whole and fractional ratios, bi-level and smoothed text;
  # ui_look_test itself runs at 1.
  add_ui_test(ui_look_test ui_look_test.cpp)
  foreach(scale 1.125 1.25 1.5 1.75 2 3)
    add_test(NAME ui_look_test_${scale} COMMAND ui_look_test)
    set_tests_properties(ui_look_test_${scale} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${scale}" TIMEOUT 120)
  endforeach()

  find_package(Qt6 6.4 REQUIRED COMPONENTS Gui)
  add_executable(look-check look_check.cpp)
  target_link_libraries(look-check PRIVATE Qt6::Gui)

  find_program(XVFB Xvfb)
  find_program(XDOTOOL xdotool)
  find_program(XSETROOT xsetroot)
  find_program(XRDB xrdb)
  find_program(IMPORT import)
  if(XVFB AND XDOTOOL AND XSETROOT AND XRDB AND IMPORT)
    foreach(look 1:qt 2:qt 2:xft)
      string(REPLACE ":" ";" parts ${look})
      list(GET parts 0 scale)
      list(GET parts 1 source)
      add_test(NAME ui_look_${source}_${scale}
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/look_window.sh $<TARGET_FILE:qinghe-taxcalc>
                $<TARGET_FILE:look-check> ${scale} ${source})
      set_tests_properties(ui_look_${source}_${scale} PROPERTIES TIMEOUT 60)
    endforeach()
    # The window hosted by the example program against the program's own.
    find_program(COMPARE compare)
    if(COMPARE)
      add_executable(picker-example-tree ${PROJECT_SOURCE_DIR}/examples/picker/main.cpp)
      target_link_libraries(picker-example-tree PRIVATE QingheTaxCalc::ui)
      add_test(NAME ui_picker_look
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/picker_look.sh $<TARGET_FILE:qinghe-taxcalc>
                $<TARGET_FILE:picker-example-tree>)
      set_tests_properties(ui_picker_look PROPERTIES TIMEOUT 60)
    endif()
    add_test(NAME ui_odd_scales
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/odd_scales.sh $<TARGET_FILE:qinghe-taxcalc> 0.5 7 1.33 100)
    set_tests_properties(ui_odd_scales PROPERTIES TIMEOUT 90)

    # Two monitors at scales 1 and 2 on one X server, bare and under openbox.
    find_program(XRANDR xrandr)
    find_program(XPROP xprop)
    find_program(XWININFO xwininfo)
    find_program(CONVERT convert)
    find_program(OPENBOX openbox)
    if(XRANDR AND XPROP AND XWININFO AND CONVERT)
      add_test(NAME ui_two_monitors
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/two_monitors.sh $<TARGET_FILE:qinghe-taxcalc>
                $<TARGET_FILE:look-check>)
      set_tests_properties(ui_two_monitors PROPERTIES TIMEOUT 90)
      if(OPENBOX)
        add_test(NAME ui_two_monitors_openbox
          COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/two_monitors.sh $<TARGET_FILE:qinghe-taxcalc>
                  $<TARGET_FILE:look-check> openbox)
        set_tests_properties(ui_two_monitors_openbox PROPERTIES TIMEOUT 90)
      endif()
    endif()
  endif()

  find_program(WESTON weston)
  find_program(WESTON_SCREENSHOOTER weston-screenshooter)
  # Qt's Wayland platform plugin: libqwayland-generic.so up to Qt 6.8, one
  # libqwayland*.so of another name in later versions.
  file(GLOB QT_WAYLAND_PLUGIN ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/platforms/libqwayland*.so)
  if(WESTON AND QT_WAYLAND_PLUGIN)
    # Qt's own Wayland teardown, with nothing of the program's: passes while
    # it still hangs, the reason for app/ProcessEnd.cpp's _Exit.
    add_executable(wayland-teardown-hang wayland_teardown_hang.cpp)
    target_link_libraries(wayland-teardown-hang PRIVATE Qt6::Widgets)
    add_library(late-wake MODULE late_wake.cpp)
    target_link_libraries(late-wake PRIVATE ${CMAKE_DL_LIBS})
    add_test(NAME ui_wayland_teardown_hang
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wayland_teardown_hang.sh $<TARGET_FILE:wayland-teardown-hang>
              $<TARGET_FILE:late-wake>)
    set_tests_properties(ui_wayland_teardown_hang PROPERTIES TIMEOUT 90)
  endif()
  if(WESTON AND WESTON_SCREENSHOOTER AND QT_WAYLAND_PLUGIN)
    foreach(scale 1 2)
      add_test(NAME ui_look_wayland_${scale}
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/look_wayland.sh $<TARGET_FILE:qinghe-taxcalc>
                $<TARGET_FILE:look-check> ${scale})
      set_tests_properties(ui_look_wayland_${scale} PROPERTIES TIMEOUT 60)
    endforeach()
    # weston nested in Xvfb, driven by real X events.
    if(XVFB AND XDOTOOL AND IMPORT)
      add_test(NAME ui_wayland_double_clicks
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wayland_clicks.sh $<TARGET_FILE:qinghe-taxcalc> 20)
      # Alone: a loaded machine would stretch a double click past its interval.
      # Labelled: sixty runs of one path find no memory error that one run
      # does not, so the sanitizer run leaves it out.
      set_tests_properties(ui_wayland_double_clicks PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS repeated)
      if(SETXKBMAP)
        add_test(NAME ui_keyboard_layouts_wayland
          COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/keyboard_layouts.sh $<TARGET_FILE:qinghe-taxcalc> wayland)
        set_tests_properties(ui_keyboard_layouts_wayland PROPERTIES TIMEOUT 180)
      endif()
    endif()
  endif()
endif()
