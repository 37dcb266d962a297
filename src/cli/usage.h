// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_USAGE_H_
#define VTMEDIA_CLI_USAGE_H_

#include <string>

#include "store/settings.h"

// The usage screen for the model in |settings|, exactly as printed.
std::string usage_text(const FormatSettings& settings);

// Prints the usage screen on standard output.
void print_usage(const FormatSettings& settings);

#endif  // VTMEDIA_CLI_USAGE_H_
