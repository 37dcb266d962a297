#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the Debian package with cpack and runs lintian on it, pedantic
# and with every tag shown; any error or warning tag fails. An override
# belongs in the package with a comment that says why.
# Usage: lintian_test.sh BUILD_DIR
set -u
build=$1

for tool in cpack lintian dpkg-shlibdeps; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed (Debian: lintian, dpkg-dev); skipping"
        exit 77
    fi
done

tmp=$(mktemp -d /tmp/vtlintian.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" \
        > "$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi

# lintian complains on standard error about running as root; only the
# tags on standard output count.
lintian -I -E --pedantic --fail-on error,warning "$tmp"/*.deb \
    > "$tmp/tags" 2> "$tmp/stderr"
status=$?
cat "$tmp/tags"
if (( status == 0 )) && ! grep -q '^[EW]: ' "$tmp/tags"; then
    echo "ok: lintian reports no error or warning tag"
else
    grep -v 'running with root privileges' "$tmp/stderr"
    echo "FAIL: lintian (status $status)"
    exit 1
fi
