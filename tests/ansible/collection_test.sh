#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the collection's tarball with ansible-galaxy, installs it, and
# checks what ansible-doc shows of the installed module.
# Usage: collection_test.sh COLLECTION_DIR PROJECT_VERSION
set -u
collection=$1 version=$2
# shellcheck source=../packaging/checks.sh
. "$(dirname "$0")/../packaging/checks.sh"
need ansible-core ansible-galaxy ansible-doc
scratch vtcollection
export ANSIBLE_HOME=$tmp/home ANSIBLE_CONFIG=$tmp/none.cfg ANSIBLE_NOCOLOR=1

# The tarball bears the project's version: galaxy.yml keeps up with it.
tarball=$tmp/dist/vantrel-labels-$version.tar.gz
if ! out=$(ansible-galaxy collection build "$collection" \
               --output-path "$tmp/dist" 2>&1) || [[ ! -f $tarball ]]; then
    fail "ansible-galaxy collection build makes $(basename "$tarball")"
    echo "$out"; ls "$tmp/dist" 2>&1
    finish "collection"
fi
ok "ansible-galaxy collection build makes $(basename "$tarball")"
same "the tarball holds the collection's files" \
     "$(printf '%s\n' FILES.json MANIFEST.json README.md meta/runtime.yml \
                      plugins/modules/label_formats.py)" \
     "$(tar -tzf "$tarball" | grep -v '/$' | LC_ALL=C sort)"

if out=$(ansible-galaxy collection install "$tarball" \
             -p "$tmp/collections" 2>&1); then
    ok "ansible-galaxy collection install installs the tarball"
else
    fail "ansible-galaxy collection install installs the tarball"
    echo "$out"
fi
export ANSIBLE_COLLECTIONS_PATH=$tmp/collections
shown=$(ansible-doc vantrel.labels.label_formats 2>&1)
same "ansible-doc shows the module and no warning" \
     "> VANTREL.LABELS.LABEL_FORMATS" "$(head -1 <<< "$shown" | cut -d' ' -f1-2)"
[[ $shown == *WARNING* || $shown == *ERROR* ]] && echo "$shown"
# Every option, an example of each state, and what the module returns.
doc=$(ansible-doc --json vantrel.labels.label_formats 2>&1)
same "ansible-doc has the options, the examples and the return values" \
     "exclusive formats model queue state tool; absent exclusive become; actions tool" \
     "$(python3 -c '
import json, sys
entry = json.loads(sys.argv[1])["vantrel.labels.label_formats"]
options = " ".join(sorted(entry["doc"]["options"]))
examples = " ".join(word for word in ("absent", "exclusive", "become")
                    if word in entry["examples"])
returned = " ".join(sorted(key for key in entry["return"] if key in ("actions", "tool")))
print("%s; %s; %s" % (options, examples, returned))' "$doc" 2>&1)"
finish "collection"
