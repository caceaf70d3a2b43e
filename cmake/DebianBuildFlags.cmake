# Compiler and linker flags for a build that Debian would ship.
#
# QINGHE_DEBIAN_BUILD_FLAGS (on wherever dpkg-buildflags is installed) adds
# Debian's hardening flags to every target: the stack protector,
# _FORTIFY_SOURCE, format-string errors and -z relro -z now. Debian's
# packages get them from debhelper; this build asks dpkg-buildflags itself,
# so `cpack -G DEB` packages what a Debian maintainer would build. The
# sanitizer and fuzz builds turn it off: their runtimes replace the checked
# string functions and want their own optimisation level.
#
# Whatever the option, the file names written into objects (debug
# information, __FILE__) are made relative to the source and build trees, so
# two checkouts at different paths build the same bytes.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)

# The Debian architecture the build is for: the machine's own, or in a cross
# build (a toolchain file's CMAKE_LIBRARY_ARCHITECTURE, the GNU triplet) the
# target's, so that dpkg-buildflags gives that CPU's flags and the package is
# made for it.
set(QINGHE_DEB_HOST_ARCH "")
find_program(DPKG_ARCHITECTURE dpkg-architecture)
if(CMAKE_CROSSCOMPILING AND CMAKE_LIBRARY_ARCHITECTURE AND DPKG_ARCHITECTURE)
  execute_process(COMMAND ${DPKG_ARCHITECTURE} -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
    OUTPUT_VARIABLE QINGHE_DEB_HOST_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(QINGHE_DEB_HOST_ARCH)
  set(qinghe_host_arch_env "DEB_HOST_ARCH=${QINGHE_DEB_HOST_ARCH}")
else()
  set(qinghe_host_arch_env "")
endif()
if(DPKG_BUILDFLAGS)
  set(qinghe_debian_flags_default ON)
else()
  set(qinghe_debian_flags_default OFF)
endif()
option(QINGHE_DEBIAN_BUILD_FLAGS "Build with Debian's hardening flags (dpkg-buildflags)"
  ${qinghe_debian_flags_default})

if(QINGHE_DEBIAN_BUILD_FLAGS)
  if(NOT DPKG_BUILDFLAGS)
    message(FATAL_ERROR "QINGHE_DEBIAN_BUILD_FLAGS needs dpkg-buildflags (package dpkg-dev)")
  endif()
  # hardening=+all adds bindnow (-z now) to Debian's default set; a caller's
  # own DEB_BUILD_MAINT_OPTIONS wins.
  if(DEFINED ENV{DEB_BUILD_MAINT_OPTIONS})
    set(qinghe_maint_options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
  else()
    set(qinghe_maint_options "hardening=+all")
  endif()
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=${qinghe_maint_options}"
              ${qinghe_host_arch_env} ${DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE qinghe_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed (${status})")
    endif()
    separate_arguments(qinghe_${kind} UNIX_COMMAND "${qinghe_${kind}}")
  endforeach()
  # The build type keeps choosing -O and -g; Debian's own choice of them
  # would override a Debug build's -O0.
  list(FILTER qinghe_CXXFLAGS EXCLUDE REGEX "^-O[0-9sgz]?$|^-g[0-9]?$")
  # _FORTIFY_SOURCE needs the optimiser; without it glibc only warns.
  list(TRANSFORM qinghe_CPPFLAGS REPLACE "^(-D_FORTIFY_SOURCE=.*)$" "$<$<NOT:$<CONFIG:Debug>>:\\1>")
  add_compile_options(${qinghe_CPPFLAGS} ${qinghe_CXXFLAGS})
  add_link_options(${qinghe_LDFLAGS})
  message(STATUS "Debian build flags: ${qinghe_CPPFLAGS};${qinghe_CXXFLAGS};${qinghe_LDFLAGS}")
endif()

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  # The later map wins, so a build tree inside the source tree is named
  # after the build tree.
  add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                      "-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
endif()
