// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_COMPANION_H_
#define VTMEDIA_STORE_COMPANION_H_

#include <string>
#include <vector>

#include "store/settings.h"
#include "store/status.h"

// The argument vectors of the companion tool's two requests.
std::vector<std::string> companion_add_args(const std::string& tool,
                                            const FormatSettings& settings,
                                            const std::string& format_id);
std::vector<std::string> companion_delete_args(const std::string& tool,
                                               const FormatSettings& settings);

// Runs the companion tool with |args| (args[0] is its path) and waits for
// it. No shell is involved, so names reach the tool exactly as given. A
// SIGTERM, SIGHUP or SIGINT meanwhile that the caller neither ignores nor
// blocks is taken instead of ending this process and passed on to it.
// Returns kStoreDone when it exited with status 0; kStoreStopped, however
// it ended, when such a signal came, the first one in |failure->signal|,
// for the caller to end by once the request has let its lock go;
// kStoreCompanionFailed when it exited otherwise or died by a signal,
// with how in |*failure|; kStoreCompanionNotStarted when it could not be
// started (missing, not executable, not a program), with the errno in
// |*failure|.
StoreStatus run_companion(const std::vector<std::string>& args,
                          StoreFailure* failure);

#endif  // VTMEDIA_STORE_COMPANION_H_
