#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan and runs it, all but the
# packaging checks, which run no code of the tool's that the sanitizers
# could watch. Every report ends the program that made it with a failure
# (nothing is recovered from), so any report fails a test and with it
# this script.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${JOBS:-$(nproc)}
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

# The sanitizers' runtimes are shared libraries.
cmake -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTMEDIATOOL_STATIC=OFF \
  -DVTMEDIATOOL_BUILD_TESTS=ON \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags"
cmake --build build-asan -j"$jobs"

# Leaks count too; abort so that a report can never pass for an exit code
# a test expected.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure --no-tests=error \
  --label-exclude packaging -j"$jobs"
