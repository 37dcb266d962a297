#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Checks that the packages of the main build (made in PACKAGES_DIR by
# make_packages.sh) and those of the second build (AGAIN_DIR/build, from a
# copy of the source in another directory, made by build_again.sh) are the
# same bytes: neither directory, nor the time of the build, nor the order
# of the files gets into them. The main build's packages get their time
# from cpack alone, the copy's from SOURCE_DATE_EPOCH as doc/PACKAGING.md
# says to set it, so the two agree only if cpack follows that rule.
# Usage: reproducible_test.sh BUILD_DIR PACKAGES_DIR AGAIN_DIR SOURCE_DIR
set -u
build=$1 packages=$2 again=$3 source=$4
. "$(dirname "$0")/checks.sh"
need dpkg-dev cpack dpkg-deb
unsanitized "$build"
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

if SOURCE_DATE_EPOCH=$epoch \
       cpack -G "$generators" --config "$again/build/CPackConfig.cmake" \
             -B "$tmp/second" > "$tmp/second.log" 2>&1
then
    ok "cpack -G $generators in the second build"
else
    cat "$tmp/second.log"
    fail "cpack"
    exit 1
fi

# listing PACKAGE: its files, for showing where two packages differ.
listing() {
    if [[ ! -f $1 ]]; then
        echo "no $1"
    elif [[ $1 == *.deb ]]; then
        dpkg-deb -c "$1"
    else
        rpm -qp --dump "$1"
    fi
}

shopt -s nullglob
first_made=("$packages"/*.deb "$packages"/*.rpm)
if (( ${#first_made[@]} != $(tr ';' '\n' <<< "$generators" | wc -l) )); then
    fail "the main build's packages are [${first_made[*]}] for $generators"
fi
for first in "${first_made[@]}"; do
    name=$(basename "$first") second=$tmp/second/$(basename "$first")
    if cmp -s "$first" "$second"; then
        ok "$name: the same bytes, sha256 $(sha256sum < "$first" | cut -c1-16)..."
        continue
    fi
    fail "$name differs between the builds"
    # Where they differ: the binary's build-id, else the listings.
    readelf -n "$build/vtmediatoollpr" "$again/build/vtmediatoollpr" |
        grep 'Build ID'
    diff <(listing "$first") <(listing "$second") | head -n 20
done

finish reproducibility
