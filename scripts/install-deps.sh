#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what this machine lacks to build or test the tool, on Debian or
# Ubuntu. ./demo.sh asks for the build set, ./run-tests.sh for the test set.
#
#   scripts/install-deps.sh build   # the tool and the demo
#   scripts/install-deps.sh test    # the above, the tests and the packaging checks
#
# As root, installs what is missing with apt-get (one update, no
# questions asked). As anyone else, prints the one apt-get line that would
# and exits 1. Where everything is there it changes nothing and only looks
# for a file or a command per package.
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
  devscripts cmd:hardening-check
  # The completion in an interactive shell on a pseudo-terminal.
  tmux cmd:tmux
  bash-completion /usr/share/bash-completion/bash_completion
  # The Ansible collection's playbook, sanity and documentation checks.
  ansible-core cmd:ansible-playbook
)

missing=()
# check LIST_NAME: adds each package of the list whose witness is absent
# to missing.
check() {
  local -n list=$1
  local i witness
  for ((i = 0; i < ${#list[@]}; i += 2)); do
    witness=${list[i + 1]}
    if [[ $witness == cmd:* ]]; then
      command -v "${witness#cmd:}" >/dev/null && continue
    else
      [[ -e $witness ]] && continue
    fi
    missing+=("${list[i]}")
  done
}
check build
[[ $set_name == build ]] || check tests
[[ ${#missing[@]} -eq 0 ]] && exit 0

# Recommends would bring a packager's desktop with devscripts, and
# nothing here needs them.
install=(apt-get install -y --no-install-recommends "${missing[@]}")
if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null; then
  echo "$0: missing ${missing[*]}; as root run:" \
       "apt-get update && ${install[*]}" >&2
  exit 1
fi

echo "$0: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -q >&2
"${install[@]}" >&2
