#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs ansible-playbook with the collection's label_formats module against
# localhost, on a driver tree of the tape model in a temporary directory
# with the stand-in companion tool, and checks after each run what the
# recap says and what the tool lists.
# Usage: playbook_test.sh TOOL STANDIN_COMPANION SAMPLE_DRIVER COLLECTIONS
# TOOL is the tool built with a driver root relative to its working
# directory; COLLECTIONS the directory holding ansible_collections/.
set -u
tool=$1 companion=$2 sample=$3 collections=$4
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../packaging/checks.sh
. "$here/../packaging/checks.sh"
need ansible-core ansible-playbook
scratch vtansible
# What the runs may write: Ansible's own files and the driver's few.
ulimit -f 20480

# The tree, and a wrapper under the model's name that runs the tool from
# the tree's top, so that it finds the tree from any directory.
code=txr580 prog=vtmediatoollpr_txr580
mkdir -p "$tmp/vantrel/$code/bin/lpd" "$tmp/bin" "$tmp/stub"
cp -r "$sample/$code/bin/inf" "$tmp/vantrel/$code/bin/"
cp "$companion" "$tmp/vantrel/$code/bin/lpd/vtmediatoolcups_$code"
cat > "$tmp/bin/$prog" <<EOF
#!/usr/bin/env bash
cd '$tmp' && exec -a $prog '$tool' "\$@"
EOF
chmod +x "$tmp/bin/$prog"

export ANSIBLE_COLLECTIONS_PATH=$collections ANSIBLE_HOME=$tmp/home
export ANSIBLE_LOCAL_TEMP=$tmp/home/tmp ANSIBLE_REMOTE_TEMP=$tmp/home/tmp
export ANSIBLE_PYTHON_INTERPRETER=auto_silent ANSIBLE_NOCOLOR=1
export ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_CONFIG=$tmp/none.cfg
export PATH=$tmp/bin:$PATH

# play VARS_JSON FLAG...: runs the playbook with VARS_JSON as its extra
# variables; its output in $out, "changed=N failed=N" of its recap in
# $recap.
play() {
    out=$(cd "$tmp" && ansible-playbook -i localhost, "${@:2}" \
              -e "$1" "$here/label_formats.yml" 2>&1)
    recap=$(sed -n 's/^localhost *: .*\(changed=[0-9]*\).*\(failed=[0-9]*\).*/\1 \2/p' \
                <<< "$out")
}

# snapshot: each driver file's inode and bytes.
snapshot() {
    local file
    for file in "$tmp/vantrel/$code/bin/inf/"*; do
        stat -c '%i %n' "$file"
        sha256sum < "$file"
    done
}

# listed: the tool's formats, a line each: name, width, height, tape.
listed() {
    "$prog" --list | cut -f1-4 | LC_ALL=C sort
}

shop='{"name": "Shop 12", "width": 12, "height": 50}'
cable='{"name": "HS cable", "width": 12, "height": 30, "media": "tube"}'
parcel='{"name": "Parcel", "width": 24, "height": 60, "media": "tape"}'
shelf=$'Shelf edge\t10\t100\t_vtS12mm__'
shop_line=$'Shop 12\t10\t50\t_vtS12mm__'
cable_line=$'HS cable\t9\t30\t_vtHS12mm_'
parcel_line=$'Parcel\t22\t60\t_vtS24mm__'

# Each run: what it proves, its extra variables, its flags, the recap it
# must end with, the formats the tool must then list (or "unchanged" for
# a tree whose every file keeps its bytes and inode), and a line its
# output must hold, if any. The runs follow one another on the one tree,
# which starts with the sample's "Shelf edge".
runs=(
  "a first run adds the formats and keeps the one it does not name"
  "{\"formats\": [$shop, $cable]}" ""
  "changed=1 failed=0" "$cable_line"$'\n'"$shelf"$'\n'"$shop_line" ""

  "the same run again is ok and changes no byte"
  "{\"formats\": [$shop, $cable]}" ""
  "changed=0 failed=0" unchanged ""

  "check mode reports the change, shows --diff's line, changes nothing"
  "{\"formats\": [$parcel, $shop]}" "--check --diff"
  "changed=1 failed=0" unchanged $'add\tParcel\t24\t60\ttape'

  "exclusive deletes the format the list does not name"
  "{\"formats\": [$cable, $shop], \"exclusive\": true}" ""
  "changed=1 failed=0" "$cable_line"$'\n'"$shop_line" ""

  "state absent deletes the named formats, a missing name aside"
  '{"formats": [{"name": "Shop 12"}, {"name": "Never there"}], "state": "absent"}' ""
  "changed=1 failed=0" "$cable_line" ""

  "state absent again is ok and changes no byte"
  '{"formats": [{"name": "Shop 12"}], "state": "absent"}' ""
  "changed=0 failed=0" unchanged ""

  "diff mode shows the export before and after"
  "{\"formats\": [$parcel]}" "--diff"
  "changed=1 failed=0" "$cable_line"$'\n'"$parcel_line" $'+Parcel\t'
)
for ((i = 0; i < ${#runs[@]}; i += 6)); do
    what=${runs[i]} shown=${runs[i + 5]}
    before=$(snapshot)
    # shellcheck disable=SC2086  # the flags are words
    play "${runs[i + 1]}" ${runs[i + 2]}
    same "$what: recap" "${runs[i + 3]}" "$recap"
    if [[ ${runs[i + 4]} == unchanged ]]; then
        same "$what: the files" "$before" "$(snapshot)"
    else
        same "$what: the formats" "${runs[i + 4]}" "$(listed)"
    fi
    if [[ -n $shown ]] && ! grep -qF -- "$shown" <<< "$out"; then
        fail "$what: the output shows [$shown]"
    fi
    (( failures )) && { echo "$out"; finish "playbook"; }
done

# A failing companion fails the task with the tool's message and exit
# status, and the tool given by path is the one run.
before=$(snapshot)
printf 'New\t12\t20\n' > "$tmp/new.tsv"
want_err=$(VT_STANDIN_STATUS=3 "$prog" -P TX-R580 --apply "$tmp/new.tsv" 2>&1 >/dev/null)
want_rc=$?
export VT_STANDIN_STATUS=3
play "{\"formats\": [{\"name\": \"New\", \"width\": 12, \"height\": 20}], \"tool\": \"$tmp/bin/$prog\"}"
unset VT_STANDIN_STATUS
same "a failing companion: recap" "changed=0 failed=1" "$recap"
result=$(sed -n 's/^fatal: \[localhost\]: FAILED! => //p' <<< "$out")
same "a failing companion: the task's message and status" \
     "$want_err ($want_rc)" \
     "$(python3 -c 'import json, sys; r = json.loads(sys.argv[1]); print("%s (%d)" % (r["msg"], r["rc"]))' "$result" 2>&1)"
same "a failing companion: the files" "$before" "$(snapshot)"

# What the module itself does with names, against a stub tool that lists
# a name twice and logs every call: a name held twice is deleted twice, a
# name goes to the tool as it stands, and a name no formats file can hold
# is refused before any call.
cat > "$tmp/stub/$prog" <<EOF
#!/usr/bin/env bash
printf '[%s]' "\$@" >> '$tmp/stub.log'; echo >> '$tmp/stub.log'
[[ \$1 == --list ]] || exit 0
printf '%s\t10\t50\t_vtS12mm__\tVtL_vtS12mm__070A03271A2B\tcomplete\n' \
    Twice Other Twice '\$HOME ~x'
EOF
chmod +x "$tmp/stub/$prog"
# shellcheck disable=SC2016  # a name holding a $ as it stands
stub=(
  "a name two formats hold is deleted twice, a name is passed as it stands"
  '{"formats": [{"name": "Twice"}, {"name": "$HOME ~x"}], "state": "absent"}'
  "changed=1 failed=0"
  $'[--list]\n[-P][TX-R580][-d][Twice]\n[-P][TX-R580][-d][Twice]\n[-P][TX-R580][-d][$HOME ~x]'

  "a name holding a tab is refused before any call"
  '{"formats": [{"name": "A\tB", "width": 12, "height": 20}]}'
  "changed=0 failed=1" ""
)
for ((i = 0; i < ${#stub[@]}; i += 4)); do
    : > "$tmp/stub.log"
    play "${stub[i + 1]}" -e "tool=$tmp/stub/$prog"
    same "${stub[i]}: recap" "${stub[i + 2]}" "$recap"
    same "${stub[i]}: the calls" "${stub[i + 3]}" "$(cat "$tmp/stub.log")"
done

finish "playbook"
