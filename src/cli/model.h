// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_MODEL_H_
#define VTMEDIA_CLI_MODEL_H_

#include "cli/settings.h"

// A row of the model table: the key searched for in the program name, the
// code the driver paths are built from, and the kind of printer.
struct ModelEntry {
  const char* key;
  const char* model_code;
  int32_t model_type;
};

extern const ModelEntry kModels[];
extern const int kModelCount;

// Learns the model from the program path (argv[0] as received): the first
// row whose key occurs in its file name wins, or, where the file name
// holds none, the first whose key occurs anywhere in the path. Returns
// false when no key occurs.
bool identify_model(const char* program_path, FormatSettings* settings);

#endif  // VTMEDIA_CLI_MODEL_H_
