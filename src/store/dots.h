// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_DOTS_H_
#define VTMEDIA_STORE_DOTS_H_

#include <stdint.h>

#include "store/settings.h"

// A format's sizes in printer dots and points, as the driver has always
// converted millimetres: the printed sizes depend on the constant, so it
// is not 25.4.
const double kMillimetresPerInch = 25.43859649;
const double kRollDotsPerInch = 300;
const double kTapeDotsPerInch = 180;
const double kPointsPerInch = 72;
// The unprintable margins of roll labels, in millimetres.
const int64_t kRollWidthMargin = 3;
const int64_t kRollHeightMargin = 6;

// Millimetres to whole dots, truncated toward zero.
inline long long mm_to_dots(int64_t mm, double dots_per_inch) {
  return static_cast<long long>(mm / kMillimetresPerInch * dots_per_inch);
}

// The dots along the feed of a roll label |height_mm| high.
inline long long roll_label_along_dots(int64_t height_mm) {
  return mm_to_dots(height_mm - kRollHeightMargin, kRollDotsPerInch);
}

// The dots across a format of |settings|, as its size line gives them: a
// tape's printable dots, or a roll label's width less its margin.
inline long long across_dots(const FormatSettings& settings) {
  if (is_roll_label(settings))
    return mm_to_dots(settings.width_mm - kRollWidthMargin, kRollDotsPerInch);
  return settings.head_dots;
}

#endif  // VTMEDIA_STORE_DOTS_H_
