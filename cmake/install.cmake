# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the one executable under every model name it serves, with its
# manual page and bash completion. The tool learns its model from the name
# it is started under, so each model gets a relative symbolic link to the
# one binary; links made at install time honour DESTDIR, which keeps
# `cmake --install`, staged installs and CPack all working.

include(GNUInstallDirs)

# The codes of the model table in src/cli/model.cc.
set(VTMEDIATOOL_ALL_MODELS
    rk210 rk260 rk380mx tx4100zn txr580 txr520 txr390k txr330qe txr300 txd270)
set(VTMEDIATOOL_MODELS "${VTMEDIATOOL_ALL_MODELS}" CACHE STRING
    "Model codes to install the tool for (separated by ; or blanks)")

string(REPLACE " " ";" vtmediatool_models "${VTMEDIATOOL_MODELS}")
list(REMOVE_ITEM vtmediatool_models "")
if(NOT vtmediatool_models)
  message(FATAL_ERROR "VTMEDIATOOL_MODELS names no model; "
          "choose from: ${VTMEDIATOOL_ALL_MODELS}")
endif()
foreach(code IN LISTS vtmediatool_models)
  if(NOT code IN_LIST VTMEDIATOOL_ALL_MODELS)
    message(FATAL_ERROR "VTMEDIATOOL_MODELS: unknown model code '${code}'; "
            "choose from: ${VTMEDIATOOL_ALL_MODELS}")
  endif()
endforeach()
list(REMOVE_DUPLICATES vtmediatool_models)

set(vtmediatool_completion_dir
    "${CMAKE_INSTALL_DATADIR}/bash-completion/completions")

install(TARGETS vtmediatoollpr RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${PROJECT_SOURCE_DIR}/man/vtmediatoollpr.1"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${PROJECT_SOURCE_DIR}/completion/vtmediatoollpr"
        DESTINATION "${vtmediatool_completion_dir}")

# Makes, at install time, DIR/vtmediatoollpr_<code>SUFFIX -> TARGET for
# every selected model. DIR is relative to the install prefix unless
# absolute; the prefix is read at install time so that
# `cmake --install --prefix` is obeyed.
function(vtmediatool_install_links dir target suffix)
  if(IS_ABSOLUTE "${dir}")
    set(base "${dir}")
  else()
    set(base "\${CMAKE_INSTALL_PREFIX}/${dir}")
  endif()
  install(CODE "
    foreach(vt_code ${vtmediatool_models})
      set(vt_link \"\$ENV{DESTDIR}${base}/vtmediatoollpr_\${vt_code}${suffix}\")
      message(STATUS \"Installing: \${vt_link} -> ${target}\")
      file(CREATE_LINK \"${target}\" \"\${vt_link}\" RESULT vt_result SYMBOLIC)
      if(vt_result)
        message(FATAL_ERROR \"cannot link \${vt_link}: \${vt_result}\")
      endif()
      list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${vt_link}\")
    endforeach()
  ")
endfunction()

vtmediatool_install_links("${CMAKE_INSTALL_BINDIR}" vtmediatoollpr "")
vtmediatool_install_links("${CMAKE_INSTALL_MANDIR}/man1" vtmediatoollpr.1 .1)
vtmediatool_install_links("${vtmediatool_completion_dir}" vtmediatoollpr "")

# The same names beside the built binary, for running it from the build
# tree. All ten, whatever is installed: tests may use any model.
set(vtmediatool_link_commands)
foreach(code IN LISTS VTMEDIATOOL_ALL_MODELS)
  list(APPEND vtmediatool_link_commands
       COMMAND "${CMAKE_COMMAND}" -E create_symlink
               "$<TARGET_FILE_NAME:vtmediatoollpr>" "vtmediatoollpr_${code}")
endforeach()
add_custom_command(TARGET vtmediatoollpr POST_BUILD
  ${vtmediatool_link_commands}
  WORKING_DIRECTORY "$<TARGET_FILE_DIR:vtmediatoollpr>"
  VERBATIM)
