#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Reads the benchmark's figures ("case size seconds KiB cpu-seconds" a
line) on standard input, prints the table of medians and ratios, and with
--check compares them with the targets, exiting 1 when one is missed. The
grep -v and sed -i columns are for comparison only.

Times and ratios are of wall time; with --cpu they are of processor time
(user and system), which a machine busy with other work disturbs less."""

import statistics
import sys

TOOL_CASES = ["add_new", "add_replace", "delete"]
# bench/floor_run.cc doing each tool case's companion runs and file passes
# and nothing else, on the realistic tree only.
FLOORS = {"add_new": "floor_new", "add_replace": "floor_replace",
          "delete": "floor_delete"}
BASELINES = ["cp", "grep_v", "sed_i", "companion_x2"]
SIZES = ["realistic", "large", "doubled"]

# On the large files, against cp of the four files. The order of the work
# is fixed with the companion tool and sets the floor: a delete is one pass
# over each of the four files plus two read-only lookups (of the function
# and media-information files); an add of a new name is a lookup that finds
# nothing (one read of each of those two files) and one pass over three;
# an add that replaces a format is both, the delete and then the add.
CP_LIMITS = {"delete": 2.2, "add_new": 1.8, "add_replace": 4.0}
# On the ordinary tree, against the two companion runs an add makes.
COMPANION_LIMIT = 1.6
DOUBLING_LIMIT = 2.1
MEMORY_LIMIT_KIB = 8 * 1024
# Peak memory may differ by a few pages between runs and file sizes; more
# than this is growth.
MEMORY_SLACK_KIB = 512


def read_figures(stream, use_cpu):
    times, peaks = {}, {}
    for line in stream:
        fields = line.split()
        if len(fields) != 5:
            continue
        key = (fields[0], fields[1])
        times.setdefault(key, []).append(
            float(fields[4] if use_cpu else fields[2]))
        peaks[key] = max(peaks.get(key, 0), int(fields[3]))
    medians = {key: statistics.median(values)
               for key, values in times.items()}
    return medians, peaks


def ratio(medians, case, size, baseline):
    base = medians.get((baseline, size))
    if base is None or base <= 0:
        return None
    return medians[(case, size)] / base


def print_table(medians, peaks, use_cpu):
    header = "%-13s %-9s %10s %9s %7s %8s %7s %7s" % (
        "case", "size", "cpu ms" if use_cpu else "median ms", "peak MiB", "x cp", "x grep-v",
        "x sed-i", "x 2comp")
    print(header)
    print("-" * len(header))
    for size in SIZES:
        for case in TOOL_CASES + list(FLOORS.values()) + BASELINES:
            if (case, size) not in medians:
                continue
            cells = []
            for baseline in BASELINES:
                r = ratio(medians, case, size, baseline)
                cells.append("-" if r is None else "%.2f" % r)
            print("%-13s %-9s %10.2f %9.2f %7s %8s %7s %7s" % (
                case, size, medians[(case, size)] * 1000,
                peaks[(case, size)] / 1024, *cells))


def growth_on_doubling(medians, case):
    if (case, "large") not in medians or (case, "doubled") not in medians:
        return None
    return medians[(case, "doubled")] / medians[(case, "large")]


def check(medians, peaks):
    met, missed = 0, []

    def judge(what, value, limit, unit):
        nonlocal met
        if value is None:
            missed.append(what + ": not measured")
            print("MISSED  %s: not measured" % what)
            return
        good = value <= limit
        # A place finer than the limits, so that a figure just over its
        # limit seldom reads as equal to it.
        text = "%s: %.3f%s (limit %.2f%s)" % (what, value, unit, limit, unit)
        print("%s  %s" % ("met   " if good else "MISSED", text))
        if good:
            met += 1
        else:
            missed.append(text)

    def times(case, size, baseline):
        return (ratio(medians, case, size, baseline)
                if (case, size) in medians else None)

    for case in TOOL_CASES:
        judge("large %s / cp" % case, times(case, "large", "cp"),
              CP_LIMITS[case], "x")
    # The same edit by hand, for comparison only: grep -v and sed -i
    # neither look a name up nor run the companion, so they set no target.
    for case in TOOL_CASES:
        for baseline, label in (("grep_v", "grep -v"), ("sed_i", "sed -i")):
            r = times(case, "large", baseline)
            print("info    large %s / %s: %s" % (
                case, label, "not measured" if r is None else "%.2fx" % r))
    for case in TOOL_CASES:
        judge("realistic %s / two companion runs" % case,
              times(case, "realistic", "companion_x2"), COMPANION_LIMIT, "x")
    # What the order of the work leaves of that limit: the tool cannot do
    # better than its floor.
    for case in TOOL_CASES:
        floor = FLOORS[case]
        r = times(floor, "realistic", "companion_x2")
        over = times(case, "realistic", floor)
        print("info    realistic %s floor / two companion runs: %s;"
              " %s / its floor: %s" % (
                  case, "not measured" if r is None else "%.2fx" % r,
                  case, "not measured" if over is None else "%.2fx" % over))
    for case in TOOL_CASES:
        judge("doubled %s / large %s" % (case, case),
              growth_on_doubling(medians, case), DOUBLING_LIMIT, "x")
    tool_peak = {}
    for size in SIZES:
        figures = [peaks[(case, size)] for case in TOOL_CASES
                   if (case, size) in peaks]
        tool_peak[size] = max(figures) / 1024 if figures else None
        judge("peak memory, %s" % size, tool_peak[size],
              MEMORY_LIMIT_KIB / 1024, " MiB")
    for size in SIZES[1:]:
        growth = (None if tool_peak[size] is None or
                  tool_peak["realistic"] is None
                  else tool_peak[size] - tool_peak["realistic"])
        judge("peak memory growth, realistic to %s" % size, growth,
              MEMORY_SLACK_KIB / 1024, " MiB")
    print("%d met, %d missed" % (met, len(missed)))
    return not missed


def main():
    checking = "--check" in sys.argv[1:]
    use_cpu = "--cpu" in sys.argv[1:]
    medians, peaks = read_figures(sys.stdin, use_cpu)
    print_table(medians, peaks, use_cpu)
    if not checking:
        return 0
    print()
    return 0 if check(medians, peaks) else 1


if __name__ == "__main__":
    sys.exit(main())
