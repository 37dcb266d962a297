// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_NOTE_H_
#define VTMEDIA_CLI_NOTE_H_

#include <string>

#include "cli/options.h"
#include "store/settings.h"

// What an add on a tape model stored, where the tape rules made it
// differ from the request or chose the tube by the name ("'NAME' stored
// as W x H mm on 12 mm tape (...)"); empty where they did neither.
std::string stored_note(const FormatSettings& settings, const TapeFit& fit);

#endif  // VTMEDIA_CLI_NOTE_H_
