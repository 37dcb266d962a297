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

// Learns the model from the program path (argv[0] as received). The first
// row whose key occurs anywhere in the path wins, so the directory part
// counts as much as the file name. Returns false when no key occurs.
bool identify_model(const char* program_path, FormatSettings* settings);

#endif  // VTMEDIA_CLI_MODEL_H_
