#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs ansible-test sanity on a copy of the collection, at a path ending
# in ansible_collections/vantrel/labels as ansible-test needs, with the
# sanity tests that need nothing installed from the network (the others
# build virtual environments with pip).
# Usage: sanity_test.sh COLLECTION_DIR
set -u
collection=$1
# shellcheck source=../packaging/checks.sh
. "$(dirname "$0")/../packaging/checks.sh"
need ansible-core ansible-test
scratch vtsanity

tests=(action-plugin-docs compile empty-init future-import-boilerplate
       line-endings metaclass-boilerplate no-assert no-basestring
       no-dict-iteritems no-get-exception no-illegal-filenames
       no-smart-quotes no-unicode-literals replace-urlopen shebang symlinks
       use-argspec-type-path use-compat-six)
copy=$tmp/ansible_collections/vantrel/labels
mkdir -p "$copy"
cp -r "$collection/." "$copy/"
rm -rf "$copy/tests/output"
# The Python that runs ansible-test, which is the one its modules get.
python=$(sed -n '1s/^#! *//p' "$(command -v ansible-test)")
args=()
for test in "${tests[@]}"; do
    args+=(--test "$test")
done
if out=$(cd "$copy" && ansible-test sanity --python-interpreter "$python" \
             "${args[@]}" 2>&1); then
    ok "ansible-test sanity: ${tests[*]}"
else
    fail "ansible-test sanity: ${tests[*]}"
    echo "$out"
fi
finish "sanity"
