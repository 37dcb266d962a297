// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_EXPLAIN_H_
#define VTMEDIA_CLI_EXPLAIN_H_

#include <string>

// Standard output carries only what callers parse; this one line on
// standard error, "PROGRAM: what", tells a person what went wrong, with
// the program's file name.
void explain(const char* program, const std::string& what);

// Flushes standard output, keeping why it failed for finish_output.
void flush_output();

// Flushes standard output and returns |status|, or, when anything the run
// wrote there was lost (a full disk, a closed pipe), says so and returns
// the failure status: a caller must not take lost output for an answer.
int finish_output(const char* program, int status);

#endif  // VTMEDIA_CLI_EXPLAIN_H_
