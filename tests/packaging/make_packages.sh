#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the packages of BUILD_DIR once, in OUT_DIR, for the checks that
# read them: the .deb, and the RPM where rpmbuild is installed. Their
# time comes from cpack alone (SOURCE_DATE_EPOCH unset), as a packager's
# plain `cpack` gets it.
# Usage: make_packages.sh BUILD_DIR OUT_DIR
set -u
build=$1 out=$2
. "$(dirname "$0")/checks.sh"
need "dpkg-dev, file" cpack dpkg-deb dpkg-shlibdeps file
generators=DEB
if command -v rpmbuild >/dev/null 2>&1; then
    generators+=";RPM"
else
    echo "rpmbuild is not installed (Debian: rpm); only the .deb is made"
fi

rm -rf "$out"
mkdir -p "$out"
if env -u SOURCE_DATE_EPOCH \
       cpack -G "$generators" --config "$build/CPackConfig.cmake" -B "$out" \
       > "$out/cpack.log" 2>&1; then
    ok "cpack -G $generators"
else
    cat "$out/cpack.log"
    fail "cpack -G $generators"
fi
shopt -s nullglob
made=("$out"/*.deb "$out"/*.rpm)
same "one package for each of $generators" \
     "$(tr ';' '\n' <<< "$generators" | wc -l)" "${#made[@]}"
finish "package-making"
