// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_TAPE_H_
#define VTMEDIA_CLI_TAPE_H_

#include <string>

#include "store/settings.h"

// What a tape model can print on one nominal tape width.
struct TapeMediaRow {
  int nominal_mm;     // the row serves widths up to this one
  int printable_mm;
  int dots;           // printable dots across at 180 dpi
  const char* name;   // page-size name, always 10 characters
  const char* label;  // the width it is sold as, in mm
};

// The rows of standard tape or of heat-shrink tube, narrowest first, and
// their number in |*count|.
const TapeMediaRow* tape_rows(bool heat_shrink, int* count);

const int64_t kTapeHeightMin = 4;
const int64_t kTapeHeightMax = 1000;
const int64_t kTubeHeightMax = 500;

// Tube formats are recognised by "HS" or "hs" in the name given so far:
// the one of the two the name holds, "HS" first; null for neither.
const char* heat_shrink_mark(const std::string& format_name);

// Fits a requested width to the tape: sets width_mm, head_dots and, where
// the width has to shrink to the printable width, media_name. Returns
// false when no standard tape is wide enough. |*row| is set to the tape
// or tube chosen, null for a tube wider than the table, taken as asked.
bool apply_width_rule(int64_t width_mm, FormatSettings* settings,
                      const TapeMediaRow** row = nullptr);

// Raises short heights to the minimum and caps long ones.
int64_t fit_tape_height(int64_t height_mm, bool heat_shrink);

// What a tape model's rules made of the last -w and -h, for telling a
// person; the settings hold what is stored.
struct TapeFit {
  int64_t asked_width_mm = 0;
  int64_t asked_height_mm = 0;
  const char* tube_mark = nullptr;    // what made the width rule a tube's
  const TapeMediaRow* row = nullptr;  // null for a tube above the table
};

// What an add on a tape model stored, where the tape rules made it
// differ from the request or chose the tube by the name ("'NAME' stored
// as W x H mm on 12 mm tape (...)"); empty where they did neither.
std::string stored_note(const FormatSettings& settings, const TapeFit& fit);

#endif  // VTMEDIA_CLI_TAPE_H_
