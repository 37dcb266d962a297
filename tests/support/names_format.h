// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_NAMES_FORMAT_H_
#define VTMEDIA_TESTS_SUPPORT_NAMES_FORMAT_H_

#include <string>
#include <string_view>

#include "store/format_id.h"

// Whether |line| names the format |name|, with its identifier in |*id|:
// the question a lookup asks of each line.
inline bool names_format(std::string_view line, std::string_view name,
                         std::string* id) {
  PageSizeEntry entry;
  if (!parse_page_size_line(line, &entry) || entry.name != name)
    return false;
  *id = std::string(entry.id);
  return true;
}

#endif  // VTMEDIA_TESTS_SUPPORT_NAMES_FORMAT_H_
