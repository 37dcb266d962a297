# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the one executable where a multi-call helper belongs, out of
# the PATH: under its own name, which holds no model, it answers only
# --help and --version. Each model name is a relative symbolic link to it
# in the binaries directory, and the tool learns its model from the name
# it is started under. The manual page (compressed, as man expects it)
# and the bash completion get a link per model too, and a short README
# for users, naming the installed models, goes in the documentation
# directory. Links made at install time honour DESTDIR, which keeps
# `cmake --install`, staged installs and CPack all working.

include(GNUInstallDirs)

# The codes of the model table in src/cli/model.h.
set(VTMEDIATOOL_ALL_MODELS
    rk210 rk260 rk380mx tx4100zn txr580 txr520 txr390k txr330qe txr300 txd270)
# Those of them that print on roll labels; the others print on tape.
set(vtmediatool_roll_label_models rk210 rk260 rk380mx)
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
# --help ends with the names the tool is installed under.
string(REPLACE ";" " " vtmediatool_models_text "${vtmediatool_models}")
set_property(SOURCE src/cli/help.cc APPEND PROPERTY COMPILE_DEFINITIONS
             VT_INSTALLED_MODELS="${vtmediatool_models_text}")

set(vtmediatool_completion_dir
    "${CMAKE_INSTALL_DATADIR}/bash-completion/completions")

set(vtmediatool_helper_dir "${CMAKE_INSTALL_LIBEXECDIR}/vtmediatoollpr")

include(${CMAKE_CURRENT_LIST_DIR}/gzip.cmake)
set(vtmediatool_man "${PROJECT_BINARY_DIR}/man/vtmediatoollpr.1")
vtmediatool_gzip(vtmediatool_man "${PROJECT_SOURCE_DIR}/man/vtmediatoollpr.1"
                 "${vtmediatool_man}.gz")

install(TARGETS vtmediatoollpr RUNTIME DESTINATION "${vtmediatool_helper_dir}")
install(FILES "${vtmediatool_man}.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${PROJECT_SOURCE_DIR}/completion/vtmediatoollpr"
        DESTINATION "${vtmediatool_completion_dir}")

# The README says which names this install puts on the PATH, and which
# driver root the tool works on.
set(VT_README_MODELS "")
foreach(code IN LISTS vtmediatool_models)
  set(name "vtmediatoollpr_${code}")
  string(LENGTH "${name}" length)
  math(EXPR length "26 - ${length}")
  string(REPEAT " " ${length} blanks)
  if(code IN_LIST vtmediatool_roll_label_models)
    string(APPEND VT_README_MODELS "    ${name}${blanks}roll labels\n")
  else()
    string(APPEND VT_README_MODELS "    ${name}${blanks}tape\n")
  endif()
endforeach()
configure_file("${PROJECT_SOURCE_DIR}/packaging/README.in"
               "${PROJECT_BINARY_DIR}/doc/README" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/doc/README"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")

# Sets OUT to where PATH is at install time: PATH itself if absolute, else
# under the install prefix, which is read then so that
# `cmake --install --prefix` is obeyed.
function(vtmediatool_install_path out path)
  if(IS_ABSOLUTE "${path}")
    set(${out} "${path}" PARENT_SCOPE)
  else()
    set(${out} "\${CMAKE_INSTALL_PREFIX}/${path}" PARENT_SCOPE)
  endif()
endfunction()

# `strip` leaves the compiler's version strings in .comment; a stripped
# install (`cmake --install --strip`, and the package) drops them as well.
vtmediatool_install_path(vtmediatool_helper "${vtmediatool_helper_dir}")
if(CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
        --remove-section=.note
        \"\$ENV{DESTDIR}${vtmediatool_helper}/$<TARGET_FILE_NAME:vtmediatoollpr>\"
        RESULT_VARIABLE vt_result)
      if(vt_result)
        message(FATAL_ERROR \"cannot strip the tool: \${vt_result}\")
      endif()
    endif()
  ")
endif()

# Makes, at install time, DIR/vtmediatoollpr_<code>SUFFIX for every
# selected model: a symbolic link to TARGET, relative from DIR. DIR and
# TARGET are read as vtmediatool_install_path reads them.
function(vtmediatool_install_links dir target suffix)
  vtmediatool_install_path(base "${dir}")
  vtmediatool_install_path(to "${target}")
  install(CODE "
    file(RELATIVE_PATH vt_target \"${base}\" \"${to}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${base}\")
    foreach(vt_code ${vtmediatool_models})
      set(vt_link \"\$ENV{DESTDIR}${base}/vtmediatoollpr_\${vt_code}${suffix}\")
      message(STATUS \"Installing: \${vt_link} -> \${vt_target}\")
      file(CREATE_LINK \"\${vt_target}\" \"\${vt_link}\" RESULT vt_result
           SYMBOLIC)
      if(vt_result)
        message(FATAL_ERROR \"cannot link \${vt_link}: \${vt_result}\")
      endif()
      list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${vt_link}\")
    endforeach()
  ")
endfunction()

vtmediatool_install_links("${CMAKE_INSTALL_BINDIR}"
  "${vtmediatool_helper_dir}/$<TARGET_FILE_NAME:vtmediatoollpr>" "")
vtmediatool_install_links("${CMAKE_INSTALL_MANDIR}/man1"
  "${CMAKE_INSTALL_MANDIR}/man1/vtmediatoollpr.1.gz" .1.gz)
vtmediatool_install_links("${vtmediatool_completion_dir}"
  "${vtmediatool_completion_dir}/vtmediatoollpr" "")

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
