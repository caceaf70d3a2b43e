# The calculator window's tests: QtTest programs driving the real window
# headless, and a smoke test of the real program under its own X server.
if(TARGET qinghe-taxcalc-ui)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Test Widgets)

  # add_ui_test(name source...): a QtTest program on the window, run offscreen.
  function(add_ui_test name)
    add_executable(${name} ${ARGN})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE QingheTaxCalc::ui Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
  endfunction()

  add_ui_test(ui_window_test ui_window_test.cpp)
  add_ui_test(ui_parts_test ui_parts_test.cpp)
  add_ui_test(ui_hint_memo_test ui_hint_memo_test.cpp)
  add_ui_test(ui_paint_test ui_paint_test.cpp)
  add_ui_test(ui_accessibility_test ui_accessibility_test.cpp)
  add_ui_test(ui_placement_test ui_placement_test.cpp)
  # Keymaps compiled from the layout names in xkb-data.
  add_ui_test(ui_keymap_test ui_keymap_test.cpp)
  target_include_directories(ui_keymap_test PRIVATE ${XKBCOMMON_INCLUDE_DIR})
  if(TARGET qinghe-taxcalc-app)
    add_ui_test(app_window_run_test app_window_run_test.cpp)
    target_link_libraries(app_window_run_test PRIVATE qinghe-taxcalc-app)
  endif()
  # A machine without the Song face: fontconfig with no fonts at all.
  add_ui_test(ui_font_warning_test ui_font_warning_test.cpp)
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/no-fonts/fonts.conf CONTENT
    "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>${CMAKE_CURRENT_BINARY_DIR}/no-fonts/cache</cachedir></fontconfig>\n")
  set_property(TEST ui_font_warning_test APPEND PROPERTY ENVIRONMENT
    "FONTCONFIG_FILE=${CMAKE_CURRENT_BINARY_DIR}/no-fonts/fonts.conf")

  # The committed pictures are what the generator draws today.
  add_test(NAME ui_pictures_current
    COMMAND ${CMAKE_COMMAND} -DGENERATOR=$<TARGET_FILE:qinghe-make-pictures>
            -DCOMMITTED=${PROJECT_SOURCE_DIR}/ui/pictures -DWORK=${CMAKE_CURRENT_BINARY_DIR}/pictures-check
            -P ${CMAKE_CURRENT_SOURCE_DIR}/ui_pictures_current.cmake)

  find_program(XVFB Xvfb)
  find_program(XDOTOOL xdotool)
  find_program(OPENBOX openbox)
  if(XVFB AND XDOTOOL)
    add_test(NAME ui_smoke_window
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/smoke_window.sh $<TARGET_FILE:qinghe-taxcalc>)
    set_tests_properties(ui_smoke_window PROPERTIES TIMEOUT 60)
    add_test(NAME ui_font_files
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/font_files.sh $<TARGET_FILE:qinghe-taxcalc>)
    set_tests_properties(ui_font_files PROPERTIES TIMEOUT 60)
    add_test(NAME ui_window_place
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/window_place.sh $<TARGET_FILE:qinghe-taxcalc>)
    set_tests_properties(ui_window_place PROPERTIES TIMEOUT 60)
    add_test(NAME ui_fixed_look
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fixed_look.sh $<TARGET_FILE:qinghe-taxcalc>)
    set_tests_properties(ui_fixed_look PROPERTIES TIMEOUT 120)
    # Keys by what is printed on them on US, German, French and Russian layouts.
    find_program(SETXKBMAP setxkbmap)
    if(SETXKBMAP)
      add_test(NAME ui_keyboard_layouts
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/keyboard_layouts.sh $<TARGET_FILE:qinghe-taxcalc>)
      set_tests_properties(ui_keyboard_layouts PROPERTIES TIMEOUT 120)
    endif()
    # The program as another program's value picker: its output and status.
    add_test(NAME ui_picker_program
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/picker_program.sh $<TARGET_FILE:qinghe-taxcalc>)
    set_tests_properties(ui_picker_program PROPERTIES TIMEOUT 120)
    # The window read through AT-SPI as a screen reader reads it, on an X
    # server and a session bus of its own; Debian's python3, whose packages
    # hold the AT-SPI bindings.
    find_program(DBUS_RUN_SESSION dbus-run-session)
    find_program(SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
    if(DBUS_RUN_SESSION AND SYSTEM_PYTHON3)
      add_test(NAME ui_accessibility_atspi
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/display_session.sh --bus --
                ${SYSTEM_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/accessibility_atspi.py $<TARGET_FILE:qinghe-taxcalc>)
      set_tests_properties(ui_accessibility_atspi PROPERTIES TIMEOUT 60)
    endif()
    # Each action of the launcher entry started as GLib starts it for a
    # desktop: the window opens at the action's rate.
    if(SYSTEM_PYTHON3)
      add_test(NAME ui_desktop_actions
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/desktop_actions.sh $<TARGET_FILE:qinghe-taxcalc>
                ${PROJECT_SOURCE_DIR}/data/cn.qinghe.TaxCalc.desktop ${SYSTEM_PYTHON3})
      set_tests_properties(ui_desktop_actions PROPERTIES TIMEOUT 120)
    endif()
    if(OPENBOX)
      add_test(NAME ui_smoke_openbox
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/smoke_window.sh $<TARGET_FILE:qinghe-taxcalc> openbox)
      set_tests_properties(ui_smoke_openbox PROPERTIES TIMEOUT 60)
    endif()
  endif()
endif()
