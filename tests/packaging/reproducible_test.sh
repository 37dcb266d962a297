#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the tool once more from a copy of the source, in another
# directory, with BUILD_DIR's settings and without the tests, and checks
# that the packages of the two builds are the same bytes: neither
# directory, nor the time of the build, nor the order of the files gets
# into them. BUILD_DIR's packages get their time from cpack alone, the
# copy's (which has no git) from SOURCE_DATE_EPOCH as doc/PACKAGING.md says to
# set it, so the two agree only if cpack follows that rule.
# Usage: reproducible_test.sh BUILD_DIR SOURCE_DIR
set -u
build=$1 source=$2
. "$(dirname "$0")/checks.sh"
need dpkg-dev cpack dpkg-deb
# The sanitizers name each source file by its full path in the binary,
# out of reach of the prefix maps; such a build is never shipped.
if grep -q '^CMAKE_CXX_FLAGS[A-Z_]*:[A-Z]*=.*-fsanitize' \
        "$build/CMakeCache.txt"; then
    echo "a sanitizer build keeps its source paths; packages not compared"
    exit 77
fi
generators=DEB
if command -v rpmbuild >/dev/null 2>&1; then
    generators+=";RPM"
else
    echo "rpmbuild is not installed (Debian: rpm); only the .deb is compared"
fi
scratch vtrepro

epoch=$(git -C "$source" log -1 --format=%ct 2>/dev/null) ||
    epoch=$(date -u +%s -d "$(sed -n 's/^ -- .*  //p' \
                                  "$source/packaging/changelog" | head -n 1)")

mkdir "$tmp/source"
tar -C "$source" --exclude='./build*' --exclude=./.git \
    --exclude=./fuzz/corpus-work -cf - . | tar -C "$tmp/source" -xf -

# The settings of BUILD_DIR that can reach the packaged files.
settings=()
while IFS= read -r line; do
    settings+=("-D$line")
done < <(grep -E '^(CMAKE_BUILD_TYPE|CMAKE_CXX_COMPILER|CMAKE_(CXX|EXE_LINKER)_FLAGS[A-Z_]*|CMAKE_INSTALL_[A-Z_]+|VTMEDIATOOL_[A-Z_]+):(STRING|PATH|FILEPATH|BOOL)=' \
              "$build/CMakeCache.txt")
generator=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$build/CMakeCache.txt")
again=$tmp/again
if cmake -S "$tmp/source" -B "$again" -G "$generator" "${settings[@]}" \
         -DVTMEDIATOOL_BUILD_TESTS=OFF > "$tmp/again.log" 2>&1 &&
   cmake --build "$again" --parallel 2 --target vtmediatoollpr \
         >> "$tmp/again.log" 2>&1
then
    ok "the tool builds again from a copy of the source in $again"
else
    cat "$tmp/again.log"
    fail "the second build"
    exit 1
fi

if env -u SOURCE_DATE_EPOCH \
       cpack -G "$generators" --config "$build/CPackConfig.cmake" \
             -B "$tmp/first" > "$tmp/first.log" 2>&1 &&
   SOURCE_DATE_EPOCH=$epoch \
       cpack -G "$generators" --config "$again/CPackConfig.cmake" \
             -B "$tmp/second" > "$tmp/second.log" 2>&1
then
    ok "cpack -G $generators in both"
else
    cat "$tmp/first.log" "$tmp/second.log"
    fail "cpack"
    exit 1
fi

shopt -s nullglob
packages=("$tmp"/first/*.deb "$tmp"/first/*.rpm)
if (( ${#packages[@]} != $(tr ';' '\n' <<< "$generators" | wc -l) )); then
    fail "cpack made [$(ls "$tmp/first")] for $generators"
fi
for first in "${packages[@]}"; do
    name=$(basename "$first") second=$tmp/second/$(basename "$first")
    if cmp -s "$first" "$second"; then
        ok "$name: the same bytes, sha256 $(sha256sum < "$first" | cut -c1-16)..."
        continue
    fi
    fail "$name differs between the builds"
    # Where they differ: the binary's build-id, else the listings.
    readelf -n "$build/vtmediatoollpr" "$again/vtmediatoollpr" | grep 'Build ID'
    for package in "$first" "$second"; do
        if [[ $package == *.deb ]]; then
            dpkg-deb -c "$package"
        else
            rpm -qp --dump "$package"
        fi > "$package.list"
    done
    diff "$first.list" "$second.list" | head -n 20
done

finish reproducibility
