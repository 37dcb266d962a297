# SPDX-License-Identifier: GPL-2.0-or-later
# Debian and RPM packages of what cmake/install.cmake installs: `cpack -G
# DEB` or `cpack -G RPM` in the build directory. The copyright and
# changelog files every Debian package carries are installed by `cmake
# --install` as well; the RPM carries the licence text instead, where
# Fedora keeps licences, and its changelog in rpm's %changelog only
# (cmake/cpack_project.cmake chooses the parts each package is made of).
# Two builds of one commit give the same bytes: cmake/cpack_project.cmake
# sets SOURCE_DATE_EPOCH when cpack runs.

set(VTMEDIATOOL_PACKAGE_MAINTAINER
    "Vantrel driver maintainers <vtmediatoollpr@vantrel.invalid>"
    CACHE STRING "Maintainer field of the Debian package (Name <address>)")

include(${CMAKE_CURRENT_LIST_DIR}/gzip.cmake)
set(vtmediatool_changelog "${PROJECT_BINARY_DIR}/doc/changelog")
vtmediatool_gzip(vtmediatool_changelog "${PROJECT_SOURCE_DIR}/packaging/changelog"
                 "${vtmediatool_changelog}.gz")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright"
              "${vtmediatool_changelog}.gz"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}" COMPONENT debian_doc)
# Only the RPM asks for this part by name.
set(vtmediatool_licensedir
    "${CMAKE_INSTALL_DATADIR}/licenses/${PROJECT_NAME}")
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE"
        DESTINATION "${vtmediatool_licensedir}"
        COMPONENT rpm_licence EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vtmediatoollpr)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${VTMEDIATOOL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VENDOR "Vantrel driver maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "label-format tool of the Vantrel label-printer driver for LPRng")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debug information stays in the build tree, not in the package.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VTMEDIATOOL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The print system whose queues -P names.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS lprng)
# CPack puts the summary above this and indents it as dpkg wants.
set(vtmediatool_description
"Adds a custom label format (a name, a width and a height in millimetres)
to the Vantrel label-printer driver, or deletes one by name, so that the
driver offers it as a selectable custom tape or label. One executable
serves three roll-label models (rk210, rk260, rk380mx) and seven tape
models (tx4100zn, txr580, txr520, txr390k, txr330qe, txr300, txd270),
installed as vtmediatoollpr_<model>.")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${vtmediatool_description}")
# Dependencies come from the libraries the binary actually links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack counts every link to the binary at the binary's size; the package
# gets its Installed-Size put right once made.
if(CMAKE_VERSION VERSION_LESS 3.19)
  message(WARNING "CMake ${CMAKE_VERSION} cannot run scripts around CPack "
          "(3.19 can): the .deb's Installed-Size will be too large, and "
          "the RPM will keep the times its files were built")
endif()
set(CPACK_POST_BUILD_SCRIPTS
    "${CMAKE_CURRENT_LIST_DIR}/deb_installed_size.cmake")
# Every staged file takes the time SOURCE_DATE_EPOCH before it is packed.
set(CPACK_PRE_BUILD_SCRIPTS
    "${CMAKE_CURRENT_LIST_DIR}/source_date_mtimes.cmake")

set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_RELEASE 1)
# The distribution's tag (%{?dist}, as .fc40) where rpmbuild defines one.
set(CPACK_RPM_PACKAGE_RELEASE_DIST ON)
set(CPACK_RPM_PACKAGE_SUMMARY
    "Label-format tool of the Vantrel label-printer driver for LPRng")
set(CPACK_RPM_PACKAGE_DESCRIPTION "${vtmediatool_description}")
set(CPACK_RPM_PACKAGE_LICENSE GPL-2.0-or-later)
set(CPACK_RPM_PACKAGE_URL "https://vantrel.invalid/vtmediatoollpr")
# The paths are the FHS's; the tool is not made to run from elsewhere.
set(CPACK_PACKAGE_RELOCATABLE OFF)
# The package owns its own directories only, not the system's it puts
# files in.
# Sets OUT to where DIR, an install directory, lies in the package.
function(vtmediatool_packaged_path out dir)
  if(NOT IS_ABSOLUTE "${dir}")
    set(dir "${CPACK_PACKAGING_INSTALL_PREFIX}/${dir}")
  endif()
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION)
foreach(dir "${CMAKE_INSTALL_BINDIR}" "${CMAKE_INSTALL_LIBEXECDIR}"
            "${CMAKE_INSTALL_DATADIR}" "${CMAKE_INSTALL_DATADIR}/doc"
            "${CMAKE_INSTALL_MANDIR}" "${CMAKE_INSTALL_MANDIR}/man1"
            "${CMAKE_INSTALL_DATADIR}/licenses"
            "${CMAKE_INSTALL_DATADIR}/bash-completion"
            "${vtmediatool_completion_dir}")
  vtmediatool_packaged_path(dir "${dir}")
  list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION "${dir}")
endforeach()
vtmediatool_packaged_path(vtmediatool_rpm_licensedir
                          "${vtmediatool_licensedir}")
set(CPACK_RPM_USER_FILELIST "%license ${vtmediatool_rpm_licensedir}/LICENSE")
# CPack's own RPM template sets the Group tag, which Fedora has dropped;
# this one is CPack's without it.
set(CPACK_RPM_USER_BINARY_SPECFILE
    "${PROJECT_SOURCE_DIR}/packaging/vtmediatoollpr-rpm.in")
# Files go in as installed (already stripped, the manual page already
# compressed); rpm's own post-install steps would rework them.
set(CPACK_RPM_SPEC_INSTALL_POST /bin/true)
# The build time and host come from SOURCE_DATE_EPOCH and a fixed name,
# so that two builds give the same bytes.
# No /usr/lib/.build-id links: that directory is not this package's.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define packager ${VTMEDIATOOL_PACKAGE_MAINTAINER}
%define _buildhost reproducible
%define use_source_date_epoch_as_buildtime 1
%define _build_id_links none")
include(${CMAKE_CURRENT_LIST_DIR}/rpm_changelog.cmake)
vtmediatool_rpm_changelog("${PROJECT_SOURCE_DIR}/packaging/changelog"
                          "${PROJECT_BINARY_DIR}/doc/rpm-changelog"
                          ${CPACK_RPM_PACKAGE_RELEASE})
set(CPACK_RPM_CHANGELOG_FILE "${PROJECT_BINARY_DIR}/doc/rpm-changelog")

set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/cpack_project.cmake")
set(CPACK_VTMEDIATOOL_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
set(CPACK_VTMEDIATOOL_BINARY_DIR "${PROJECT_BINARY_DIR}")

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

include(CPack)
