#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Measures an add of a new name, an add that replaces a format and a
# delete on files of three sizes, each against bench/floor_run.cc doing the
# same request's companion runs and file passes and nothing else, and the
# tool's peak memory, which must not grow with the files. cp of the four
# files, the same edit by hand with grep -v or sed -i, and the two
# companion runs of an add are measured too, for comparison. On the large
# and doubled trees, --list is measured against grep -F VtL over the four
# files it reads; on two trees whose media-information file holds what
# anybody may write there, as much as the doubled files (one line of
# identifier-shaped words; short lines of identifiers that no "*PageSize"
# line names), against grep -c -F VtL on that file. On the realistic
# tree, --apply of 20 new formats is measured against the 20 single adds
# one after another that do the same, and an --apply of 20 formats
# already there against --list.
#
#   bench/run.sh [--check] [--cpu] [--static] [--runs N] [--large-mb MB]
#                [--build DIR]
#
# --check      compare with the targets (each request at most 1.10 times
#              its floor at every size; --list at most 1.5 times the grep,
#              on the line of words too; the --apply of 20 new formats at
#              most 1.05 times the 20 adds, the one that changes nothing at
#              most 2 times --list; at most 8 MiB, the requests' flat
#              across sizes, the listing's on the unnamed identifiers
#              too); exit 1 when one is missed
# --cpu        judge by processor time instead of wall time (median of
#              each), for a machine busy with other work
# --static     measure the tool, the stand-in companion and the floor
#              linked statically (VTMEDIATOOL_STATIC=ON), built by default
#              in build-bench-static; all use shared libraries otherwise
# --runs N     rounds of timed runs, after a warm-up (default 9); a round
#              runs each case once on each size, five times on the
#              realistic one
# --large-mb   size of the large function and media-information files
#              in MB (default 16; the doubled size is twice this, and must
#              stay within the 64 MiB the tool reads of a file)
# --build DIR  build directory (default build-bench beside this directory)
#
# Builds a Release tool whose driver root is a fresh directory on /dev/shm,
# so that the figures measure the programs, not a disk. Not a test; CI does
# not run it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
check=
cpu=
static=OFF
runs=9
large_mb=16
build=
while [ $# -gt 0 ]; do
  case $1 in
    --check) check=--check ;;
    --cpu) cpu=--cpu ;;
    --static) static=ON ;;
    --runs) runs=$2; shift ;;
    --large-mb) large_mb=$2; shift ;;
    --build) build=$2; shift ;;
    *) sed -n '18,39p' "$0"; exit 2 ;;
  esac
  shift
done
if python3 -c "import sys; sys.exit(2 * $large_mb * 1e6 <= 64 * 2**20)"; then
  echo "run.sh: --large-mb $large_mb: the doubled files would be over the" \
       "64 MiB the tool reads of a file" >&2
  exit 2
fi
if [ -z "$build" ]; then
  build=$top/build-bench
  # Kept apart, so that switching between the two does not rebuild.
  [ "$static" = ON ] && build=$top/build-bench-static
fi

work=/dev/shm/vtbench-$$
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
root=$work/vantrel
model=txr580
inf=$root/$model/bin/inf
files=("$inf/vt${model}func" "$inf/mediainf$model" "$inf/vt${model}rc"
       "$inf/PrintArea")
companion=$root/$model/bin/lpd/vtmediatoolcups_$model

echo "building the Release tool in $build (driver root $root," \
     "static link $static)"
# The linking is always passed, so that the figures do not depend on the
# project's default.
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DVTMEDIATOOL_BUILD_TESTS=OFF -DVTMEDIATOOL_DRIVER_ROOT="$root" \
  -DVTMEDIATOOL_STATIC="$static" >/dev/null
cmake --build "$build" -j2 --target vtmediatoollpr >/dev/null
cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
cxx=${cxx:-${CXX:-c++}}
"$cxx" -O2 -std=c++17 -o "$work/bin/time_run" "$here/time_run.cc"
# The stand-in and the floor are compiled and linked as the tool is
# (Release flags; with --static, -static where the system can link it, else
# the C++ and GCC run-time libraries only, as the tool's build falls back),
# so that the floor starts as the tool does. Built here rather than by the
# test build, which the benchmark leaves off.
# The tool is hardened (cmake/hardening.cmake); so are they.
standin_flags=(-O3 -DNDEBUG -std=c++17 -fstack-protector-strong
               -fstack-clash-protection -fcf-protection -U_FORTIFY_SOURCE
               -D_FORTIFY_SOURCE=3 -Wl,-z,relro,-z,now)
if [ "$static" = ON ]; then
  if echo 'int main() { return 0; }' |
     "$cxx" -x c++ -static -o "$work/bin/probe" - 2>/dev/null; then
    standin_flags+=(-static)
  else
    standin_flags+=(-static-libstdc++ -static-libgcc)
  fi
fi
"$cxx" "${standin_flags[@]}" -o "$work/bin/standin" \
  "$top/tests/standin/standin_companion.cc"
"$cxx" "${standin_flags[@]}" -o "$work/bin/floor_run" "$here/floor_run.cc"
timer=$work/bin/time_run
# The model comes from the program name, as from the installed links.
tool=$work/bin/vtmediatoollpr_$model
ln -s "$build/vtmediatoollpr" "$tool"

results=$work/results
: > "$results"

sizes=(realistic large doubled longline unnamed)
declare -A last_name last_id next_to_last_name

# Lays the pristine tree of one size, with the stand-in as the companion,
# and notes the formats the cases work on.
make_tree() {  # size-label gen-args...
  local label=$1
  local pristine=$work/pristine-$label
  shift
  echo "making the $label tree"
  python3 "$here/gen_tree.py" "$pristine" "$@" > "$work/tree.env"
  mkdir -p "$pristine/$model/bin/lpd"
  cp "$work/bin/standin" \
     "$pristine/$model/bin/lpd/vtmediatoolcups_$model"
  local key value
  while IFS='=' read -r key value; do
    case $key in
      LAST_NAME) last_name[$label]=$value ;;
      LAST_ID) last_id[$label]=$value ;;
      NEXT_TO_LAST_NAME) next_to_last_name[$label]=$value ;;
    esac
  done < "$work/tree.env"
}

restore() {  # size-label
  rm -rf "$root" "$work/copy"
  cp -a "$work/pristine-$1" "$root"
  mkdir "$work/copy"
}

# The command of each case on one size, in an array named by the case.
set_cases() {  # size-label
  local name=${last_name[$1]} id=${last_id[$1]}
  local other=${next_to_last_name[$1]}
  case_add_new=("$tool" -P TX-R580 -n "Bench 12" -w 12 -h 50)
  case_add_replace=("$tool" -P TX-R580 -n "$other" -w 12 -h 50)
  case_delete=("$tool" -P TX-R580 -d "$name")
  case_cp=(cp -t "$work/copy" "${files[@]}")
  # shellcheck disable=SC2016
  case_grep_v=(sh -c 'id=$1; shift
    for f; do
      grep -v -F -e "$id" "$f" > "$f.new" || exit 1
      mv "$f.new" "$f" || exit 1
    done' sh "$id" "${files[@]}")
  case_sed_i=(sed -i "/$id/d" "${files[@]}")
  case_list=("$tool" --list)
  # Twenty formats at once, and the same one after another.
  case_apply_new=("$tool" -P TX-R580 --apply "$work/new20.tsv")
  # shellcheck disable=SC2016
  case_adds_20=(sh -c 'for i in $(seq 1 20); do
      "$1" -P TX-R580 -n "Bench $i" -w 12 -h 50 || exit 1
    done' sh "$tool")
  case_apply_noop=("$tool" -P TX-R580 --apply "$work/present20.tsv")
  case_grep_vtl=(grep -F VtL "${files[@]}")
  # The same listing, on the trees whose media-information file holds
  # what anybody may write there, and a count of that file's lines that
  # hold the marker. GNU grep stops at its first match when its output is
  # /dev/null, where time_run sends it, so the count goes to a file.
  case_list_media=("$tool" --list)
  # shellcheck disable=SC2016
  case_grep_c_media=(sh -c 'exec grep -c -F VtL "$1" > "$2"' sh "${files[1]}"
                     "$work/count")
  # The same requests with nothing but their companion runs and file
  # passes, in their order: the floor of each.
  local floor=$work/bin/floor_run
  case_floor_new=("$floor" new "$inf" "$model" "$companion")
  case_floor_replace=("$floor" replace "$inf" "$model" "$companion")
  case_floor_delete=("$floor" delete "$inf" "$model" "$companion")
  # What an add starts besides the tool: the companion for the delete that
  # comes first, and for the add.
  case_companion_x2=("$companion" -P TX-R580 -d "Bench 12" -show 1 ---
    "$companion" -P TX-R580 -n "Bench 12" -w 10 -h 50
    -specid VtL_vtS12mm__080A03271A2B -show 1)
}

cases_of() {  # size-label
  # Each request right before its floor: the pair meets the same load.
  local cases=(add_new floor_new add_replace floor_replace delete
               floor_delete cp grep_v sed_i)
  # The companion runs do not depend on the size of the files.
  case $1 in
    realistic) cases+=(companion_x2 apply_new adds_20 apply_noop list) ;;
    large|doubled) cases+=(list grep_vtl) ;;
    # What anybody may write into the media-information file concerns
    # the listing only.
    *) cases=(list_media grep_c_media) ;;
  esac
  echo "${cases[@]}"
}

# Runs one case once on a fresh tree; appends "case size seconds KiB
# cpu-seconds" to the file |out|.
measure() {  # size-label case out
  set_cases "$1"
  local -n command=case_$2
  restore "$1"
  local figures
  if ! figures=$("$timer" "${command[@]}"); then
    echo "run.sh: case $2 failed on the $1 tree" >&2
    exit 1
  fi
  echo "$2 $1 $figures" >> "$3"
}

# Runs the tool's cases once, checking that they did their work, then
# every case once unmeasured.
warm_up() {  # size-label
  set_cases "$1"
  local id=${last_id[$1]} other=${next_to_last_name[$1]}
  local c
  case $1 in
    longline|unnamed)
      restore "$1"
      "$tool" --list | grep -q -F "$id"$'\tcomplete' ||
        { echo "run.sh: the listing left out $id" >&2; exit 1; }
      for c in $(cases_of "$1"); do measure "$1" "$c" /dev/null; done
      return ;;
  esac
  restore "$1"
  "${case_add_new[@]}" > /dev/null
  grep -q '/Bench 12$' "${files[0]}" ||
    { echo "run.sh: the add did not enter its format" >&2; exit 1; }
  restore "$1"
  "${case_delete[@]}" > /dev/null
  if grep -q -F "$id" "${files[@]}"; then
    echo "run.sh: the delete left lines of $id" >&2
    exit 1
  fi
  restore "$1"
  "${case_add_replace[@]}" > /dev/null
  [ "$(grep -c -F "/$other" "${files[1]}")" = 2 ] ||
    { echo "run.sh: the add did not replace its format" >&2; exit 1; }
  if [ "$1" = realistic ]; then
    restore "$1"
    "${case_apply_new[@]}"
    [ "$(grep -c '/Bench [0-9]*$' "${files[0]}")" = 20 ] ||
      { echo "run.sh: the apply did not enter its formats" >&2; exit 1; }
    restore "$1"
    "${case_apply_noop[@]}"
    local f
    for f in "${files[@]}"; do
      cmp -s "$f" "$work/pristine-$1/$model/bin/inf/${f##*/}" ||
        { echo "run.sh: the apply of formats there changed $f" >&2; exit 1; }
    done
  fi
  if [ "$1" != realistic ] &&
     ! "$tool" --list | grep -q -F "$id"$'\tcomplete'; then
    echo "run.sh: the listing left out $id" >&2
    exit 1
  fi
  for c in $(cases_of "$1"); do measure "$1" "$c" /dev/null; done
}

make_tree realistic realistic
for ((i = 1; i <= 20; i++)); do
  printf 'Bench %d\t12\t50\n' "$i"
done > "$work/new20.tsv"
restore realistic
"$tool" --export > "$work/present.tsv"
head -n 20 "$work/present.tsv" > "$work/present20.tsv"
make_tree large large "$large_mb"
make_tree doubled large "$(python3 -c "print(2 * $large_mb)")"
make_tree longline longline "$(python3 -c "print(2 * $large_mb)")"
make_tree unnamed unnamed "$(python3 -c "print(2 * $large_mb)")"
for size in "${sizes[@]}"; do warm_up "$size"; done
# Each round takes every case on every size in turn, so that a disturbance
# from other work on the machine falls on all of them alike and the ratios,
# the doubling one included, stay fair.
# Runs of a few milliseconds scatter more; they are cheap, so take more.
echo "measuring ($runs rounds)"
for ((round = 0; round < runs; round++)); do
  for size in "${sizes[@]}"; do
    repeats=1
    [ "$size" = realistic ] && repeats=5
    for ((i = 0; i < repeats; i++)); do
      for c in $(cases_of "$size"); do measure "$size" "$c" "$results"; done
    done
  done
done
cp "$results" "$build/bench-results.txt"
echo "figures kept in $build/bench-results.txt (report: bench/report.py)"
echo
python3 "$here/report.py" $check $cpu < "$results"
