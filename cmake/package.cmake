# SPDX-License-Identifier: GPL-2.0-or-later
# Debian package of what cmake/install.cmake installs: `cpack -G DEB` in
# the build directory.

set(VTMEDIATOOL_PACKAGE_MAINTAINER
    "Vantrel driver maintainers <vtmediatoollpr@vantrel.invalid>"
    CACHE STRING "Maintainer field of the Debian package (Name <address>)")

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

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

include(CPack)
