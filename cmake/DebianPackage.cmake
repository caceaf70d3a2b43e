# cpack -G DEB: the program, its launcher entry, AppStream description,
# icons, manual page, copyright and changelog, for Debian 12. The library
# and headers are for developers and stay out of it (cmake --install puts
# them in place).
set(CPACK_PACKAGE_NAME qinghe-taxcalc)
set(CPACK_PACKAGE_VENDOR "Qinghe")
# Set the real maintainer at release time: -DQINGHE_MAINTAINER="Name <mail>".
set(QINGHE_MAINTAINER "Qinghe TaxCalc developers <taxcalc@qinghe.invalid>" CACHE STRING
  "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${QINGHE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tax-rate calculator with a running tape")
set(CPACK_PACKAGE_DESCRIPTION
  "青禾税率计算器 is a four-function pocket calculator with a memory register and a
running tape of every step. Four tax keys set a rate and split an amount
into the price excluding tax, the tax and the total.")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};runtime;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries (Qt 6, libjpeg, the C++ runtime); the
# window's texts need the GB font, which no library pulls in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-gbsn00lp")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

# The same commit gives the same .deb: its dates come from the commit
# (cmake/DebianPackageDate.cmake), its directories do not follow the umask.
set(CPACK_QINGHE_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/DebianPackageDate.cmake")

# A cross build makes the package for the CPU it built for, its dependencies
# read from that CPU's libraries (dpkg-shlibdeps follows DEB_HOST_ARCH, set
# by cmake/DebianPackageDate.cmake before cpack runs it).
if(QINGHE_DEB_HOST_ARCH)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${QINGHE_DEB_HOST_ARCH})
endif()
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
