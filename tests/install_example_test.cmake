# Installs the build into a fresh prefix, builds examples/picker against the
# installed package alone, and lets it pick a number through the window:
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK=... -DGENERATOR=... -DBUILD_TYPE=...
#         -DCXX_FLAGS=... -DLINKER_FLAGS=... -P install_example_test.cmake
# The example gets the build's own flags: a sanitizer build's libraries need
# the sanitizer runtime in the program that links them.
cmake_policy(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

include(GNUInstallDirs)
foreach(file
    bin/qinghe-taxcalc
    include/qinghe-taxcalc/ui/Picker.h
    ${CMAKE_INSTALL_LIBDIR}/cmake/QingheTaxCalc/QingheTaxCalcConfig.cmake
    ${CMAKE_INSTALL_LIBDIR}/cmake/QingheTaxCalc/QingheTaxCalcConfigVersion.cmake
    share/applications/cn.qinghe.TaxCalc.desktop
    share/metainfo/cn.qinghe.TaxCalc.metainfo.xml
    share/icons/hicolor/32x32/apps/cn.qinghe.TaxCalc.png
    share/icons/hicolor/64x64/apps/cn.qinghe.TaxCalc.png
    share/icons/hicolor/128x128/apps/cn.qinghe.TaxCalc.png
    share/doc/qinghe-taxcalc/copyright
    share/man/man1/qinghe-taxcalc.1.gz
    share/man/zh_CN/man1/qinghe-taxcalc.1.gz)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "cmake --install did not install ${file}")
  endif()
endforeach()

# The headers are the picker's and what it includes, no more and no less:
# nothing of the window's insides; the pictures travel inside the archive, no
# object file beside it.
set(include_dir ${prefix}/include/qinghe-taxcalc)
include(${SOURCE_DIR}/cmake/HeaderClosure.cmake)
qinghe_header_closure(${include_dir} reached ui/Picker.h)
file(GLOB_RECURSE installed RELATIVE ${include_dir} ${include_dir}/*)
list(SORT installed)
if(NOT installed STREQUAL reached)
  message(FATAL_ERROR "installed headers: ${installed}\nreached from the public ones: ${reached}")
endif()
file(GLOB_RECURSE objects ${prefix}/*.o ${prefix}/*.obj)
if(objects OR EXISTS ${prefix}/${CMAKE_INSTALL_LIBDIR}/qinghe-taxcalc-objects)
  message(FATAL_ERROR "cmake --install installed object files: ${objects}")
endif()

# A consumer is told at configure time when the Song face is missing.
set(no_fonts ${WORK}/no-fonts.conf)
file(WRITE ${no_fonts} "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>${WORK}/fc-cache</cachedir></fontconfig>\n")
run("the font check" ${CMAKE_COMMAND} -E env FONTCONFIG_FILE=${no_fonts}
    ${CMAKE_COMMAND} -P ${prefix}/${CMAKE_INSTALL_LIBDIR}/cmake/QingheTaxCalc/QingheTaxCalcFontCheck.cmake)
if(NOT err MATCHES "fonts-arphic-gbsn00lp")
  message(FATAL_ERROR "without the Song face the package config said nothing: ${err}")
endif()

# The package registry could find the build tree instead of the prefix.
run("configuring the example" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/picker -B ${WORK}/example
    -G ${GENERATOR} -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS} -Wall -Wextra -Wpedantic -Werror"
    "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}")
if(err MATCHES "fonts-arphic-gbsn00lp")
  message(FATAL_ERROR "the package config warns of a missing face that is installed: ${err}")
endif()
run("building the example" ${CMAKE_COMMAND} --build ${WORK}/example)
run("the example's self-test" ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
    ${WORK}/example/picker-example --self-test)
# 1 2 + 3 0 Enter, then a double click on the result line.
if(NOT out STREQUAL "42\n")
  message(FATAL_ERROR "the example picked \"${out}\", expected 42")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "installed package: the example built against it picked 42")
