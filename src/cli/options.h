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
  // The model's formats as a set: the formats file of those there, what
  // making FILE's formats present would change, and making them present,
  // with (sync) or without the others going.
  kActionExport,
  kActionDiff,
  kActionApply,
  kActionSync,
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
  std::string file;  // the formats file of --diff, --apply and --sync
};

// Each reads one value into |settings| as its option is read: -P, -n or
// -d, -w, -h (on a tape model by the tape rules, noting in |*fit| what
// they made of it; "HS" or "hs" in the name read so far selects the tube).
// Returns "" when the value is taken, else why it is refused, naming it
// by |label|.
std::string read_printer(const std::string& label, const std::string& value,
                         FormatSettings* settings);
std::string read_name(const std::string& label, const std::string& value,
                      FormatSettings* settings);
std::string read_width(const std::string& label, const std::string& value,
                       FormatSettings* settings, TapeFit* fit);
std::string read_height(const std::string& label, const std::string& value,
                        FormatSettings* settings, TapeFit* fit);

// Reads the option/value pairs after argv[0] into |settings| and chooses
// the action. Any malformed pair stops reading at once; the record then
// holds what was parsed so far. The set commands have shapes of their
// own: "--export", "--diff FILE", "-P QUEUE --apply FILE" and
// "-P QUEUE --sync FILE", -P before or after.
CommandLine parse_options(int argc, const char* const* argv,
                          FormatSettings* settings);

#endif  // VTMEDIA_CLI_OPTIONS_H_
