// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_OPTIONS_H_
#define VTMEDIA_CLI_OPTIONS_H_

#include "store/settings.h"

enum Action {
  kActionUsage,
  kActionAdd,
  kActionDelete,
};

// Accepted value lengths, in bytes.
const size_t kMaxPrinterName = 1024;
const size_t kMaxFormatName = 32;

// Reads the option/value pairs after argv[0] into |settings| and chooses
// the action. Any malformed pair stops reading and asks for the usage
// screen, saying why in |*reason| where that is given; the record then
// holds what was parsed so far. No options ask for it with no reason.
Action parse_options(int argc, const char* const* argv,
                     FormatSettings* settings, std::string* reason = nullptr);

#endif  // VTMEDIA_CLI_OPTIONS_H_
