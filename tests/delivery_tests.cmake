# Delivery: the desktop icons, the freedesktop files, the installed library
# with the example built against it, and the Debian package.
if(TARGET qinghe-taxcalc-ui)
  add_ui_test(ui_icons_test ui_icons_test.cpp)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Svg)
  target_link_libraries(ui_icons_test PRIVATE Qt6::Svg)
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/icons/IconPaths.h CONTENT
    "#pragma once\ninline constexpr const char* kPicturesDir = \"${PROJECT_SOURCE_DIR}/ui/pictures\";\n")
  target_include_directories(ui_icons_test PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/icons)

  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  find_program(APPSTREAMCLI appstreamcli)
  if(DESKTOP_FILE_VALIDATE AND APPSTREAMCLI)
    add_test(NAME desktop_files
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/desktop_files_test.sh ${PROJECT_SOURCE_DIR}/data
              ${QINGHE_METAINFO} "${QINGHE_WEB_URL}" ${PROJECT_VERSION} ${DESKTOP_FILE_VALIDATE} ${APPSTREAMCLI})
  endif()

  find_program(MAN man)
  find_program(GROFF groff)
  if(MAN AND GROFF)
    add_test(NAME manual_pages
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/manual_pages_test.sh $<TARGET_FILE:qinghe-taxcalc> ${PROJECT_SOURCE_DIR}/data)
  endif()

  add_test(NAME install_example
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}/install-example -DGENERATOR=${CMAKE_GENERATOR}
            -DBUILD_TYPE=${CMAKE_BUILD_TYPE} "-DCXX_FLAGS=${CMAKE_CXX_FLAGS}"
            "-DLINKER_FLAGS=${CMAKE_EXE_LINKER_FLAGS}"
            -P ${CMAKE_CURRENT_SOURCE_DIR}/install_example_test.cmake)
  set_tests_properties(install_example PROPERTIES TIMEOUT 300)

  find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
  find_program(APT_GET apt-get)
  if(DPKG_SHLIBDEPS AND APT_GET)
    find_program(LINTIAN lintian)
    add_test(NAME debian_package
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package_test.sh ${CMAKE_CPACK_COMMAND} ${PROJECT_BINARY_DIR}
              ${PROJECT_VERSION} $<BOOL:${QINGHE_DEBIAN_BUILD_FLAGS}> $<$<BOOL:${LINTIAN}>:${LINTIAN}>)
    set_tests_properties(debian_package PROPERTIES TIMEOUT 300)
    if(QINGHE_DEB_HOST_ARCH)
      set_tests_properties(debian_package PROPERTIES ENVIRONMENT "DEB_HOST_ARCH=${QINGHE_DEB_HOST_ARCH}")
    endif()
  endif()
endif()
