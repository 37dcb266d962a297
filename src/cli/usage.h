// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_USAGE_H_
#define VTMEDIA_CLI_USAGE_H_

#include "store/settings.h"

// Prints the usage screen for the model in |settings| on standard output,
// exactly as callers expect it.
void print_usage(const FormatSettings& settings);

#endif  // VTMEDIA_CLI_USAGE_H_
