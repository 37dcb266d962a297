// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_HELP_H_
#define VTMEDIA_CLI_HELP_H_

#include <string>

#include "store/settings.h"

// The screens the tool prints on standard output for people and for the
// scripts that expect them.

// Prints the usage screen for the model in |settings| on standard output,
// exactly as callers expect it: the answer to a malformed command line.
void print_usage(const FormatSettings& settings);

// What --help prints for the model in |settings|: the synopsis, every
// option and its limits, the tape rules, examples and the exit statuses.
std::string help_text(const FormatSettings& settings);

// What --help prints under a name that holds no model: the model names
// the tool is installed under.
std::string models_help_text();

// What --version prints.
std::string version_text();

#endif  // VTMEDIA_CLI_HELP_H_
