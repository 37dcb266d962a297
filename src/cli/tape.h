// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_TAPE_H_
#define VTMEDIA_CLI_TAPE_H_

#include <string>

#include "store/settings.h"

// Tube formats are recognised by "HS" or "hs" in the name given so far.
bool is_heat_shrink(const std::string& format_name);

// Fits a requested width to the tape: sets width_mm, head_dots and, where
// the width has to shrink to the printable width, media_name. Returns
// false when no standard tape is wide enough.
bool apply_width_rule(int64_t width_mm, FormatSettings* settings);

// Raises short heights to the minimum and caps long ones.
int64_t fit_tape_height(int64_t height_mm, bool heat_shrink);

#endif  // VTMEDIA_CLI_TAPE_H_
