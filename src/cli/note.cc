// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/note.h"

std::string stored_note(const FormatSettings& settings, const TapeFit& fit) {
  bool narrowed = settings.width_mm != fit.asked_width_mm;
  bool raised = settings.height_mm > fit.asked_height_mm;
  bool capped = settings.height_mm < fit.asked_height_mm;
  if (is_roll_label(settings) ||
      (fit.tube_mark == nullptr && !narrowed && !raised && !capped))
    return "";
  std::string note = "'" + settings.format_name + "' stored as " +
      std::to_string(settings.width_mm) + " x " + std::to_string(settings.height_mm) + " mm on ";
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
