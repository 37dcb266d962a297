// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_TAPE_H_
#define VTMEDIA_CLI_TAPE_H_

#include <string>

#include "cli/settings.h"

// What a tape model can print on one nominal tape width.
struct TapeMediaRow {
  int nominal_mm;    // the row serves widths up to this one
  int printable_mm;
  int dots;          // printable dots across at 180 dpi
  const char* name;  // page-size name, always 10 characters
};

extern const TapeMediaRow kStandardTape[];
extern const int kStandardTapeCount;
extern const TapeMediaRow kHeatShrinkTube[];
extern const int kHeatShrinkTubeCount;

// Tube formats are recognised by "HS" or "hs" in the name given so far.
bool is_heat_shrink(const std::string& format_name);

// Fits a requested width to the tape: sets width_mm, head_dots and, where
// the width has to shrink to the printable width, media_name. Returns
// false when no standard tape is wide enough.
bool apply_width_rule(int64_t width_mm, FormatSettings* settings);

// Raises short heights to the minimum and caps long ones.
int64_t fit_tape_height(int64_t height_mm, bool heat_shrink);

#endif  // VTMEDIA_CLI_TAPE_H_
