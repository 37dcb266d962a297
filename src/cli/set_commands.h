// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_SET_COMMANDS_H_
#define VTMEDIA_CLI_SET_COMMANDS_H_

#include <string>

#include "store/driver.h"
#include "store/settings.h"

// The commands that take a model's formats as a set, each printing its
// answer and returning the exit status.

// Prints the formats file of the model's formats, sorted by name
// bytewise, each name once (the format a delete by it reaches first),
// so that drivers holding the same formats print the same bytes. A
// format no request re-creates is left out, and said so.
int run_export(const ModelDriver& driver, const FormatSettings& settings,
               const char* program);

// What --sync would do with the formats file |path|, one line a step, in
// its order: the step, a tab, and the format as the formats file writes
// it (the name alone for a delete). Takes no lock, runs nothing, writes
// nothing.
int run_diff(const ModelDriver& driver, const FormatSettings& settings,
             const std::string& path, const char* program);

// Makes the formats of the formats file |path| present, with |sync| the
// others gone, in one request. Silent when it works; at a terminal, a
// line for each format added, replaced or deleted. A step that fails
// ends the run with its report, the format it was on and how far the run
// got: the same command finishes the job.
int run_set(const ModelDriver& driver, const FormatSettings& settings,
            const std::string& path, bool sync, const char* program);

#endif  // VTMEDIA_CLI_SET_COMMANDS_H_
