// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/tape.h"

namespace {

// What a tape model can print on one nominal tape width.
struct TapeMediaRow {
  int nominal_mm;    // the row serves widths up to this one
  int printable_mm;
  int dots;          // printable dots across at 180 dpi
  const char* name;  // page-size name, always 10 characters
};

// 3.5 mm tape is served by the first row; its bound is 5, not 3.5.
const TapeMediaRow kStandardTape[] = {
  { 5, 2, 24, "_vtS3.5mm_" },
  { 6, 4, 32, "_vtS6mm___" },
  { 9, 7, 50, "_vtS9mm___" },
  { 12, 10, 70, "_vtS12mm__" },
  { 18, 16, 112, "_vtS18mm__" },
  { 24, 22, 128, "_vtS24mm__" },
};
const int kStandardTapeCount = sizeof(kStandardTape) / sizeof(kStandardTape[0]);

const TapeMediaRow kHeatShrinkTube[] = {
  { 6, 4, 28, "_vtHS6mm__" },
  { 9, 7, 48, "_vtHS9mm__" },
  { 12, 9, 66, "_vtHS12mm_" },
  { 18, 15, 106, "_vtHS18mm_" },
  { 24, 18, 128, "_vtHS24mm_" },
};
const int kHeatShrinkTubeCount =
    sizeof(kHeatShrinkTube) / sizeof(kHeatShrinkTube[0]);

const int64_t kMinTapeHeight = 4;
const int64_t kMaxTapeHeight = 1000;
const int64_t kMaxTubeHeight = 500;

}  // namespace

bool is_heat_shrink(const std::string& format_name) {
  return format_name.find("HS") != std::string::npos ||
         format_name.find("hs") != std::string::npos;
}

bool apply_width_rule(int64_t width_mm, FormatSettings* settings) {
  bool tube = is_heat_shrink(settings->format_name);
  const TapeMediaRow* rows = tube ? kHeatShrinkTube : kStandardTape;
  int count = tube ? kHeatShrinkTubeCount : kStandardTapeCount;
  for (int i = 0; i < count; ++i) {
    if (rows[i].nominal_mm < width_mm)
      continue;
    settings->head_dots = rows[i].dots;
    if (rows[i].printable_mm < width_mm) {
      settings->width_mm = rows[i].printable_mm;
      settings->media_name = rows[i].name;
    } else {
      settings->width_mm = width_mm;
    }
    return true;
  }
  // Tube wider than the table is taken as asked; standard tape is not.
  if (!tube)
    return false;
  settings->width_mm = width_mm;
  return true;
}

int64_t fit_tape_height(int64_t height_mm, bool heat_shrink) {
  if (height_mm < kMinTapeHeight)
    return kMinTapeHeight;
  int64_t cap = heat_shrink ? kMaxTubeHeight : kMaxTapeHeight;
  return height_mm > cap ? cap : height_mm;
}
