# SPDX-License-Identifier: GPL-2.0-or-later
# Debian package of what cmake/install.cmake installs: `cpack -G DEB` in
# the build directory. The copyright and changelog files every Debian
# package carries are installed by `cmake --install` as well.

set(VTMEDIATOOL_PACKAGE_MAINTAINER
    "Vantrel driver maintainers <vtmediatoollpr@vantrel.invalid>"
    CACHE STRING "Maintainer field of the Debian package (Name <address>)")

include(${CMAKE_CURRENT_LIST_DIR}/gzip.cmake)
set(vtmediatool_changelog "${PROJECT_BINARY_DIR}/doc/changelog")
vtmediatool_gzip(vtmediatool_changelog "${PROJECT_SOURCE_DIR}/packaging/changelog"
                 "${vtmediatool_changelog}.gz")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright"
              "${vtmediatool_changelog}.gz"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vtmediatoollpr)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${VTMEDIATOOL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "label-format tool of the Vantrel label-printer driver for LPRng")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debug information stays in the build tree, not in the package.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VTMEDIATOOL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary above this and indents it as dpkg wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Adds a custom label format (a name, a width and a height in millimetres)
to the Vantrel label-printer driver, or deletes one by name, so that the
driver offers it as a selectable custom tape or label. One executable
serves three roll-label models (rk210, rk260, rk380mx) and seven tape
models (tx4100zn, txr580, txr520, txr390k, txr330qe, txr300, txd270),
installed as vtmediatoollpr_<model>.")
# Dependencies come from the libraries the binary actually links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack counts every link to the binary at the binary's size; the package
# gets its Installed-Size put right once made.
if(CMAKE_VERSION VERSION_LESS 3.19)
  message(WARNING "CMake ${CMAKE_VERSION} cannot run scripts after CPack "
          "(3.19 can): the package's Installed-Size will be too large")
endif()
set(CPACK_POST_BUILD_SCRIPTS
    "${CMAKE_CURRENT_LIST_DIR}/deb_installed_size.cmake")

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

include(CPack)
