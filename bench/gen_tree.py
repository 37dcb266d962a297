#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Makes an invented driver tree for the benchmark.

    gen_tree.py ROOT realistic
    gen_tree.py ROOT large MEGABYTES
    gen_tree.py ROOT longline MEGABYTES
    gen_tree.py ROOT unnamed MEGABYTES

writes ROOT/txr580/bin/inf/{vttxr580func,mediainftxr580,vttxr580rc,PrintArea}
and prints, one per line as NAME=VALUE, what the benchmark needs to know:
the name and identifier of the last format (whose lines are near the end of
every file), the name of the one before it, and the file sizes.

"realistic" is a function file of about 2,000 lines with 300 custom
formats. "large" pads the function and media-information files with
ordinary driver lines to about MEGABYTES each, the other two to a tenth of
that; the number of custom formats grows with the size, so that doubling
the size doubles every part of the work.

"longline" and "unnamed" are the realistic tree with MEGABYTES more in
the media-information file, as anybody may write there: one line of
identifier-shaped words, or short size lines of distinct identifiers that
no "*PageSize" line names.
"""

import os
import random
import sys

MODEL = "txr580"

# Standard tape rows: media name, nominal mm, printable mm, head dots.
TAPES = [
    ("_vtS3.5mm_", "3.5", 2, 24),
    ("_vtS6mm___", "6", 4, 32),
    ("_vtS9mm___", "9", 7, 50),
    ("_vtS12mm__", "12", 10, 70),
    ("_vtS18mm__", "18", 16, 112),
    ("_vtS24mm__", "24", 22, 128),
]
MM_PER_INCH = 25.43859649


class Format:
    def __init__(self, index, rng):
        self.name = "Label %05d" % index
        self.media, _, self.width, self.dots = TAPES[index % len(TAPES)]
        self.height = 20 + rng.randrange(200)
        self.id = "VtL%s%02X%02X%03X%01X%04X" % (
            self.media, len(self.name), self.width, self.height & 0xFFF,
            rng.randrange(16), rng.randrange(65536))

    def page_size_line(self):
        return '*PageSize %s/%s: "<</PageSize[%d %d]/ImagingBBox null>>' \
            'setpagedevice"\n' % (self.id, self.name, self.width, self.height)

    def media_line(self):
        along = int(self.height / MM_PER_INCH * 180)
        return "%s/%s:\t%d\t%d\n" % (self.id, self.name, self.dots, along)

    def area_line(self):
        return "%s:\t%.2f\t%.2f\t%.2f\t%.2f\n" % (
            self.id, 0.0, 0.0, self.dots / 180 * 72,
            self.height / MM_PER_INCH * 72)


# Ordinary lines of each file, of ordinary length. None holds "VtL" or
# "[CustomTape]", so they never take part in a lookup or an edit.
def function_filler(i, rng):
    kind = i % 5
    if kind == 0:
        return "*%% halftone cell %06d: threshold table follows\n" % i
    if kind == 1:
        return "Threshold%06d=%s\n" % (
            i, " ".join("%02X" % rng.randrange(256) for _ in range(16)))
    if kind == 2:
        return "*OrderDependency %d AnySetup *Density%06d\n" % (
            rng.randrange(100), i)
    if kind == 3:
        return '*Density%06d: "<</Density %d/Speed %d>>setpagedevice"\n' % (
            i, rng.randrange(16), rng.randrange(8))
    return "Gamma%06d=%d.%03d,%d.%03d,%d.%03d\n" % (
        i, rng.randrange(3), rng.randrange(1000), rng.randrange(3),
        rng.randrange(1000), rng.randrange(3), rng.randrange(1000))


def media_filler(i, rng):
    media = TAPES[i % len(TAPES)][0]
    return "%s/cal%06d:\t%d\t%d\t%d\t%d\t%d\t%d\n" % (
        media, i, rng.randrange(128), rng.randrange(4096),
        rng.randrange(4096), rng.randrange(4096), rng.randrange(256),
        rng.randrange(256))


def resource_filler(i, rng):
    return "Preset%06d=Density:%d,Copies:%d,AutoCut:%d,HalfCut:%d\n" % (
        i, rng.randrange(16), 1 + rng.randrange(9), rng.randrange(2),
        rng.randrange(2))


def area_filler(i, rng):
    media = TAPES[i % len(TAPES)][0]
    return "%s%06d:\t%.2f\t%.2f\t%.2f\t%.2f\n" % (
        media, i, 0.0, 0.0, rng.randrange(5200) / 100,
        rng.randrange(72000) / 100)


def identifier_words(megabytes, rng):
    """One line of words shaped like identifiers, separated by blanks."""
    words = []
    total = 0
    while total < megabytes * 1000 * 1000:
        word = "VtL0A%02X%03X%01X%04X " % (
            rng.randrange(256), rng.randrange(4096), rng.randrange(16),
            rng.randrange(65536))
        words.append(word)
        total += len(word)
    return ["".join(words) + "\n"]


def unnamed_lines(megabytes, rng):
    """Size lines of distinct identifiers that no "*PageSize" line names."""
    lines = []
    total = 0
    i = 0
    while total < megabytes * 1000 * 1000:
        line = "VtL07%06X%03X%01X%04X/Unnamed:\t70\t353\n" % (
            i, rng.randrange(4096), rng.randrange(16), rng.randrange(65536))
        lines.append(line)
        total += len(line)
        i += 1
    return lines


def fill(filler, rng, count=None, size=None):
    """Ordinary lines: |count| of them, or as many as make |size| bytes."""
    lines = []
    total = 0
    i = 0
    while (count is not None and i < count) or \
            (size is not None and total < size):
        line = filler(i, rng)
        lines.append(line)
        total += len(line)
        i += 1
    return lines


def byte_size(lines):
    return sum(len(line) for line in lines)


def build(kind, megabytes):
    rng = random.Random(580)
    if kind != "large":
        count = 300
    else:
        count = max(300, int(megabytes * 60))
    formats = []
    ids = set()
    while len(formats) < count:
        f = Format(len(formats), rng)
        if f.id not in ids:  # a delete takes every line of its identifier
            ids.add(f.id)
            formats.append(f)

    func_head = [
        "*% Vantrel TX-R580 tape printer: driver function table\n",
        "*% Read by the LPRng filter; one setting or entry a line.\n",
        "[General]\n", "ModelName=TX-R580\n", "Resolution=180\n",
        "HeadDots=128\n", "[Halftone]\n",
    ]
    func_formats = ["[PageSize]\n"]
    for name, nominal, width, _ in TAPES:
        func_formats.append(
            '*PageSize %s/%smm: "<</PageSize[%d 85]/ImagingBBox null>>'
            'setpagedevice"\n' % (name, nominal, int(width * 180 / 25.4)))
    func_formats += [f.page_size_line() for f in formats]
    func_formats.append("[CustomTape]\n")
    func_formats += ["%s/%s\n" % (f.id, f.name) for f in formats]
    func_tail = ["[Cutter]\n", "AutoCut=1\n", "HalfCut=0\n", "[End]\n"]

    media_head = ["# Vantrel TX-R580 media information: name, printable "
                  "dots across and along\n"]
    for name, nominal, _, dots in TAPES:
        media_head.append("%s/%smm:\t%d\t600\n" % (name, nominal, dots))
    media_formats = []
    for f in formats:
        media_formats += [f.page_size_line(), f.media_line()]

    resource_head = ["# Vantrel TX-R580 current settings\n", "Copies=1\n",
                     "Density=0\n"]
    # The current media is the last format, so a delete of it resets it.
    resource_tail = ["Media=%s\n" % formats[-1].id, "AutoCut=1\n",
                     "HalfCut=0\n"]

    area_head = ["# imageable areas in points: left bottom right top\n"]
    area_formats = [f.area_line() for f in formats]

    if kind != "large":
        used = len(func_head) + len(func_formats) + len(func_tail)
        func_fill = fill(function_filler, rng, count=2000 - used)
        media_fill = fill(media_filler, rng, count=200)
        resource_fill = fill(resource_filler, rng, count=30)
        area_fill = fill(area_filler, rng, count=30)
    else:
        big = megabytes * 1000 * 1000
        small = big // 10
        func_fill = fill(function_filler, rng, size=big - byte_size(
            func_head + func_formats + func_tail))
        media_fill = fill(media_filler, rng,
                          size=big - byte_size(media_head + media_formats))
        resource_fill = fill(resource_filler, rng, size=small - byte_size(
            resource_head + resource_tail))
        area_fill = fill(area_filler, rng,
                         size=small - byte_size(area_head + area_formats))

    hostile = []
    if kind == "longline":
        hostile = identifier_words(megabytes, rng)
    elif kind == "unnamed":
        hostile = unnamed_lines(megabytes, rng)
    files = {
        "vt%sfunc" % MODEL: func_head + func_fill + func_formats + func_tail,
        "mediainf%s" % MODEL: media_head + media_fill + media_formats +
        hostile,
        "vt%src" % MODEL: resource_head + resource_fill + resource_tail,
        "PrintArea": area_head + area_fill + area_formats,
    }
    return formats, files


def main():
    kinds = ("realistic", "large", "longline", "unnamed")
    if len(sys.argv) < 3 or sys.argv[2] not in kinds or \
            (sys.argv[2] != "realistic" and len(sys.argv) != 4):
        sys.stderr.write(__doc__)
        return 2
    root, kind = sys.argv[1], sys.argv[2]
    megabytes = float(sys.argv[3]) if kind != "realistic" else 0
    formats, files = build(kind, megabytes)
    inf = os.path.join(root, MODEL, "bin", "inf")
    os.makedirs(inf, exist_ok=True)
    for name, lines in files.items():
        with open(os.path.join(inf, name), "w") as out:
            out.writelines(lines)
    print("LAST_NAME=%s" % formats[-1].name)
    print("LAST_ID=%s" % formats[-1].id)
    print("NEXT_TO_LAST_NAME=%s" % formats[-2].name)
    for name, lines in files.items():
        print("LINES_%s=%d" % (name, len(lines)))
        print("BYTES_%s=%d" % (name, byte_size(lines)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
