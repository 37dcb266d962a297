// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_EXIT_STATUS_H_
#define VTMEDIA_CLI_EXIT_STATUS_H_

// The usage screen, an unknown program name and a name not found are
// answers, not failures: they end with kExitOk.
const int kExitOk = 0;
// A driver file, the lock, the companion tool or standard output failed.
const int kExitFailure = 255;

#endif  // VTMEDIA_CLI_EXIT_STATUS_H_
