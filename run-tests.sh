#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what this machine lacks (scripts/install-deps.sh), builds
# everything in build/ and runs every test. A run without the GoogleTest
# tests, or in which no test ran, fails.
set -euo pipefail
cd "$(dirname "$0")"
me=$(basename "$0")

scripts/install-deps.sh test
# The tests on, whatever an older cache of build/ says.
cmake -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVTMEDIATOOL_BUILD_TESTS=ON
cmake --build build -j"$(nproc)"

log=build/Testing/run-tests.log
mkdir -p build/Testing
status=0
ctest --test-dir build --output-on-failure -j"$(nproc)" 2>&1 | tee "$log" ||
    status=$?

# ctest names the tests it skipped but not why: a GoogleTest skip gives
# its reason on the line after "Skipped", a shell check as its last line.
skipped=$(sed -n 's/^\t *[0-9]* - \(.*\) (Skipped)$/\1/p' "$log")
if [[ -n $skipped ]]; then
    awk -v names="$skipped" '
        BEGIN { n = split(names, list, "\n")
                for (i = 1; i <= n; i++) wanted[list[i]] = 1 }
        /^[0-9]+\/[0-9]+ Test: / { name = $3 }
        /^Output:$/ { getline; out = (name in wanted); why = last = ""; next }
        out && /^<end of output>$/ {
            print "skipped " name ": " (why != "" ? why : last); out = 0 }
        out && why == "" && last ~ /: Skipped$/ { why = $0 }
        out { last = $0 }' build/Testing/Temporary/LastTest.log
fi

total=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$log")
if (( ${total:-0} == $(grep -c '(Skipped)$' "$log") )); then
    echo "$me: ctest ran no test" >&2
    exit 1
fi
if ! grep -qx 'VTMEDIATOOL_GTEST_FOUND:INTERNAL=ON' build/CMakeCache.txt; then
    echo "$me: GoogleTest not found (Debian: libgtest-dev): only the" \
         "shell checks and the fuzz corpus replays ran" >&2
    exit 1
fi
exit "$status"
