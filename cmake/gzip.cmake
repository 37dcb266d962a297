# SPDX-License-Identifier: GPL-2.0-or-later
# vtmediatool_gzip(TARGET SOURCE OUTPUT) adds TARGET, built by default,
# which compresses SOURCE into OUTPUT (SOURCE's name with .gz) with
# `gzip -9n`: the best compression, and no name or time stamp in the
# header, so that the same source always gives the same bytes. Debian
# ships manual pages and changelogs so.

find_program(VTMEDIATOOL_GZIP gzip)
if(NOT VTMEDIATOOL_GZIP)
  message(FATAL_ERROR "gzip is needed to compress the manual page")
endif()

function(vtmediatool_gzip target source output)
  string(REGEX REPLACE "\\.gz$" "" plain "${output}")
  get_filename_component(dir "${output}" DIRECTORY)
  add_custom_command(OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
    COMMAND "${CMAKE_COMMAND}" -E copy "${source}" "${plain}"
    COMMAND "${VTMEDIATOOL_GZIP}" -9nf "${plain}"
    DEPENDS "${source}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS "${output}")
endfunction()
