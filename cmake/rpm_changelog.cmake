# SPDX-License-Identifier: GPL-2.0-or-later
# vtmediatool_rpm_changelog(SOURCE OUTPUT RELEASE) writes OUTPUT, the %changelog
# of the RPM, from SOURCE, the Debian changelog, so that a release is
# logged once. Each entry becomes
#   * Tue Dec 08 2026 Name <address> - VERSION-RELEASE
#   - first item
#     its next line
# Configuring again follows a change of SOURCE.

function(vtmediatool_rpm_changelog source output release)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
  file(READ "${source}" text)
  # A semicolon in the text must not split the list of lines.
  string(ASCII 31 semicolon)
  string(REPLACE ";" "${semicolon}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(log "")
  foreach(line IN LISTS lines)
    string(REPLACE "${semicolon}" ";" line "${line}")
    if(line MATCHES "^[a-z0-9][a-z0-9.+-]* \\(([^)]+)\\)")
      set(version "${CMAKE_MATCH_1}")
      set(items "")
    elseif(line MATCHES "^  \\* (.*)")
      string(APPEND items "- ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^    (.*)")
      string(APPEND items "  ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES
           "^ -- (.+)  ([A-Z][a-z][a-z]), ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) ")
      if(log)
        string(APPEND log "\n")
      endif()
      string(APPEND log "* ${CMAKE_MATCH_2} ${CMAKE_MATCH_4} ${CMAKE_MATCH_3} "
             "${CMAKE_MATCH_5} ${CMAKE_MATCH_1} - ${version}-${release}\n${items}")
    endif()
  endforeach()
  file(WRITE "${output}" "${log}")
endfunction()
