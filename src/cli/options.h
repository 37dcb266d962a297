// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_OPTIONS_H_
#define VTMEDIA_CLI_OPTIONS_H_

#include "cli/tape.h"
#include "store/settings.h"

enum Action {
  kActionUsage,
  kActionAdd,
  kActionDelete,
};

// Accepted value lengths, in bytes.
const size_t kMaxPrinterName = 1024;
const size_t kMaxFormatName = 32;

// What a tape model's rules made of the last -w and -h, for telling a
// person; |settings| holds what is stored.
struct TapeFit {
  int64_t asked_width_mm = 0;
  int64_t asked_height_mm = 0;
  const char* tube_mark = nullptr;    // what made the width rule a tube's
  const TapeMediaRow* row = nullptr;  // null for a tube above the table
};

// Reads the option/value pairs after argv[0] into |settings| and chooses
// the action. Any malformed pair stops reading and asks for the usage
// screen, saying why in |*reason| where that is given; the record then
// holds what was parsed so far. No options ask for it with no reason.
// On a tape model, |*fit| is filled where given.
Action parse_options(int argc, const char* const* argv,
                     FormatSettings* settings, std::string* reason = nullptr,
                     TapeFit* fit = nullptr);

#endif  // VTMEDIA_CLI_OPTIONS_H_
