// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/tape.h"

#include <iterator>

namespace {

// 3.5 mm tape is served by the first row; its bound is 5, not 3.5.
const TapeMediaRow kStandardTape[] = {
  { 5, 2, 24, "_vtS3.5mm_", "3.5" },
  { 6, 4, 32, "_vtS6mm___", "6" },
  { 9, 7, 50, "_vtS9mm___", "9" },
  { 12, 10, 70, "_vtS12mm__", "12" },
  { 18, 16, 112, "_vtS18mm__", "18" },
  { 24, 22, 128, "_vtS24mm__", "24" },
};

const TapeMediaRow kHeatShrinkTube[] = {
  { 6, 4, 28, "_vtHS6mm__", "6" },
  { 9, 7, 48, "_vtHS9mm__", "9" },
  { 12, 9, 66, "_vtHS12mm_", "12" },
  { 18, 15, 106, "_vtHS18mm_", "18" },
  { 24, 18, 128, "_vtHS24mm_", "24" },
};

}  // namespace

const TapeMediaRow* tape_rows(bool heat_shrink, int* count) {
  *count = heat_shrink ? std::size(kHeatShrinkTube) : std::size(kStandardTape);
  return heat_shrink ? kHeatShrinkTube : kStandardTape;
}

const char* heat_shrink_mark(const std::string& format_name) {
  for (const char* mark : { "HS", "hs" }) {
    if (format_name.find(mark) != std::string::npos)
      return mark;
  }
  return nullptr;
}

bool apply_width_rule(int64_t width_mm, FormatSettings* settings,
                      const TapeMediaRow** row) {
  bool tube = heat_shrink_mark(settings->format_name) != nullptr;
  int count;
  const TapeMediaRow* rows = tape_rows(tube, &count);
  if (row != nullptr)
    *row = nullptr;
  for (int i = 0; i < count; ++i) {
    if (rows[i].nominal_mm < width_mm)
      continue;
    if (row != nullptr)
      *row = &rows[i];
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
  if (height_mm < kTapeHeightMin)
    return kTapeHeightMin;
  int64_t cap = heat_shrink ? kTubeHeightMax : kTapeHeightMax;
  return height_mm > cap ? cap : height_mm;
}

std::string stored_note(const FormatSettings& settings, const TapeFit& fit) {
  bool narrowed = settings.width_mm != fit.asked_width_mm;
  bool raised = settings.height_mm > fit.asked_height_mm;
  bool capped = settings.height_mm < fit.asked_height_mm;
  if (is_roll_label(settings) ||
      (fit.tube_mark == nullptr && !narrowed && !raised && !capped))
    return "";
  std::string note = "'" + settings.format_name + "' stored as " +
      std::to_string(settings.width_mm) + " x " +
      std::to_string(settings.height_mm) + " mm on ";
  const char* media = fit.tube_mark ? "heat-shrink tube" : "tape";
  if (fit.row != nullptr)
    note += std::string(fit.row->label) + " mm " + media;
  else
    note += "heat-shrink tube as given, wider than the widest tube";
  // The tube's printable width goes without saying once it is named.
  std::string why;
  if (fit.tube_mark != nullptr)
    why += std::string("; its name holds \"") + fit.tube_mark + "\"";
  else if (narrowed)
    why += "; its printable width";
  if (raised)
    why += "; " + std::to_string(kTapeHeightMin) + " mm at least";
  if (capped)
    why += "; " + std::to_string(settings.height_mm) + " mm at most";
  return note + " (" + why.substr(2) + ")";
}
