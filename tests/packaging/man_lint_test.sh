#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Lints the manual page with groff's warnings all on; any warning fails.
# Also checks that the page names every installed program name and the
# version being built, which drift when a model or a release is added.
# Usage: man_lint_test.sh MAN_PAGE VERSION MODEL_CODE...
set -u
page=$1 version=$2
shift 2
. "$(dirname "$0")/checks.sh"
need groff-base groff

same "groff -man -ww -z reports nothing" "" \
     "$(groff -man -ww -z "$page" 2>&1 || echo "groff: status $?")"

# The NAME section lists the names that man and apropos find the page by.
name_section=$(sed -n '/^\.SH NAME/,/^\.SH/p' "$page" | tr -d '\\%')
missing=""
for code in "$@"; do
    case $name_section in
        *"vtmediatoollpr_$code,"* | *"vtmediatoollpr_$code"$'\n'*) ;;
        *) missing+=" vtmediatoollpr_$code" ;;
    esac
done
same "NAME section lists every model name" "" "$missing"

same "title line carries version $version" 1 \
     "$(grep -c "^\.TH .*\"vtmediatoollpr $version\"" "$page")"
finish "manual page"
