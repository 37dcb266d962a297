#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the libFuzzer targets with clang++ in build-fuzz and runs each for
# SECONDS (default 20), one after another, starting from the kept corpus in
# fuzz/corpus/<target>. New inputs go to fuzz/corpus-work/<target> (not
# kept); a finding stops the run with the target's log and a non-zero
# status, and its input is saved as build-fuzz/<target>-crash-*.
#
# Without a clang++ that can build libFuzzer programs it says so and exits
# 0, so that CI machines without clang still pass.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
build=build-fuzz

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: skipped, clang++ is not installed"
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '%s\n' '#include <stddef.h>' '#include <stdint.h>' \
  'extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }' \
  > "$probe/probe.cc"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cc" \
    -o "$probe/probe" >/dev/null 2>&1; then
  echo "fuzz: skipped, clang++ cannot build libFuzzer programs here"
  exit 0
fi

jobs=${JOBS:-$(nproc)}
cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs"

for corpus in fuzz/corpus/*/; do
  target=$(basename "$corpus")
  work=fuzz/corpus-work/$target
  log=$build/$target.log
  mkdir -p "$work"
  echo "fuzz: $target for ${seconds}s"
  if ! "$build/${target}_fuzzer" -max_total_time="$seconds" \
      -print_final_stats=1 -artifact_prefix="$build/$target-" \
      "$work" "$corpus" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $target FAILED (log: $log)"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done ' "$log" || true
done
echo "fuzz: no findings"
