#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# A build configured for some models installs the links of those models
# only, and a users' README and a --help that name those only; an unknown
# model code is refused when configuring. Configures the second build
# (made by build_again.sh) anew, so that only the help is compiled again.
# Usage: install_models_test.sh BUILD_DIR AGAIN_DIR
set -u
build=$1 again=$2
. "$(dirname "$0")/checks.sh"
unsanitized "$build"
scratch vtmodels

if cmake -S "$again/source" -B "$again/build" \
       -DVTMEDIATOOL_MODELS="txr580;ql500" > "$tmp/unknown.log" 2>&1; then
    fail "an unknown model code was accepted"
elif grep -q "unknown model code 'ql500'" "$tmp/unknown.log"; then
    ok "an unknown model code is refused by name"
else
    fail "configure failed for another reason"; cat "$tmp/unknown.log"
fi

# Blanks separate codes as well as semicolons do. The links beside the
# binary are made when it is linked, so it is linked again under this
# configuration.
rm -f "$again/build/vtmediatoollpr" "$again/build"/vtmediatoollpr_*
if cmake -S "$again/source" -B "$again/build" \
       -DVTMEDIATOOL_MODELS="txr580 rk210" > "$tmp/build.log" 2>&1 &&
   cmake --build "$again/build" --parallel 2 >> "$tmp/build.log" 2>&1 &&
   cmake --install "$again/build" --prefix "$tmp/prefix" \
       >> "$tmp/build.log" 2>&1
then
    ok "a build for txr580 and rk210 configures, builds and installs"
    same "only the chosen models are installed" \
         "./bin/vtmediatoollpr_rk210 ./bin/vtmediatoollpr_txr580 \
./libexec/vtmediatoollpr/vtmediatoollpr \
./share/bash-completion/completions/vtmediatoollpr \
./share/bash-completion/completions/vtmediatoollpr_rk210 \
./share/bash-completion/completions/vtmediatoollpr_txr580 \
./share/doc/vtmediatoollpr/README \
./share/doc/vtmediatoollpr/changelog.gz ./share/doc/vtmediatoollpr/copyright \
./share/man/man1/vtmediatoollpr.1.gz \
./share/man/man1/vtmediatoollpr_rk210.1.gz \
./share/man/man1/vtmediatoollpr_txr580.1.gz " \
         "$(cd "$tmp/prefix" && find . ! -type d | sort | tr '\n' ' ')"
    same "the users' README names the chosen models only" \
         "vtmediatoollpr_rk210 vtmediatoollpr_txr580 " \
         "$(grep -E '^    vtmediatoollpr_[a-z0-9]+ +(tape|roll labels)$' \
                 "$tmp/prefix/share/doc/vtmediatoollpr/README" |
            awk '{ print $1 }' | sort | tr '\n' ' ')"
    same "--help names the chosen models only" \
         "vtmediatoollpr_rk210 vtmediatoollpr_txr580 " \
         "$("$tmp/prefix/bin/vtmediatoollpr_txr580" --help |
            grep -E '^  vtmediatoollpr_[a-z0-9]+ +(tape|roll labels)$' |
            awk '{ print $1 }' | sort | tr '\n' ' ')"
    # The build tree always has every name, for tests of any model.
    if [[ -L $again/build/vtmediatoollpr_txd270 ]]; then
        ok "the build tree has links for every model"
    else
        fail "no build-tree link vtmediatoollpr_txd270"
    fi
else
    fail "subset build"; cat "$tmp/build.log"
fi

finish model-selection
