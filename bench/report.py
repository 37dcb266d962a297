#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Reads the benchmark's figures ("case size seconds KiB cpu-seconds" a
line) on standard input, prints the table of medians and ratios, and with
--check compares them with the targets, exiting 1 when one is missed.

The targets: each request at most 1.10 times its floor (bench/floor_run.cc
doing the same companion runs and file passes and nothing else) at every
size, and the tool's peak memory at most 8 MiB at every size and flat from
one size to the next; --list at most 1.5 times grep -F VtL over the four
files it reads, on the large and doubled trees, in at most 8 MiB (its
memory grows with the number of formats, which the doubled tree doubles).
On a media-information file that anybody filled: with one line of
identifier-shaped words, --list at most 1.5 times grep -c -F VtL on that
file (the line reader holds the line, so memory is not judged); with
short lines of identifiers that no "*PageSize" line names, at most 8 MiB.
On the realistic tree, --apply of 20 new formats at most 1.05 times the 20
single adds one after another, and an --apply of 20 formats already there
at most 2 times --list. cp, grep -v, sed -i and the two companion runs of
an add are in the table for comparison only.

Times and ratios are of wall time; with --cpu they are of processor time
(user and system), which a machine busy with other work disturbs less.
Each request is measured right before its floor, and judged by the median
of those pairs' ratios, so that other work on the machine falls on both
alike."""

import statistics
import sys

TOOL_CASES = ["add_new", "add_replace", "delete"]
FLOORS = {"add_new": "floor_new", "add_replace": "floor_replace",
          "delete": "floor_delete"}
BASELINES = ["cp", "grep_v", "sed_i", "companion_x2"]
SIZES = ["realistic", "large", "doubled", "longline", "unnamed"]
REQUEST_SIZES = SIZES[:3]
# The listing and what it is measured against, right after it.
PAIRS = dict(FLOORS, list="grep_vtl", list_media="grep_c_media",
             apply_new="adds_20", apply_noop="list")
LIST_SIZES = ["large", "doubled"]
LIST_LIMIT = 1.5
# The --apply cases, on the realistic tree, and their limits.
APPLY_LIMITS = {"apply_new": 1.05, "apply_noop": 2.0}
APPLY_WHAT = {"apply_new": "apply of 20 new / 20 single adds",
              "apply_noop": "apply of 20 there / --list"}

FLOOR_LIMIT = 1.10
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
    # The n-th run of a request and the n-th of its floor were neighbours.
    paired = {}
    for case, floor in PAIRS.items():
        for size in SIZES:
            runs, floors = times.get((case, size)), times.get((floor, size))
            if runs and floors and len(runs) == len(floors):
                paired[(case, size)] = statistics.median(
                    run / base for run, base in zip(runs, floors))
    return medians, peaks, paired


def ratio(medians, case, size, baseline):
    base = medians.get((baseline, size))
    if (case, size) not in medians or base is None or base <= 0:
        return None
    return medians[(case, size)] / base


def print_table(medians, peaks, use_cpu):
    header = "%-13s %-9s %10s %9s %7s %7s %8s %7s %7s" % (
        "case", "size", "cpu ms" if use_cpu else "median ms", "peak MiB",
        "x floor", "x cp", "x grep-v", "x sed-i", "x 2comp")
    print(header)
    print("-" * len(header))
    for size in SIZES:
        cases = list(PAIRS) + list(PAIRS.values()) + BASELINES
        for case in sorted(set(cases), key=cases.index):
            if (case, size) not in medians:
                continue
            cells = []
            for baseline in [PAIRS.get(case)] + BASELINES:
                r = ratio(medians, case, size, baseline)
                cells.append("-" if r is None else "%.2f" % r)
            print("%-13s %-9s %10.2f %9.2f %7s %7s %8s %7s %7s" % (
                case, size, medians[(case, size)] * 1000,
                peaks[(case, size)] / 1024, *cells))


def judge_memory(judge, peaks, cases, sizes, what, flat=True):
    """The peak of |cases| at each of |sizes|, and, where it must be
    |flat|, its growth from one to the next."""
    tool_peak = {}
    for size in sizes:
        figures = [peaks[(case, size)] for case in cases
                   if (case, size) in peaks]
        tool_peak[size] = max(figures) / 1024 if figures else None
        judge("%speak memory, %s" % (what, size), tool_peak[size],
              MEMORY_LIMIT_KIB / 1024, " MiB")
    if not flat:
        return
    for smaller, larger in zip(sizes, sizes[1:]):
        growth = (None if tool_peak[smaller] is None or
                  tool_peak[larger] is None
                  else tool_peak[larger] - tool_peak[smaller])
        judge("%speak memory growth, %s to %s" % (what, smaller, larger),
              growth, MEMORY_SLACK_KIB / 1024, " MiB")


def check(paired, peaks):
    met, missed = 0, 0

    def judge(what, value, limit, unit):
        nonlocal met, missed
        if value is None:
            print("MISSED  %s: not measured" % what)
            missed += 1
            return
        good = value <= limit
        # A place finer than the limits, so that a figure just over its
        # limit seldom reads as equal to it.
        print("%s  %s: %.3f%s (limit %.2f%s)" % (
            "met   " if good else "MISSED", what, value, unit, limit, unit))
        if good:
            met += 1
        else:
            missed += 1

    for size in REQUEST_SIZES:
        for case in TOOL_CASES:
            judge("%s %s / its floor" % (size, case),
                  paired.get((case, size)), FLOOR_LIMIT, "x")
    for size in LIST_SIZES:
        judge("%s list / grep -F VtL" % size, paired.get(("list", size)),
              LIST_LIMIT, "x")
    judge("longline list / grep -c -F VtL",
          paired.get(("list_media", "longline")), LIST_LIMIT, "x")
    for case, limit in APPLY_LIMITS.items():
        judge("realistic %s" % APPLY_WHAT[case],
              paired.get((case, "realistic")), limit, "x")
    judge_memory(judge, peaks, TOOL_CASES, REQUEST_SIZES, "")
    judge_memory(judge, peaks, ["list"], LIST_SIZES, "list ", flat=False)
    judge_memory(judge, peaks, ["list_media"], ["unnamed"], "list ",
                 flat=False)
    print("%d met, %d missed" % (met, missed))
    return missed == 0


def main():
    checking = "--check" in sys.argv[1:]
    use_cpu = "--cpu" in sys.argv[1:]
    medians, peaks, paired = read_figures(sys.stdin, use_cpu)
    print_table(medians, peaks, use_cpu)
    if not checking:
        return 0
    print()
    return 0 if check(paired, peaks) else 1


if __name__ == "__main__":
    sys.exit(main())
