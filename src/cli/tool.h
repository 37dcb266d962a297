// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_TOOL_H_
#define VTMEDIA_CLI_TOOL_H_

#include <string>

#include "store/driver.h"

// The whole program: learns the model from argv[0], reads the options,
// runs one action on the driver described by |env|, prints the result on
// standard output and returns the process exit status.
int run_tool(int argc, const char* const* argv, const StoreEnv& env);

// Standard output carries only what callers parse; this one line on
// standard error, "PROGRAM: what", tells a person what went wrong, with
// the program's file name.
void warn(const char* program, const std::string& what);

// Flushes standard output and returns |status|, or, when anything the run
// wrote there was lost (a full disk, a closed pipe), says so and returns
// the failure status: a caller must not take lost output for an answer.
int finish_output(const char* program, int status);

#endif  // VTMEDIA_CLI_TOOL_H_
