#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the tool once more, from a copy of the source in AGAIN_DIR/source,
# in AGAIN_DIR/build, with BUILD_DIR's settings and without the tests: the
# second of the two builds whose packages must be the same bytes, and the
# tree in which a choice of models is installed. The tree is kept, so that
# a later run rebuilds only what changed in the source.
# Usage: build_again.sh BUILD_DIR SOURCE_DIR AGAIN_DIR
set -u
build=$1 source=$2 again=$3
. "$(dirname "$0")/checks.sh"
unsanitized "$build"

rm -rf "$again/source"
mkdir -p "$again/source"
# tar keeps the times of the files, so that make sees what changed.
tar -C "$source" --exclude='./build*' --exclude=./.git \
    --exclude=./fuzz/corpus-work -cf - . | tar -C "$again/source" -xf -

# The settings of BUILD_DIR that can reach the packaged files.
settings=()
while IFS= read -r line; do
    settings+=("-D$line")
done < <(grep -E '^(CMAKE_BUILD_TYPE|CMAKE_CXX_COMPILER|CMAKE_(CXX|EXE_LINKER)_FLAGS[A-Z_]*|CMAKE_INSTALL_[A-Z_]+|VTMEDIATOOL_[A-Z_]+):(STRING|PATH|FILEPATH|BOOL)=' \
              "$build/CMakeCache.txt")
generator=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$build/CMakeCache.txt")
log=$again/build.log
if cmake -S "$again/source" -B "$again/build" -G "$generator" \
         "${settings[@]}" -DVTMEDIATOOL_BUILD_TESTS=OFF > "$log" 2>&1 &&
   cmake --build "$again/build" --parallel 2 >> "$log" 2>&1
then
    ok "the tool builds again from a copy of the source in $again"
else
    cat "$log"
    fail "the second build"
fi
finish "second-build"
