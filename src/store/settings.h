// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_SETTINGS_H_
#define VTMEDIA_STORE_SETTINGS_H_

#include <stdint.h>

#include <string>

// One request: what the front end learnt from the program name and the
// options, handed to the format operations, which only read it.
struct FormatSettings {
  int32_t model_type = 0;    // 0..2 roll-label models, 3 every tape model
  std::string model_code;    // names the driver directory and its files
  std::string printer_name;  // -P, 1..1024 bytes
  std::string format_name;   // -n or -d, 1..32 bytes
  std::string media_name;    // tape page-size name (10 chars) or empty
  int64_t width_mm = 0;
  int64_t height_mm = 0;
  int64_t head_dots = 0;     // printable dots across the tape; 0 on rolls
};

// Roll-label models have types up to this one; tape models are above it.
const int32_t kLastRollLabelType = 2;

inline bool is_roll_label(const FormatSettings& settings) {
  return settings.model_type <= kLastRollLabelType;
}

#endif  // VTMEDIA_STORE_SETTINGS_H_
