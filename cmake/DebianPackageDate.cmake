# Read by cpack before it makes the package (CPACK_PROJECT_CONFIG_FILE).
# A package for another CPU (a cross build) has dpkg-shlibdeps read that
# CPU's libraries and their symbols files.
if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
  set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
endif()

# Every date in the .deb (its members, every file and directory in it) is
# SOURCE_DATE_EPOCH; unless the caller sets it, that is the date of the last
# commit, so two builds of one commit give the same bytes.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  find_program(QINGHE_GIT git)
  if(QINGHE_GIT)
    execute_process(COMMAND ${QINGHE_GIT} -C ${CPACK_QINGHE_SOURCE_DIR} log -1 --format=%ct
      OUTPUT_VARIABLE qinghe_commit_date OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE qinghe_git_status ERROR_QUIET)
    if(qinghe_git_status EQUAL 0 AND qinghe_commit_date MATCHES "^[0-9]+$")
      set(ENV{SOURCE_DATE_EPOCH} ${qinghe_commit_date})
    endif()
  endif()
endif()
