// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_EXIT_STATUS_H_
#define VTMEDIA_CLI_EXIT_STATUS_H_

// Done, and a name to delete that is not there: what was asked holds.
// Also what --help and --version end with, and --diff where nothing
// differs.
const int kExitOk = 0;
// --diff: making the formats file's formats present would change
// something, as diff(1) says files differ.
const int kExitDiffers = 1;
// --export: a format no request re-creates was left out, the rest
// printed.
const int kExitLeftOut = 1;
// Refused before anything ran: the usage screen for a command line that
// is malformed or empty, a program name that holds no model, and a
// formats file that cannot be read or is malformed.
const int kExitUsage = 2;
// A driver file, the lock, the companion tool or standard output failed,
// or the program runs set-user-ID or set-group-ID.
const int kExitFailure = 255;

#endif  // VTMEDIA_CLI_EXIT_STATUS_H_
