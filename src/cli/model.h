// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_MODEL_H_
#define VTMEDIA_CLI_MODEL_H_

#include <stdint.h>

#include <string>

#include "store/settings.h"

// A row of the model table: the key searched for in the program name, the
// code the driver paths are built from, the kind of printer and the print
// queue the model is usually installed under.
struct ModelEntry {
  const char* key;
  const char* model_code;
  int32_t model_type;
  const char* queue;
};

// Every model the tool serves. Search order matters: the first key found
// wins.
inline constexpr ModelEntry kModels[] = {
  { "rk210", "rk210", 0, "" },
  { "rk260", "rk260", 1, "" },
  { "rk380mx", "rk380mx", 2, "" },
  { "tx4100", "tx4100zn", 3, "TX-4100ZN" },  // a code that differs from its key
  { "txr580", "txr580", 3, "TX-R580" },
  { "txr520", "txr520", 3, "TX-R520" },
  { "txr390k", "txr390k", 3, "TXR390K" },
  { "txr330qe", "txr330qe", 3, "TXR330qe" },
  { "txr300", "txr300", 3, "TXR300" },
  { "txd270", "txd270", 3, "TX-D270" },
};

// Learns the model from the program path (argv[0] as received): the first
// row of the model table whose key occurs in its file name wins, or,
// where the file name holds none, the first whose key occurs anywhere in
// the path. Returns false when no key occurs.
bool identify_model(const char* program_path, FormatSettings* settings);

// The print queue the model of |model_code| is usually installed under;
// empty for the roll-label models.
const char* queue_name_for(const std::string& model_code);

#endif  // VTMEDIA_CLI_MODEL_H_
