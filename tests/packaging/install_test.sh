#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the build into a temporary prefix, and again stripped and
# staged under DESTDIR, and checks that the one binary sits out of the
# PATH in its own libexec directory and that every model name is a
# relative link to it that prints that model's own usage screen.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR BINDIR LIBEXECDIR MANDIR
#                        DATADIR "INSTALLED CODES" "ALL CODES"
set -u
build=$1 source=$2 bindir=$3 helperdir=$4/vtmediatoollpr mandir=$5 datadir=$6
read -r -a installed <<< "${7//;/ }"
read -r -a all <<< "${8//;/ }"
. "$(dirname "$0")/checks.sh"
scratch vtinstall

# The list of models known to the build is the tool's own model table.
same "installable models are the codes of the model table" "${all[*]} " \
     "$(sed -n 's/^ *{ "[^"]*", "\([^"]*\)", [0-9]*, "[^"]*" },.*/\1/p' \
            "$source/src/cli/model.h" | tr '\n' ' ')"

# check_links ROOT: the links under ROOT (an installed prefix), each
# relative and leading to the one file it stands for.
check_links() {
    local root=$1 i code link target bad
    local -a dirs=("$bindir" "$mandir/man1"
                   "$datadir/bash-completion/completions")
    local -a targets=("$helperdir/vtmediatoollpr" "$mandir/man1/vtmediatoollpr.1.gz"
                      "$datadir/bash-completion/completions/vtmediatoollpr")
    local -a suffixes=("" .1.gz "")
    for i in 0 1 2; do
        target=$root/${targets[i]}
        if [[ ! -f $target || -L $target ]]; then
            fail "${targets[i]} is not a regular file"
            continue
        fi
        bad=""
        for code in "${installed[@]}"; do
            link=$root/${dirs[i]}/vtmediatoollpr_$code${suffixes[i]}
            if [[ ! -L $link || $(readlink "$link") == /* ]]; then
                bad+=" $link(not a relative link)"
            elif [[ $(realpath "$link") != "$(realpath "$target")" ]]; then
                bad+=" $link(leads to $(realpath -m "$link"))"
            fi
        done
        same "relative links to ${targets[i]} in ${dirs[i]}" "" "$bad"
    done
}

# only NAME DIR EXPECTED...: DIR holds exactly the EXPECTED names.
only() {
    same "$1" "$(printf '%s\n' "${@:3}" | sort | tr '\n' ' ')" \
         "$(cd "$2" && ls -A | sort | tr '\n' ' ')"
}

# check_usage BINDIR: each name prints its own model's usage screen.
check_usage() {
    local dir=$1 code out status bad=""
    for code in "${installed[@]}"; do
        out=$("$dir/vtmediatoollpr_$code" 2>&1)
        status=$?
        [[ $status == 2 && $out == *"Usage: vtmediatoollpr_xxxx -P"* &&
           $out == *"\"vtmediatoollpr_$code -P "* ]] ||
            bad+=" $code(status $status)"
    done
    same "each name prints its own usage screen, status 2" "" "$bad"
}

prefix=$tmp/prefix
if cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" 2>&1; then
    ok "cmake --install --prefix"
    check_links "$prefix"
    check_usage "$prefix/$bindir"
    only "the model names and nothing else in $bindir" "$prefix/$bindir" \
         "${installed[@]/#/vtmediatoollpr_}"
    only "the binary alone in $helperdir" "$prefix/$helperdir" vtmediatoollpr
else
    fail "cmake --install --prefix"; cat "$tmp/install.log"
fi

# Staged installs (packagers, CPack) put everything under DESTDIR.
stage=$tmp/stage
if DESTDIR=$stage cmake --install "$build" --prefix /usr --strip \
       > "$tmp/stage.log" 2>&1; then
    ok "DESTDIR install"
    check_links "$stage/usr"
    check_usage "$stage/usr/$bindir"
    stripped "$stage/usr/$helperdir/vtmediatoollpr" "the --strip install"
else
    fail "DESTDIR install"; cat "$tmp/stage.log"
fi

finish install
