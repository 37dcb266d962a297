#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Checks the Debian package that make_packages.sh made in PACKAGES_DIR:
# its contents, its control fields, the hardening of its binary and, where
# lintian is installed, that lintian (pedantic, every tag shown) finds no
# error or warning in it and no missing hardening. An override belongs in
# the package with a comment that says why. Where rpmbuild is installed,
# the RPM too: the same program files, the licence text as its %license,
# the users' README as its %doc and Fedora's tags, and rpmlint finds
# nothing.
# Usage: package_test.sh PACKAGES_DIR SOURCE_DIR VERSION BINDIR LIBEXECDIR
#                        MANDIR DATADIR "INSTALLED CODES"
set -u
packages=$1 source=$2 version=$3 bindir=./usr/$4
helper=./usr/$5/vtmediatoollpr/vtmediatoollpr
mandir=./usr/$6/man1 completions=./usr/$7/bash-completion/completions
read -r -a installed <<< "${8//;/ }"
. "$(dirname "$0")/checks.sh"
need "dpkg-dev, file" cpack dpkg-deb dpkg-shlibdeps file
scratch vtpackage

arch=$(dpkg --print-architecture)
readme=./usr/share/doc/vtmediatoollpr/README
deb=$packages/vtmediatoollpr_${version}_$arch.deb
if [[ ! -f $deb ]]; then
    echo "FAIL: no $deb; cpack made: $(ls "$packages")"
    exit 1
fi
ok "cpack -G DEB made $(basename "$deb")"

# Contents: exactly the binary out of the PATH, the compressed manual
# page, the completion and one relative link to each per model, the
# users' README, the copyright file and the changelog, all owned by root.
listing=$(dpkg-deb -c "$deb")
got=$(awk '$1 !~ /^d/ { print $6, $7, $8 }' <<< "$listing" | sort)
want=$(
    echo "$helper  "
    echo "$mandir/vtmediatoollpr.1.gz  "
    echo "$completions/vtmediatoollpr  "
    echo "$readme  "
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
    ok "contents: binary, manual page, completion, ${#installed[@]} links each, README"
else
    fail "contents differ (< expected, > packaged):"
    diff <(echo "$want") <(echo "$got")
fi
same "every entry is root's, the binary executable" "" "$(awk -v h="$helper" \
     '$2 != "root/root" || ($6 == h && $1 != "-rwxr-xr-x")' <<< "$listing")"

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
check_field Suggests '^lprng$'
# A summary line, then extended lines each indented by exactly one blank.
nl=$'\n'
check_field Description \
    "^label-format tool [^$nl]*LPRng($nl [^ $nl][^$nl]*)+\$"
same "the summary appears once" 1 \
     "$(field Description | grep -c 'label-format tool')"
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

# The README is the users' one, not the repository's (which is for
# building from source): it names every installed model name and the
# manual page, and says nothing of building or testing.
bad=""
for code in "${installed[@]}"; do
    grep -q "^    vtmediatoollpr_$code  " "$tmp/root/$readme" ||
        bad+=" vtmediatoollpr_$code"
done
grep -q "man vtmediatoollpr" "$tmp/root/$readme" || bad+=" (no manual page)"
grep -q -e cmake -e run-tests -e demo.sh "$tmp/root/$readme" &&
    bad+=" (speaks of building)"
same "the README is the users': model names, the manual, no build" "" "$bad"

# The packaged changelog is the project's, and its newest entry is this
# version, which a release easily forgets.
zcat "$tmp/root/usr/share/doc/vtmediatoollpr/changelog.gz" > "$tmp/changelog"
same "the changelog's newest entry is $version" "$version" \
     "$(dpkg-parsechangelog -l "$tmp/changelog" -S Version 2>&1)"
# shlibdeps: the runtimes the binary links, with versions; a statically
# linked binary needs none.
static=no
file -b "$tmp/root/$helper" | grep -q 'statically linked' && static=yes
if [[ $static == yes ]]; then
    same "Depends: none, the binary is statically linked" "" "$(field Depends)"
else
    check_field Depends '(^|, )libc6 \(>= [0-9.]+\)'
    check_field Depends '(^|, )libstdc\+\+6 \(>= [0-9.]+\)'
fi

# What the package installs runs: a model name shows its usage screen.
# Bounded like every other run of the tool the tests make (64 MiB, in
# the KiB ulimit counts), so that a runaway write fails here instead of
# filling the disk.
out=$(ulimit -f 65536 && "$tmp/root/$bindir/vtmediatoollpr_${installed[0]}")
status=$?
if (( status == 2 )) && [[ $out == *"\"vtmediatoollpr_${installed[0]} -P "* ]]
then
    ok "the packaged vtmediatoollpr_${installed[0]} prints its usage screen"
else
    fail "the packaged vtmediatoollpr_${installed[0]}: status $status: $out"
fi
stripped "$tmp/root/$helper" "the packaged binary"

# Hardening: position-independent, read-only relocations bound at start,
# the stack protector and the checked (_chk) string and memory calls.
# Debian's C start files have no control-flow-protection note, so no
# binary linked with them shows one, however its own code was built.
if [[ $static == yes ]]; then
    echo "the binary is statically linked; its hardening is not checked"
elif command -v hardening-check >/dev/null 2>&1; then
    if out=$(hardening-check --nocfprotection "$tmp/root/$helper" 2>&1); then
        ok "hardening-check finds every protection but control flow"
    else
        fail "hardening-check:"; echo "$out"
    fi
else
    dynamic=$(readelf -dW "$tmp/root/$helper")
    symbols=$(readelf --dyn-syms -W "$tmp/root/$helper")
    if [[ $dynamic == *BIND_NOW* && $symbols == *" __stack_chk_fail"* ]] &&
       grep -q ' __[a-z0-9_]*_chk' <<< "$symbols" &&
       readelf -lW "$tmp/root/$helper" | grep -q GNU_RELRO
    then
        ok "readelf: BIND_NOW, RELRO, __stack_chk_fail and _chk calls"
    else
        fail "readelf: BIND_NOW, RELRO, __stack_chk_fail or _chk calls missing"
    fi
fi

if command -v lintian >/dev/null 2>&1; then
    # lintian complains on standard error about running as root; only the
    # tags on standard output count.
    lintian -I -E --pedantic --fail-on error,warning "$deb" \
        > "$tmp/tags" 2> "$tmp/lintian.err"
    status=$?
    cat "$tmp/tags"
    if (( status == 0 )) && ! grep -q -e '^[EW]: ' -e ' hardening-' "$tmp/tags"
    then
        ok "lintian reports no error, warning or hardening tag"
    else
        grep -v 'running with root privileges' "$tmp/lintian.err"
        fail "lintian (status $status)"
    fi
else
    echo "lintian is not installed (Debian: lintian); its check is skipped"
fi

# The RPM holds the program files of the .deb, owns its own two
# directories and no other, and carries the licence text, not Debian's
# copyright file, which points at a file only Debian has.
if command -v rpmbuild >/dev/null 2>&1; then
    if rpm=$(ls "$packages"/vtmediatoollpr-"$version"-1*.rpm 2> /dev/null)
    then
        ok "cpack -G RPM made $(basename "$rpm")"
        # path size mtime digest mode owner group config doc rdev link
        dump=$(rpm -qp --dump "$rpm")
        rpm_files=$(awk '$5 !~ /^04/ { link = $5 ~ /^012/ ? "-> " $11 : " "
                                       print "." $1, link }' <<< "$dump" |
                    sort)
        licence=/usr/share/licenses/vtmediatoollpr/LICENSE
        program=$(grep -v '^\./usr/share/doc/' <<< "$got")
        if [[ $rpm_files == "$(sort <<< "$program$nl.$licence  $nl$readme  ")" ]]
        then
            ok "the RPM holds the program files and links of the .deb, the README"
        else
            fail "RPM and .deb files differ (< .deb, > RPM):"
            diff <(echo "$program") <(echo "$rpm_files")
        fi
        same "the RPM owns its three directories only" \
             "$(printf '%s\n' "${helper%/*}" ".${licence%/*}" "${readme%/*}" |
                sort | tr '\n' ' ')" \
             "$(awk '$5 ~ /^04/ { print "." $1 }' <<< "$dump" | sort | tr '\n' ' ')"
        # rpmbuild marks what lies in the documentation directories %doc.
        same "the README is among the RPM's %doc" "${readme#.}" \
             "$(rpm -qp --docfiles "$rpm" | grep -x "${readme#.}")"
        same "the RPM's entries are root's, the binary executable" 0100755 \
             "$(awk -v h="$helper" '$6 != "root" || $7 != "root"
                                    "." $1 == h { print $5 }' <<< "$dump")"
        digest=$(awk '$1 == l { print $4 }' l="$licence" <<< "$dump")
        if [[ $(rpm -qp --licensefiles "$rpm") == "$licence" &&
              $digest == "$(sha256sum < "$source/LICENSE" | cut -d' ' -f1)" &&
              $(rpm -qp --qf '%{LICENSE}' "$rpm") == GPL-2.0-or-later ]]; then
            ok "License GPL-2.0-or-later, the GPL text marked %license"
        else
            fail "License or %license: $(rpm -qp --qf '%{LICENSE}' "$rpm")" \
                 "$(rpm -qp --licensefiles "$rpm") (sha256 $digest)"
        fi
        # No Group tag (rpm shows its absence as Unspecified), and the
        # distribution's tag after the release where rpmbuild has one.
        same "no Group tag; release 1%{?dist}" \
             "Unspecified 1$(rpm --eval '%{?dist}')" \
             "$(rpm -qp --qf '%{GROUP} %{RELEASE}' "$rpm")"
        if command -v rpmlint >/dev/null 2>&1; then
            rpmlint -c "$source/packaging/rpmlint.toml" "$rpm" \
                > "$tmp/rpmlint" 2>&1
            status=$?
            grep -e ': [EW]: ' -e ' checked;' "$tmp/rpmlint"
            if (( status == 0 )) && ! grep -q ': [EW]: ' "$tmp/rpmlint"; then
                ok "rpmlint reports no error or warning"
            else
                fail "rpmlint (status $status)"
            fi
        else
            echo "rpmlint is not installed (Debian: rpmlint); its check is skipped"
        fi
    else
        fail "cpack -G RPM made no vtmediatoollpr-$version-1.*.rpm"
    fi
else
    echo "rpmbuild is not installed (Debian: rpm); the RPM checks are skipped"
fi

finish package
