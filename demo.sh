#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# A short session with the tool on a sandbox copy of the sample driver.
#
# Installs what this machine lacks to build (scripts/install-deps.sh),
# builds the tool in build-demo/ with its driver root compiled in as
# build-demo/sandbox, lays the sample driver tree and the stand-in for the
# driver's companion tool there (afresh on every run), and then adds,
# replaces and deletes a format on a tape model and on a roll-label model,
# saying in a line what each step did and why and showing what it changed.
# Then it keeps a model's formats across a reinstall of its driver: an
# export, the driver laid afresh, an apply, and a second apply that
# changes nothing. It ends with the sandbox equal to the sample.
# /opt/vantrel is never touched.
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

scripts/install-deps.sh build

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

# says TEXT: what the last step did and why, in words.
says() {
    echo "=> $*"
}

# dots CODE NAME: the printable size that the media-information file
# gives the format NAME, in the printer's dots.
dots() {
    local across along dpi=180
    [[ $1 == rk* ]] && dpi=300
    IFS=$'\t' read -r _ across along < <(
        grep -F "/$2:"$'\t' "$sandbox/$1/bin/inf/mediainf$1")
    echo "$across dots across and $along along, at $dpi dots per inch"
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

# session CODE PRINTER NAME W H W2 H2 KIND WHY WHY2: WHY and WHY2 say how
# the first and the second size were stored.
session() {
    local code=$1 printer=$2 name=$3 w=$4 h=$5 w2=$6 h2=$7 kind=$8
    local why=$9 why2=${10}
    local tool=vtmediatoollpr_$code names
    lay "$code"
    heading "$code ($kind): the driver files, laid from the sample"
    files "$code"
    (cd "$sandbox/$code/bin/inf" && wc -l "${names[@]}")

    heading "$code: add \"$name\", $w mm x $h mm"
    snapshot "$code"
    run "$tool" -P "$printer" -n "$name" -w "$w" -h "$h"
    changes "$code"
    says "$why; the media-information file holds the printable size:" \
         "$(dots "$code" "$name")"

    heading "$code: add \"$name\" again, $w2 mm x $h2 mm: it replaces the first"
    snapshot "$code"
    run "$tool" -P "$printer" -n "$name" -w "$w2" -h "$h2"
    changes "$code"
    says "the old format was deleted first, then the new one added: $why2;" \
         "the printable size is now $(dots "$code" "$name")"

    heading "$code: delete \"$name\""
    snapshot "$code"
    run "$tool" -P "$printer" -d "$name"
    changes "$code"
    says "every line holding the format's identifier is gone; the resource" \
         "file did not name it as the current media, so it is unchanged"

    heading "$code: delete \"$name\" once more: it is gone"
    run "$tool" -P "$printer" -d "$name"
    says "no file names \"$name\" any more: the tool says so and changes nothing"

    heading "$code: the files are back as they were"
    echo "\$ diff -r sample/driver/$code/bin/inf sandbox/$code/bin/inf"
    same_as_sample "$code"
}

session txr580 TX-R580 "Shop 12" 12 50 24 80 "tape printer" \
    "12 mm is served by 12 mm tape, which prints 10 mm, so the width became 10 mm on that tape" \
    "24 mm tape prints 22 mm, so 24 became 22"
session rk210 RK210 "Parcel 62x50" 62 50 62 100 "roll-label printer" \
    "roll labels take the size as given, 62 x 50 mm" \
    "62 x 100 mm, as given"

# The sample's own formats are what the resource files point at: deleting
# one resets the printer's current media.
heading "txr580: delete \"Shelf edge\", the current media in the resource file"
snapshot txr580
run vtmediatoollpr_txr580 -P TX-R580 -d "Shelf edge"
changes txr580
says "the resource file named \"Shelf edge\" as the current media, so it" \
     "fell back to the model's default, 12 mm tape"

# A model's formats as a file: saved before the driver is reinstalled,
# applied after it, and applied again without effect. The stand-in
# companion logs each call, so that the demo can show which ran.
companion_log=$build/companion.log
export VT_STANDIN_LOG=$companion_log

# companion_calls: what the companion tool was run for since the last
# time, one call a line.
companion_calls() {
    local calls=0 line
    if [[ -s $companion_log ]]; then
        while IFS= read -r line; do
            echo "  companion: ${line//"$sandbox/"/sandbox/}"
            calls=$((calls + 1))
        done < "$companion_log"
    fi
    echo "  ($calls companion call(s))"
    : > "$companion_log"
}

# Where the formats are saved, from the top of the checkout, where the
# demo runs.
saved="build-demo/txr580-formats.tsv"
heading "txr580: save the formats before the driver is reinstalled"
lay txr580
run vtmediatoollpr_txr580 -P TX-R580 -n "HS cable" -w 12 -h 30
run vtmediatoollpr_txr580 -P TX-R580 -n "Shop 12" -w 12 -h 50
: > "$companion_log"
echo "\$ vtmediatoollpr_txr580 --export > $saved"
status=0
vtmediatoollpr_txr580 --export > "$saved" || status=$?
echo "(exit status $status)"
(( status == 0 )) || { echo "demo: unexpected failure"; exit 1; }
echo "\$ cat -T $saved    # a tab shows as ^I"
cat -T "$saved"
says "one format a line, as it is asked for on the command line: name," \
     "width, height, and tape or tube; the sample's \"Shelf edge\" and the" \
     "two added, sorted by name; 12 mm tape prints 10 mm, so the width" \
     "given is the tape's, 12"

heading "txr580: the driver reinstalled, its files are the sample's again"
lay txr580
run vtmediatoollpr_txr580 --list
says "only the sample's \"Shelf edge\" is left, which the resource file" \
     "selects"

heading "txr580: apply the saved file"
snapshot txr580
run vtmediatoollpr_txr580 -P TX-R580 --apply "$saved"
changes txr580
companion_calls
says "\"HS cable\" and \"Shop 12\" were added as -n adds them, under new" \
     "identifiers; \"Shelf edge\" was there as the file says it, so it was" \
     "left alone and the resource file still selects it"

heading "txr580: apply it again: nothing to do"
snapshot txr580
inodes=$(stat -c %i "$sandbox/txr580/bin/inf/"*)
run vtmediatoollpr_txr580 -P TX-R580 --apply "$saved"
changes txr580
companion_calls
if [[ $(stat -c %i "$sandbox/txr580/bin/inf/"*) == "$inodes" ]]; then
    echo "every file keeps its inode"
else
    echo "demo: a file was replaced"
    exit 1
fi
run vtmediatoollpr_txr580 --diff "$saved"
echo "\$ vtmediatoollpr_txr580 --export | cmp - $saved"
if vtmediatoollpr_txr580 --export | cmp - "$saved"; then
    echo "the same bytes"
else
    echo "demo: the export differs from the saved file"
    exit 1
fi
says "every format is as the file says: the companion tool did not run," \
     "no file changed, --diff (what --sync would do) prints nothing and" \
     "exits 0, and the export is the saved file again"
unset VT_STANDIN_LOG

# The sandbox is left as the sample, for trying the tool by hand.
lay txr580
says "txr580 laid afresh from the sample, so that the sandbox is the sample again"

heading "The formats of the sample, as --list prints them"
run vtmediatoollpr_txr580 --list
run vtmediatoollpr_rk210 --list
says "name, width and height in mm, tape, identifier, and whether every file" \
     "holds it; --list only reads the files"

heading "The sandbox is the sample"
for code in txr580 rk210; do
    echo "\$ diff -r sample/driver/$code/bin/inf sandbox/$code/bin/inf"
    same_as_sample "$code"
done

heading "Done"
echo "The sandbox is $sandbox, equal to the sample; try the tool there"
echo "(README: Trying it by hand), or run ./demo.sh again to start afresh."
