// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_INHERITED_H_
#define VTMEDIA_CLI_INHERITED_H_

// Undoes what a careless parent may hand the process: a closed standard
// descriptor is opened on /dev/null, so that no file the tool opens takes
// its number (and the companion tool's output with it), and SIGCHLD goes
// back to its default, so that the companion tool's exit status can be
// collected. SIGXFSZ is ignored, so that exceeding the file-size limit is
// a failed write. Returns false when /dev/null cannot be opened.
bool reset_inherited_state();

#endif  // VTMEDIA_CLI_INHERITED_H_
