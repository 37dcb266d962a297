#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what this machine lacks to build or test the tool, on Debian or
# Ubuntu.
#
#   scripts/install-deps.sh build   # the tool and the demo
#   scripts/install-deps.sh test    # the above, the tests and the packaging checks
#
# As root, installs what is missing with apt-get (one update, no
# questions asked). As anyone else, prints the one apt-get line that would
# and exits 1. Changes nothing where everything is there.
set -euo pipefail

set_name=${1:-}
case $set_name in
  build|test) ;;
  *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac

# Each entry: a package, then the file or command that shows it is there.
build=(
  cmake cmd:cmake
  g++ cmd:g++
  make cmd:make
  libattr1-dev /usr/include/attr/libattr.h
)
tests=(
  libgtest-dev /usr/include/gtest/gtest.h
  # The manual-page, completion and package checks.
  groff-base cmd:groff
  dpkg-dev cmd:dpkg-shlibdeps
  file cmd:file
  lintian cmd:lintian
  rpm cmd:rpmbuild
  rpmlint cmd:rpmlint
  bash-completion /usr/share/bash-completion/bash_completion
)
# devscripts' hardening-check; without its recommends, a packager's
# desktop.
lean=(
  devscripts cmd:hardening-check
)

missing=()
missing_lean=()
# check LIST_NAME OUT_NAME: adds each package of the list whose witness is
# absent to the array OUT_NAME.
check() {
  local -n list=$1 out=$2
  local i package witness
  for ((i = 0; i < ${#list[@]}; i += 2)); do
    package=${list[i]}
    witness=${list[i + 1]}
    if [[ $witness == cmd:* ]]; then
      command -v "${witness#cmd:}" >/dev/null && continue
    else
      [[ -e $witness ]] && continue
    fi
    out+=("$package")
  done
}
check build missing
if [[ $set_name == test ]]; then
  check tests missing
  check lean missing_lean
fi

[[ ${#missing[@]} -eq 0 && ${#missing_lean[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  line="apt-get install -y ${missing[*]}"
  [[ ${#missing_lean[@]} -eq 0 ]] ||
    line+="${missing[*]:+ && apt-get install -y} --no-install-recommends ${missing_lean[*]}"
  echo "$0: missing packages; as root run:" >&2
  echo "  apt-get update && $line" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
echo "installing: ${missing[*]} ${missing_lean[*]}" >&2
apt-get update -q >&2
[[ ${#missing[@]} -eq 0 ]] || apt-get install -y -q "${missing[@]}" >&2
[[ ${#missing_lean[@]} -eq 0 ]] ||
  apt-get install -y -q --no-install-recommends "${missing_lean[@]}" >&2
