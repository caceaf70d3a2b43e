# The window library as a CMake package, for other Qt programs:
#   find_package(QingheTaxCalc 0.1 REQUIRED)
#   target_link_libraries(app PRIVATE QingheTaxCalc::ui)   # ui/Picker.h: ui::pickValue
include(CMakePackageConfigHelpers)

install(CODE "set(QINGHE_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
set(QINGHE_HEADER_DIR \"${CMAKE_INSTALL_INCLUDEDIR}/qinghe-taxcalc\")"
  COMPONENT development)
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallPublicHeaders.cmake COMPONENT development)

set(QINGHE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/QingheTaxCalc)
install(EXPORT QingheTaxCalcTargets NAMESPACE QingheTaxCalc::
  DESTINATION ${QINGHE_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QingheTaxCalcConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QingheTaxCalcConfig.cmake
  INSTALL_DESTINATION ${QINGHE_CMAKE_DIR})
# 0.x: a new minor version may change the library's interface.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QingheTaxCalcConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QingheTaxCalcConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/QingheTaxCalcConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/QingheTaxCalcFontCheck.cmake
              ${CMAKE_CURRENT_LIST_DIR}/QingheTaxCalcSongFaces.cmake
  DESTINATION ${QINGHE_CMAKE_DIR} COMPONENT development)
