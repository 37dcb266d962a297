# SPDX-License-Identifier: GPL-2.0-or-later
# The tool runs as root on files other users write, so every build is
# hardened as Debian's and Fedora's packages are: position-independent,
# with stack protection, checked string and memory calls, control-flow
# protection where the target has it, format strings that cannot be
# data, and a read-only relocation table bound at start.
#
# These go in front of CMAKE_CXX_FLAGS and CMAKE_EXE_LINKER_FLAGS, so a
# packager's own flags come after them and win (-fno-stack-protector,
# -Wl,-z,lazy, ...). A packager who sets _FORTIFY_SOURCE keeps that level.
# Prefix maps keep the build's directories out of the binary, so that
# two builds of one commit in two directories give the same bytes.

include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)

set(vtmediatool_hardening -Wformat -Werror=format-security)
foreach(flag -fstack-protector-strong -fstack-clash-protection
             -fcf-protection)
  string(MAKE_C_IDENTIFIER "VTMEDIATOOL_HAS${flag}" var)
  check_cxx_compiler_flag(${flag} ${var})
  if(${var})
    list(APPEND vtmediatool_hardening ${flag})
  endif()
endforeach()

check_cxx_compiler_flag("-ffile-prefix-map=a=b" VTMEDIATOOL_HAS_FILE_PREFIX_MAP)
if(VTMEDIATOOL_HAS_FILE_PREFIX_MAP)
  # The last matching map applies; the build directory may lie inside the
  # source directory.
  list(APPEND vtmediatool_hardening
       "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
       "-ffile-prefix-map=${PROJECT_BINARY_DIR}=.")
endif()

list(JOIN vtmediatool_hardening " " vtmediatool_hardening)
string(STRIP "${vtmediatool_hardening} ${CMAKE_CXX_FLAGS}" CMAKE_CXX_FLAGS)

set(CMAKE_REQUIRED_LINK_OPTIONS -Wl,-z,relro,-z,now)
check_cxx_source_compiles("int main() { return 0; }" VTMEDIATOOL_HAS_RELRO_NOW)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
if(VTMEDIATOOL_HAS_RELRO_NOW)
  string(STRIP "-Wl,-z,relro,-z,now ${CMAKE_EXE_LINKER_FLAGS}"
         CMAKE_EXE_LINKER_FLAGS)
endif()

if(NOT VTMEDIATOOL_STATIC)
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

# _FORTIFY_SOURCE needs optimisation: without it the C library warns and
# checks nothing, so a Debug build (-O0) goes without. Level 3 where the
# compiler and C library have it, else 2; the compiler may define a
# level of its own, hence the -U.
string(TOUPPER "${CMAKE_BUILD_TYPE}" vtmediatool_config)
if(NOT "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${vtmediatool_config}}"
       MATCHES "_FORTIFY_SOURCE")
  set(CMAKE_REQUIRED_FLAGS "-O2 -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=3")
  check_cxx_source_compiles("
    #include <cstring>
    #if !defined(__USE_FORTIFY_LEVEL) || __USE_FORTIFY_LEVEL < 3
    #error no level 3
    #endif
    int main() { return 0; }" VTMEDIATOOL_HAS_FORTIFY_3)
  unset(CMAKE_REQUIRED_FLAGS)
  if(VTMEDIATOOL_HAS_FORTIFY_3)
    set(vtmediatool_fortify 3)
  else()
    set(vtmediatool_fortify 2)
  endif()
  add_compile_options(
    "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=${vtmediatool_fortify}>")
endif()
