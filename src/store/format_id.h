// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_FORMAT_ID_H_
#define VTMEDIA_STORE_FORMAT_ID_H_

#include <stdint.h>
#include <sys/time.h>

#include <string>
#include <string_view>

#include "store/settings.h"

// Every format's lines carry a generated identifier before its name:
// "VtL", the media name (10 characters or none), the name length (2 hex
// digits), the width (2 or more), the height (3), and 1 + 4 digits of the
// time of day that keep equal requests apart.
extern const char kFormatIdMarker[];  // "VtL"
const size_t kFormatIdMarkerLength = 3;
// The seconds digit and the four microsecond digits end every identifier.
const size_t kFormatIdTimeDigits = 5;
// The longest identifier read back.
const size_t kMaxFormatIdLength = 99;

std::string make_format_id(const FormatSettings& settings,
                           const struct timeval& now);

// The fields of an identifier, as read back from the driver files.
struct FormatIdFields {
  std::string_view media_name;  // empty where the identifier has none
  unsigned name_length = 0;
  uint64_t width_mm = 0;
  unsigned height_field = 0;    // the height modulo 4096
};

// Reads |id| (without the name that follows it); false when it does not
// have the identifier's layout.
bool read_format_id(std::string_view id, FormatIdFields* fields);

// Whether the |length| bytes at |at| in |text| stand whole as an
// identifier: not followed by a letter, digit, "_" or ".", which would
// make them the head of a longer one.
bool stands_whole(std::string_view text, size_t at, size_t length);

// Where the run of letters, digits, "_" and "." that reaches |at| in
// |text| ends: the one place where an identifier holding |at| can stand
// whole.
size_t identifier_run_end(std::string_view text, size_t at);

// The first place from |from| where the identifier |id| stands whole in
// |text|, or npos. An empty |id| stands nowhere.
size_t find_identifier(std::string_view text, std::string_view id,
                       size_t from = 0);

// Whether |text| holds a control character (below 0x20, or DEL). Names
// and printer queues end up inside lines and tab-separated fields of the
// driver files and of what prints them; one would forge extra ones.
bool has_control_char(std::string_view text);

// What begins every line that names a format.
extern const char kPageSizeKeyword[];  // "*PageSize"
const size_t kPageSizeKeywordLength = 9;

// A format as one "*PageSize" line names it.
struct PageSizeEntry {
  std::string_view id;
  std::string_view name;
};

// Whether |line| (one line, its newline optional) names a format: it
// starts with "*PageSize", its first "VtL" begins an identifier that runs
// to the next "/" and reads as one, no NUL comes before the name, and the
// name is the next n bytes (n from the identifier), none of them a
// control character (NUL and newline among them). The entry's views point
// into |line|.
bool parse_page_size_line(std::string_view line, PageSizeEntry* entry);

#endif  // VTMEDIA_STORE_FORMAT_ID_H_
