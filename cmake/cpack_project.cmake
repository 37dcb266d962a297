# SPDX-License-Identifier: GPL-2.0-or-later
# Read by cpack before it makes each package (CPACK_PROJECT_CONFIG_FILE).
# Sets SOURCE_DATE_EPOCH, unless the caller has set it, to the time of
# the last commit, or without git to the date of the newest entry of
# packaging/changelog. The packages take their time stamps from it
# (cmake/source_date_mtimes.cmake, CPack's DEB generator, dpkg-deb,
# rpmbuild), so that the packages of one commit are the same bytes
# wherever and whenever they are made.

if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(vt_source "${CPACK_VTMEDIATOOL_SOURCE_DIR}")
  set(vt_epoch "")
  find_program(vt_git git)
  if(vt_git)
    execute_process(COMMAND "${vt_git}" -C "${vt_source}" log -1 --format=%ct
                    OUTPUT_VARIABLE vt_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET RESULT_VARIABLE vt_result)
    if(vt_result)
      set(vt_epoch "")
    endif()
  endif()
  if(NOT vt_epoch MATCHES "^[0-9]+$")
    file(STRINGS "${vt_source}/packaging/changelog" vt_trailer
         REGEX "^ -- .*  " LIMIT_COUNT 1)
    string(REGEX REPLACE "^ -- .*  " "" vt_date "${vt_trailer}")
    execute_process(COMMAND date -u -d "${vt_date}" +%s
                    OUTPUT_VARIABLE vt_epoch OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
  if(NOT vt_epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "no time for SOURCE_DATE_EPOCH from git or from "
            "${vt_source}/packaging/changelog")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${vt_epoch}")
endif()

# Each package is made of the parts its distribution expects: the .deb
# of every part `cmake --install` installs, Debian's copyright file and
# changelog among them; the RPM of the program's parts and the licence
# text, its %license, with the changelog in rpm's %changelog only.
if(CPACK_GENERATOR STREQUAL "RPM")
  set(vt_build "${CPACK_VTMEDIATOOL_BINARY_DIR}")
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${vt_build};vtmediatoollpr;Unspecified;/"
      "${vt_build};vtmediatoollpr;rpm_licence;/")
endif()
