# A key, a hint or a keyboard-map row added without the rows that go with it
# must not build. Each case copies one header, changed as a developer would
# change it, into an overlay searched before the tree, then compiles the real
# sources with the build's own command lines (compile_commands.json, with
# -fsyntax-only) and expects each to fail with the name of the table that
# lacks the row. The unchanged copies must compile, so that a failure is the
# change's and not the overlay's.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK=... [-DWITH_UI=ON] -P missing_rows_test.cmake
cmake_policy(VERSION 3.25)
file(READ ${BUILD_DIR}/compile_commands.json commands)
string(JSON command_count LENGTH "${commands}")
math(EXPR last_command "${command_count} - 1")

# compile(<source> <status variable> <output variable>)
function(compile source status_var output_var)
  set(command)
  foreach(i RANGE ${last_command})
    string(JSON file GET "${commands}" ${i} file)
    if(file STREQUAL "${SOURCE_DIR}/${source}")
      string(JSON command GET "${commands}" ${i} command)
      string(JSON directory GET "${commands}" ${i} directory)
      break()
    endif()
  endforeach()
  if(NOT command)
    message(FATAL_ERROR "no compile command for ${source} in ${BUILD_DIR}/compile_commands.json")
  endif()
  separate_arguments(arguments UNIX_COMMAND "${command}")
  list(POP_FRONT arguments compiler)
  # No object and no dependency file: only the diagnostics are wanted.
  set(kept)
  set(skip_next FALSE)
  foreach(argument IN LISTS arguments)
    if(skip_next)
      set(skip_next FALSE)
    elseif(argument MATCHES "^-(o|MF|MT)$")
      set(skip_next TRUE)
    elseif(NOT argument STREQUAL "-MD")
      list(APPEND kept "${argument}")
    endif()
  endforeach()
  execute_process(COMMAND ${compiler} -I${WORK}/overlay ${kept} -fsyntax-only
    WORKING_DIRECTORY ${directory} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${status_var} ${status} PARENT_SCOPE)
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

# overlay(<header> <anchor> <insertion>): the overlay holds the header alone,
# with <insertion> put before <anchor>.
function(overlay header anchor insertion)
  file(REMOVE_RECURSE ${WORK}/overlay)
  file(READ ${SOURCE_DIR}/${header} text)
  string(FIND "${text}" "${anchor}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${header} no longer holds \"${anchor}\": the test needs a new anchor")
  endif()
  string(REPLACE "${anchor}" "${insertion}${anchor}" text "${text}")
  file(WRITE ${WORK}/overlay/${header} "${text}")
endfunction()

function(expect_failure source pattern)
  compile(${source} status output)
  if(status EQUAL 0)
    message(FATAL_ERROR "${source} compiled although ${what}")
  endif()
  if(NOT output MATCHES "${pattern}")
    message(FATAL_ERROR "${source} failed without naming the table (${pattern}) when ${what}:\n${output}")
  endif()
  message(STATUS "${what}: ${source} fails, naming ${pattern}")
endfunction()

function(expect_success source)
  compile(${source} status output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${source} does not compile through the overlay (${what}):\n${output}")
  endif()
endfunction()

set(what "the headers are unchanged")
file(REMOVE_RECURSE ${WORK}/overlay)
foreach(header calc/Key.h calc/Hints.h ui/keyboard/KeyMap.h)
  configure_file(${SOURCE_DIR}/${header} ${WORK}/overlay/${header} COPYONLY)
endforeach()
expect_success(calc/Hints.cpp)
if(WITH_UI)
  expect_success(ui/window/UntCalc.cpp)
endif()

set(what "Key gains a value")
overlay(calc/Key.h "    // Not a key" "    Percent,\n")
expect_failure(calc/Hints.cpp "kKeyHints: a Key without its hint")
expect_failure(calc/Calculator.cpp "Percent.* not handled in switch")
expect_failure(tools/KeyScript.cpp "kKeyNames: a Key without its key-script token")
if(WITH_UI)
  expect_failure(ui/window/UntCalc.cpp "kKeys: a Key without its control")
endif()

set(what "Hint gains a value")
overlay(calc/Hints.h "    // Not a hint" "    Percent,\n")
expect_failure(calc/Hints.cpp "kHints: a Hint without its text")

if(WITH_UI)
  set(what "the keyboard map clicks a control that is missing")
  overlay(ui/keyboard/KeyMap.h "    {'R', When::AltDown, \"BitBtnCancel\"},"
    "    {'P', When::AltDown, \"SBtnPercent\"},\n")
  expect_failure(ui/window/UntCalc.cpp "kKeyMap: a row clicks a control")
endif()

file(REMOVE_RECURSE ${WORK})
