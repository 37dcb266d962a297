#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the build into a temporary prefix, and again staged under
# DESTDIR, and checks that every model name is a relative link to the one
# binary that prints that model's own usage screen.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR BINDIR MANDIR DATADIR
#                        "INSTALLED CODES" "ALL CODES"
set -u
build=$1 source=$2 bindir=$3 mandir=$4 datadir=$5
read -r -a installed <<< "${6//;/ }"
read -r -a all <<< "${7//;/ }"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

tmp=$(mktemp -d /tmp/vtinstall.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

# The list of models known to the build is the tool's own model table.
table=$(sed -n 's/^ *{ "[^"]*", "\([^"]*\)", [0-9]* },.*/\1/p' \
            "$source/src/cli/model.cc" | tr '\n' ' ')
if [[ "$table" == "${all[*]} " ]]; then
    ok "installable models are the codes of the model table"
else
    fail "installable models [${all[*]}] differ from the model table [$table]"
fi

# check_links ROOT: the links under ROOT (an installed prefix).
check_links() {
    local root=$1 code link target
    local -a dirs=("$root/$bindir" "$root/$mandir/man1"
                   "$root/$datadir/bash-completion/completions")
    local -a targets=(vtmediatoollpr vtmediatoollpr.1 vtmediatoollpr)
    local -a suffixes=("" .1 "")
    for i in 0 1 2; do
        target=${targets[i]}
        if [[ ! -f ${dirs[i]}/$target || -L ${dirs[i]}/$target ]]; then
            fail "${dirs[i]}/$target is not a regular file"
            continue
        fi
        local bad=""
        for code in "${installed[@]}"; do
            link=${dirs[i]}/vtmediatoollpr_$code${suffixes[i]}
            if [[ ! -L $link || $(readlink "$link") != "$target" ]]; then
                bad+=" $link"
            elif [[ ! -e $link ]]; then
                bad+=" $link(dangling)"
            fi
        done
        if [[ -z $bad ]]; then
            ok "relative links to $target in ${dirs[i]#"$tmp"/}"
        else
            fail "not a relative link to $target:$bad"
        fi
    done
}

# check_usage BINDIR: each name prints its own model's usage screen.
check_usage() {
    local dir=$1 code out status bad=""
    for code in "${installed[@]}"; do
        out=$("$dir/vtmediatoollpr_$code" 2>&1)
        status=$?
        if (( status != 0 )) ||
           [[ $out != *"Usage: vtmediatoollpr_xxxx -P"* ]] ||
           [[ $out != *"\"vtmediatoollpr_$code -P "* ]]; then
            bad+=" $code(status $status)"
        fi
    done
    if [[ -z $bad ]]; then
        ok "each name prints its own usage screen, status 0"
    else
        fail "wrong usage screen or status for:$bad"
    fi
}

prefix=$tmp/prefix
if cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" 2>&1; then
    ok "cmake --install --prefix"
    check_links "$prefix"
    check_usage "$prefix/$bindir"
    extra=""
    for path in "$prefix/$bindir"/*; do
        name=${path##*/}
        [[ $name == vtmediatoollpr ]] && continue
        [[ " ${installed[*]} " == *" ${name#vtmediatoollpr_} "* ]] && continue
        extra+=" $name"
    done
    if [[ -z $extra ]]; then
        ok "nothing else in $bindir"
    else
        fail "unexpected files in $bindir:$extra"
    fi
else
    fail "cmake --install --prefix"; cat "$tmp/install.log"
fi

# Staged installs (packagers, CPack) put everything under DESTDIR.
stage=$tmp/stage
if DESTDIR=$stage cmake --install "$build" --prefix /usr \
       > "$tmp/stage.log" 2>&1; then
    ok "DESTDIR install"
    check_links "$stage/usr"
    check_usage "$stage/usr/$bindir"
else
    fail "DESTDIR install"; cat "$tmp/stage.log"
fi

if (( failures )); then
    echo "$failures install check(s) failed"
    exit 1
fi
echo "all install checks passed"
