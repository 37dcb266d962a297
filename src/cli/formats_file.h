// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_FORMATS_FILE_H_
#define VTMEDIA_CLI_FORMATS_FILE_H_

#include <string>
#include <string_view>
#include <vector>

#include "store/plan.h"
#include "store/settings.h"

// A model's formats as a text file, one a line, each as a person asks for
// it on the command line: NAME<TAB>WIDTH<TAB>HEIGHT, read as -n NAME
// -w WIDTH -h HEIGHT are read in that order; on a tape model optionally a
// fourth field, "tube" (read the same way, for a name that selects the
// tube) or "tape" (read as -w WIDTH -h HEIGHT -n NAME: standard tape for
// any name). A line beginning with "#" that holds no tab is a comment;
// empty lines are skipped; a CR before the line's end is no part of it.

// The most a formats file may hold.
const size_t kMaxFormatsFileSize = 1 << 20;

// Why a formats file is refused: the line at fault (0 where none is) and
// what is wrong.
struct FileRefusal {
  int line = 0;
  std::string what;
};

// Reads the formats file |text| for the model |model| (its code, type and
// printer queue go into each format) into |*formats|, in the file's
// order, each as the add of its line stores it. False at the first line
// that is refused (a malformed line, a value an option would refuse, a
// fourth field the model or the name does not take, a name given before),
// with |*refusal| set.
bool parse_formats_file(std::string_view text, const FormatSettings& model,
                        std::vector<FormatSettings>* formats,
                        FileRefusal* refusal);

// Reads the formats file at |path| ("-" for standard input) whole, within
// kMaxFormatsFileSize, and parses it as parse_formats_file does; a file
// that cannot be read or is over the limit is refused at no line.
bool read_formats_file(const std::string& path, const FormatSettings& model,
                       std::vector<FormatSettings>* formats,
                       FileRefusal* refusal);

// The line of a formats file whose add stores |held| on the model of
// |model| as the files hold it, newline included; for a format cut short,
// the line of the request that made it. False where no line does: a name
// -n refuses, or sizes, tape and dots no request gives.
bool formats_file_line(const ListedFormat& held, const FormatSettings& model,
                       std::string* line);

#endif  // VTMEDIA_CLI_FORMATS_FILE_H_
