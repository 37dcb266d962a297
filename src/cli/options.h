// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_OPTIONS_H_
#define VTMEDIA_CLI_OPTIONS_H_

#include <string>

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

// What a command line asks for. A refused one asks for the usage screen
// and says in |reason| what is wrong with it, naming the argument at
// fault.
struct CommandLine {
  Action action = kActionUsage;
  std::string reason;
  TapeFit fit;  // on a tape model, what the rules made of -w and -h
};

// Reads the option/value pairs after argv[0] into |settings| and chooses
// the action. Any malformed pair stops reading at once; the record then
// holds what was parsed so far.
CommandLine parse_options(int argc, const char* const* argv,
                          FormatSettings* settings);

#endif  // VTMEDIA_CLI_OPTIONS_H_
