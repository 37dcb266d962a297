// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_LISTING_H_
#define VTMEDIA_CLI_LISTING_H_

#include <string>

#include "store/list.h"

// What --list prints for scripts, when standard output is no terminal:
// one line of six tab-separated fields, the name, the width and the
// height in mm, the tape's media name or "-", the identifier, and
// "complete" or "incomplete".
std::string listing_line(const ListedFormat& format);

// What --list shows a person at a terminal: a table under a header, one
// row a format, its columns aligned by the width the terminal gives each
// character in the current LC_CTYPE locale. Each row holds the name, the
// size, what the format prints on in words, and "incomplete" where it is
// so; a "*" marks the format the resource file's media setting selects.
// Where that setting selects none of them, a line below the table gives
// its value ("Selected: vtS24mm"). Characters the locale cannot print,
// and those that would turn the line's direction, are shown as "?".
std::string listing_table(const FormatListing& listing, bool roll_label);

#endif  // VTMEDIA_CLI_LISTING_H_
