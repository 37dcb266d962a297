#ifndef VTMEDIA_STORE_COMPANION_H_
#define VTMEDIA_STORE_COMPANION_H_

#include <string>
#include <vector>

#include "cli/settings.h"

// The argument vectors of the companion tool's two requests.
std::vector<std::string> companion_add_args(const std::string& tool,
                                            const FormatSettings& settings,
                                            const std::string& format_id);
std::vector<std::string> companion_delete_args(const std::string& tool,
                                               const FormatSettings& settings);

// Runs the companion tool with |args| (args[0] is its path) and waits for
// it. No shell is involved, so names reach the tool exactly as given.
// Returns true only when it ran and exited with status 0; a tool that
// cannot be started or dies by a signal has failed.
bool run_companion(const std::vector<std::string>& args);

#endif  // VTMEDIA_STORE_COMPANION_H_
