#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# A short session with the tool on a sandbox copy of the sample driver.
#
# Builds the tool in build-demo/ with its driver root compiled in as
# build-demo/sandbox, lays the sample driver tree and the stand-in for the
# driver's companion tool there (afresh on every run), and then adds,
# replaces and deletes a format on a tape model and on a roll-label model,
# showing what each step changed. /opt/vantrel is never touched.
set -euo pipefail
cd "$(dirname "$0")"
top=$PWD
build=$top/build-demo
sandbox=$build/sandbox
bin=$build/bin

heading() {
    printf '\n\033[1m== %s\033[0m\n' "$*"
}
[[ -t 1 ]] || heading() { printf '\n== %s\n' "$*"; }

# A build directory made from another checkout cannot be reused.
if [[ -f $build/CMakeCache.txt ]] &&
   ! grep -qxF "CMAKE_HOME_DIRECTORY:INTERNAL=$top" "$build/CMakeCache.txt"
then
    rm -rf "$build"
fi

heading "Building the tool with the driver root $sandbox"
mkdir -p "$build"
log=$build/demo-build.log
if ! { cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
             -DVTMEDIATOOL_DRIVER_ROOT="$sandbox" \
             -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$bin" &&
       cmake --build "$build" --parallel "$(nproc)" \
             --target vtmediatoollpr standin_companion; } > "$log" 2>&1
then
    cat "$log"
    echo "demo: the build failed (log: $log)"
    exit 1
fi
echo "built $bin/vtmediatoollpr and its ten model names"

# The tool is run by its model names, as a user would.
export PATH="$bin:$PATH"

# files CODE: sets names to the four data files of a model, in its bin/inf.
files() {
    names=("vt$1func" "mediainf$1" "vt$1rc" PrintArea)
}

# lay CODE: a fresh driver tree for CODE from the sample.
lay() {
    local code=$1
    rm -rf "${sandbox:?}/$code"
    mkdir -p "$sandbox/$code/bin/inf" "$sandbox/$code/bin/lpd"
    cp "sample/driver/$code/bin/inf/"* "$sandbox/$code/bin/inf/"
    cp "$bin/standin_companion" \
       "$sandbox/$code/bin/lpd/vtmediatoolcups_$code"
}

# run ARG...: shows the command, runs it, and shows its exit status.
run() {
    local shown="" arg status=0
    for arg in "$@"; do
        [[ $arg == *' '* ]] && arg="\"$arg\""
        shown+=" $arg"
    done
    echo "\$${shown}"
    "$@" || status=$?
    echo "(exit status $status)"
    if (( status != 0 )); then
        echo "demo: unexpected failure"
        exit 1
    fi
}

# snapshot CODE: remembers the data files, to show the next step's changes.
snapshot() {
    rm -rf "$build/before"
    cp -R "$sandbox/$1/bin/inf" "$build/before"
}

# changes CODE: what the last step changed in each data file.
changes() {
    local code=$1 name names
    files "$code"
    for name in "${names[@]}"; do
        if cmp -s "$build/before/$name" "$sandbox/$code/bin/inf/$name"; then
            echo "--- $name: unchanged"
        else
            diff -u --label "$name (before)" --label "$name (after)" \
                 "$build/before/$name" "$sandbox/$code/bin/inf/$name" || true
        fi
    done
}

# same_as_sample CODE: the driver files equal the sample, nothing left over.
same_as_sample() {
    local code=$1
    if diff -r "sample/driver/$code/bin/inf" "$sandbox/$code/bin/inf"; then
        echo "no difference: the four files are the sample's, byte for byte,"
        echo "and no temporary file is left"
    else
        echo "demo: the files differ from the sample"
        exit 1
    fi
}

# session CODE PRINTER NAME W H W2 H2 KIND
session() {
    local code=$1 printer=$2 name=$3 w=$4 h=$5 w2=$6 h2=$7 kind=$8
    local tool=vtmediatoollpr_$code names
    lay "$code"
    heading "$code ($kind): the driver files, laid from the sample"
    files "$code"
    (cd "$sandbox/$code/bin/inf" && wc -l "${names[@]}")

    heading "$code: add \"$name\", $w mm x $h mm"
    snapshot "$code"
    run "$tool" -P "$printer" -n "$name" -w "$w" -h "$h"
    changes "$code"

    heading "$code: add \"$name\" again, $w2 mm x $h2 mm: it replaces the first"
    snapshot "$code"
    run "$tool" -P "$printer" -n "$name" -w "$w2" -h "$h2"
    changes "$code"

    heading "$code: delete \"$name\""
    snapshot "$code"
    run "$tool" -P "$printer" -d "$name"
    changes "$code"

    heading "$code: delete \"$name\" once more: it is gone"
    run "$tool" -P "$printer" -d "$name"

    heading "$code: the files are back as they were"
    echo "\$ diff -r sample/driver/$code/bin/inf sandbox/$code/bin/inf"
    same_as_sample "$code"
}

session txr580 TX-R580 "Shop 12" 12 50 24 80 "tape printer"
session rk210 RK210 "Parcel 62x50" 62 50 62 100 "roll-label printer"

# The sample's own formats are what the resource files point at: deleting
# one resets the printer's current media.
heading "txr580: delete \"Shelf edge\", the current media in the resource file"
snapshot txr580
run vtmediatoollpr_txr580 -P TX-R580 -d "Shelf edge"
changes txr580

heading "Done"
echo "The sandbox is $sandbox; run ./demo.sh again to start afresh."
