# SPDX-License-Identifier: GPL-2.0-or-later
# Run by CPack once it has installed what it packs into its staging
# directory (CPACK_PRE_BUILD_SCRIPTS). Every file, link and directory
# there takes the time SOURCE_DATE_EPOCH (cmake/cpack_project.cmake sets
# it), so that the packages do not keep when the files were built. rpm
# can only lower later times to it, and a file built before the last
# commit is earlier.

if(NOT "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds")
endif()
execute_process(COMMAND find "${CPACK_TEMPORARY_INSTALL_DIRECTORY}"
                        -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
                RESULT_VARIABLE vt_result)
if(vt_result)
  message(FATAL_ERROR "cannot set the time of the staged files: ${vt_result}")
endif()
