#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Lints the manual page with groff's warnings all on; any warning fails.
# Also checks that the page names every installed program name and the
# version being built, which drift when a model or a release is added.
# Usage: man_lint_test.sh MAN_PAGE VERSION MODEL_CODE...
page=$1
version=$2
shift 2

if ! command -v groff >/dev/null 2>&1; then
    echo "groff is not installed (Debian: groff-base); skipping the lint"
    exit 77
fi

status=0
if ! warnings=$(groff -man -ww -z "$page" 2>&1) || [ -n "$warnings" ]; then
    echo "FAIL: groff -man -ww -z $page"
    printf '%s\n' "$warnings"
    status=1
else
    echo "ok: groff -man -ww -z reports nothing"
fi

# The NAME section lists the names that man and apropos find the page by.
name_section=$(sed -n '/^\.SH NAME/,/^\.SH/p' "$page" | tr -d '\\%')
missing=""
for code in "$@"; do
    case $name_section in
        *"vtmediatoollpr_$code,"* | *"vtmediatoollpr_$code
"*) ;;
        *) missing="$missing vtmediatoollpr_$code" ;;
    esac
done
if [ -z "$missing" ]; then
    echo "ok: NAME section lists every model name"
else
    echo "FAIL: NAME section lacks$missing"
    status=1
fi

if grep "^\.TH " "$page" | grep -q "\"vtmediatoollpr $version\""; then
    echo "ok: title line carries version $version"
else
    echo "FAIL: title line does not carry version $version"
    status=1
fi
exit $status
