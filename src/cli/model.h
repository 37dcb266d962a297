// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_MODEL_H_
#define VTMEDIA_CLI_MODEL_H_

#include <string>

#include "store/settings.h"

// Learns the model from the program path (argv[0] as received): the first
// row of the model table whose key occurs in its file name wins, or,
// where the file name holds none, the first whose key occurs anywhere in
// the path. Returns false when no key occurs.
bool identify_model(const char* program_path, FormatSettings* settings);

// The print queue the model of |model_code| is usually installed under;
// empty for the roll-label models.
const char* queue_name_for(const std::string& model_code);

#endif  // VTMEDIA_CLI_MODEL_H_
