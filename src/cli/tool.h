// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_TOOL_H_
#define VTMEDIA_CLI_TOOL_H_

#include <string>

#include "store/driver.h"
#include "store/settings.h"
#include "store/status.h"

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

// What the commands of the front end share to print their answer.

// Writes |text| on standard output, as it is.
void print_text(const std::string& text);

// Flushes standard output, keeping why it failed for finish_output.
void flush_output();

// What the end of a store operation shows: a line for the scripts that
// read standard output, one for a person on standard error (each empty
// for none), and the exit status, or the signal the process ends by.
struct Report {
  std::string out;
  std::string err;
  int exit_status;
  int signal = 0;
};

// The report of a store operation on |settings| that ended with |status|
// and, where it failed, |failure|, run under |env|.
Report report_of(StoreStatus status, const StoreFailure& failure,
                 const FormatSettings& settings, const StoreEnv& env);

// Prints |report|, standard output first, and ends by its signal, if it
// has one; returns its exit status. A failed |listing| prints nothing on
// standard output, which scripts read as the list.
int show(const Report& report, const char* program, bool listing);

#endif  // VTMEDIA_CLI_TOOL_H_
