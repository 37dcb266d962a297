// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_EXIT_STATUS_H_
#define VTMEDIA_CLI_EXIT_STATUS_H_

// Done, and a name to delete that is not there: what was asked holds.
// Also what --help and --version end with.
const int kExitOk = 0;
// Refused before anything ran: the usage screen for a command line that
// is malformed or empty, and a program name that holds no model.
const int kExitUsage = 2;
// A driver file, the lock, the companion tool or standard output failed,
// or the program runs set-user-ID or set-group-ID.
const int kExitFailure = 255;

#endif  // VTMEDIA_CLI_EXIT_STATUS_H_
