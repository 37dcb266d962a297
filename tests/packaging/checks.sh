# SPDX-License-Identifier: GPL-2.0-or-later
# Sourced by each packaging check: one line per check, the failures
# counted for the exit status, a scratch directory, and status 77 where a
# needed tool is missing.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

# same NAME WANT GOT: the check NAME passes when GOT is WANT.
same() {
    if [[ $3 == "$2" ]]; then
        ok "$1"
    else
        fail "$1"
        echo "  want: [$2]"
        echo "  got:  [$3]"
    fi
}

# need DEBIAN_PACKAGES TOOL...: exits 77 unless every TOOL is installed.
need() {
    local tool
    for tool in "${@:2}"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "$tool is not installed (Debian: $1); skipping"
            exit 77
        fi
    done
}

# unsanitized BUILD_DIR: exits 77 where BUILD_DIR is a sanitizer build.
# The sanitizers name each source file by its full path in the binary,
# out of reach of the prefix maps; such a build is never shipped.
unsanitized() {
    if grep -q '^CMAKE_CXX_FLAGS[A-Z_]*:[A-Z]*=.*-fsanitize' \
            "$1/CMakeCache.txt"; then
        echo "a sanitizer build keeps its source paths; skipping"
        exit 77
    fi
}

# scratch NAME: a new directory in $tmp, removed on exit.
scratch() {
    tmp=$(mktemp -d "/tmp/$1.XXXXXX")
    trap 'rm -rf "$tmp"' EXIT
}

# stripped FILE WHAT: FILE keeps neither its symbols nor the compiler's
# version strings in .comment.
stripped() {
    local sections
    sections=$(readelf -SW "$1")
    if [[ $sections != *" .symtab "* && $sections != *" .comment "* ]]; then
        ok "$2 is stripped, .comment included"
    else
        fail "$2 keeps .symtab or .comment"
    fi
}

# finish WHAT: the last line, and the exit status.
finish() {
    if (( failures )); then
        echo "$failures $1 check(s) failed"
        exit 1
    fi
    echo "all $1 checks passed"
}
