#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the Debian package with cpack and checks its contents, its
# control fields and, where lintian is installed, that lintian (pedantic,
# every tag shown) finds no error or warning in it. An override belongs in
# the package with a comment that says why.
# Usage: package_test.sh BUILD_DIR VERSION BINDIR LIBEXECDIR MANDIR DATADIR
#                        "INSTALLED CODES"
set -u
build=$1 version=$2 bindir=./usr/$3 helper=./usr/$4/vtmediatoollpr/vtmediatoollpr
mandir=./usr/$5/man1 completions=./usr/$6/bash-completion/completions
read -r -a installed <<< "${7//;/ }"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

for tool in cpack dpkg-deb dpkg-shlibdeps file; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed (Debian: dpkg-dev, file); skipping"
        exit 77
    fi
done

tmp=$(mktemp -d /tmp/vtpackage.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" \
        > "$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi
arch=$(dpkg --print-architecture)
deb=$tmp/vtmediatoollpr_${version}_$arch.deb
if [[ ! -f $deb ]]; then
    echo "FAIL: no $deb; cpack made: $(ls "$tmp")"
    exit 1
fi
ok "cpack -G DEB made $(basename "$deb")"

# Contents: exactly the binary out of the PATH, the compressed manual
# page, the completion and one relative link to each per model, the
# copyright file and the changelog, all owned by root.
listing=$(dpkg-deb -c "$deb")
got=$(awk '$1 !~ /^d/ { print $6, $7, $8 }' <<< "$listing" | sort)
want=$(
    echo "$helper  "
    echo "$mandir/vtmediatoollpr.1.gz  "
    echo "$completions/vtmediatoollpr  "
    echo "./usr/share/doc/vtmediatoollpr/copyright  "
    echo "./usr/share/doc/vtmediatoollpr/changelog.gz  "
    for code in "${installed[@]}"; do
        echo "$bindir/vtmediatoollpr_$code -> $(realpath -m --relative-to="$bindir" "$helper")"
        echo "$mandir/vtmediatoollpr_$code.1.gz -> vtmediatoollpr.1.gz"
        echo "$completions/vtmediatoollpr_$code -> vtmediatoollpr"
    done
)
want=$(sort <<< "$want")
if [[ $got == "$want" ]]; then
    ok "contents: binary, manual page, completion, ${#installed[@]} links each"
else
    fail "contents differ (< expected, > packaged):"
    diff <(echo "$want") <(echo "$got")
fi
if grep -qx -- "-rwxr-xr-x root/root .* $helper" <<< "$listing"; then
    ok "the binary is executable and owned by root"
else
    fail "the binary's mode or owner:" \
         "$(grep " $helper\$" <<< "$listing")"
fi
others=$(awk '{ print $2 }' <<< "$listing" | grep -vx root/root)
if [[ -z $others ]]; then
    ok "every entry is owned by root"
else
    fail "entries not owned by root: $others"
fi

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
check_field() {
    local name=$1 pattern=$2 value
    value=$(field "$name")
    if [[ $value =~ $pattern ]]; then
        ok "$name: ${value%%$'\n'*}"
    else
        fail "$name is [$value], wanted /$pattern/"
    fi
}
check_field Package '^vtmediatoollpr$'
check_field Version "^${version//./\\.}$"
check_field Architecture "^$arch$"
check_field Maintainer '^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$'
# A summary line, then extended lines each indented by exactly one blank.
nl=$'\n'
check_field Description \
    "^label-format tool [^$nl]*LPRng($nl [^ $nl][^$nl]*)+\$"
if [[ $(field Description | grep -c 'label-format tool') == 1 ]]; then
    ok "the summary appears once"
else
    fail "the summary is repeated in the description"
fi
dpkg-deb -x "$deb" "$tmp/root"

# Installed-Size is what the unpacked tree takes: at least the bytes of
# its files and links in KiB, and at most one KiB more for each entry
# (rounding, directories).
size=$(field Installed-Size)
bytes=$(find "$tmp/root" ! -type d -printf '%s\n' | awk '{ n += $1 } END { print n }')
entries=$(find "$tmp/root" | wc -l)
low=$(( (bytes + 1023) / 1024 )) high=$(( bytes / 1024 + entries ))
if (( low <= size && size <= high )); then
    ok "Installed-Size $size KiB for $low KiB unpacked in $entries entries"
else
    fail "Installed-Size $size KiB, unpacked $low KiB in $entries entries"
fi

# The packaged changelog is the project's, and its newest entry is this
# version, which a release easily forgets.
doc=$tmp/root/usr/share/doc/vtmediatoollpr
zcat "$doc/changelog.gz" > "$tmp/changelog"
logged=$(dpkg-parsechangelog -l "$tmp/changelog" -S Version 2>&1)
if [[ $logged == "$version" ]]; then
    ok "the changelog's newest entry is $version"
else
    fail "the changelog's newest entry is [$logged], not $version"
fi
# shlibdeps: the runtimes the binary links, with versions; a statically
# linked binary needs none.
if file -b "$tmp/root/$helper" | grep -q 'statically linked'
then
    if [[ -z $(field Depends) ]]; then
        ok "Depends: none, the binary is statically linked"
    else
        fail "Depends is [$(field Depends)] for a statically linked binary"
    fi
else
    check_field Depends '(^|, )libc6 \(>= [0-9.]+\)'
    check_field Depends '(^|, )libstdc\+\+6 \(>= [0-9.]+\)'
fi

# What the package installs runs: a model name shows its usage screen.
out=$("$tmp/root/$bindir/vtmediatoollpr_${installed[0]}")
status=$?
if (( status == 0 )) && [[ $out == *"\"vtmediatoollpr_${installed[0]} -P "* ]]
then
    ok "the packaged vtmediatoollpr_${installed[0]} prints its usage screen"
else
    fail "the packaged vtmediatoollpr_${installed[0]}: status $status: $out"
fi
sections=$(readelf -SW "$tmp/root/$helper")
if [[ $sections != *" .symtab "* && $sections != *" .comment "* ]]; then
    ok "the packaged binary is stripped, .comment included"
else
    fail "the packaged binary keeps .symtab or .comment"
fi

if command -v lintian >/dev/null 2>&1; then
    # lintian complains on standard error about running as root; only the
    # tags on standard output count.
    lintian -I -E --pedantic --fail-on error,warning "$deb" \
        > "$tmp/tags" 2> "$tmp/lintian.err"
    status=$?
    cat "$tmp/tags"
    if (( status == 0 )) && ! grep -q '^[EW]: ' "$tmp/tags"; then
        ok "lintian reports no error or warning tag"
    else
        grep -v 'running with root privileges' "$tmp/lintian.err"
        fail "lintian (status $status)"
    fi
else
    echo "lintian is not installed (Debian: lintian); its check is skipped"
fi

if (( failures )); then
    echo "$failures package check(s) failed"
    exit 1
fi
echo "all package checks passed"
