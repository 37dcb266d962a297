# SPDX-License-Identifier: GPL-2.0-or-later
# Run by CPack once it has made the packages (CPACK_POST_BUILD_SCRIPTS).
# CPack counts a symbolic link at the size of the file it leads to, so the
# ten links to the binary made Installed-Size ten times too large. This
# unpacks each .deb, counts its tree as dpkg-gencontrol does (a file or a
# link its own size rounded up to KiB, anything else 1 KiB) and packs it
# again with that Installed-Size.

find_program(vt_dpkg_deb dpkg-deb)
if(NOT vt_dpkg_deb)
  message(FATAL_ERROR "dpkg-deb is needed to set the package's Installed-Size")
endif()

# Sets OUT to BYTES in KiB, rounded up.
function(vt_kib out bytes)
  math(EXPR kib "(${bytes} + 1023) / 1024")
  set(${out} ${kib} PARENT_SCOPE)
endfunction()

foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND "${vt_dpkg_deb}" --raw-extract "${deb}" "${tree}"
                  RESULT_VARIABLE result)
  if(result)
    message(FATAL_ERROR "dpkg-deb --raw-extract ${deb}: ${result}")
  endif()

  set(size 1) # the top directory
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${tree}"
       "${tree}/*")
  foreach(entry IN LISTS entries)
    if(entry MATCHES "^DEBIAN(/|$)")
      continue()
    endif()
    set(path "${tree}/${entry}")
    if(IS_SYMLINK "${path}")
      file(READ_SYMLINK "${path}" to)
      string(LENGTH "${to}" bytes)
      vt_kib(kib ${bytes})
    elseif(IS_DIRECTORY "${path}")
      set(kib 1)
    else()
      file(SIZE "${path}" bytes)
      vt_kib(kib ${bytes})
    endif()
    math(EXPR size "${size} + ${kib}")
  endforeach()

  file(READ "${tree}/DEBIAN/control" control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${size}\n"
         control "${control}")
  file(WRITE "${tree}/DEBIAN/control" "${control}")
  execute_process(COMMAND "${vt_dpkg_deb}" --root-owner-group --build
                          "${tree}" "${deb}"
                  RESULT_VARIABLE result OUTPUT_QUIET)
  if(result)
    message(FATAL_ERROR "dpkg-deb --build ${deb}: ${result}")
  endif()
  file(REMOVE_RECURSE "${tree}")
  message(STATUS "${deb}: Installed-Size ${size} KiB")
endforeach()
