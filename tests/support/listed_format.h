// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_LISTED_FORMAT_H_
#define VTMEDIA_TESTS_SUPPORT_LISTED_FORMAT_H_

#include <stdint.h>

#include <optional>
#include <string>

#include "store/list.h"

// A format as the listing finds it in the files, for tests of what is
// made of one.
inline ListedFormat listed_format(const std::string& name, uint64_t width,
                                  int64_t height, const std::string& media,
                                  std::optional<long long> dots,
                                  bool complete = true) {
  ListedFormat format;
  format.name = name;
  format.width_mm = width;
  format.height_mm = height;
  format.media_name = media;
  format.across_dots = dots;
  format.complete = complete;
  return format;
}

#endif  // VTMEDIA_TESTS_SUPPORT_LISTED_FORMAT_H_
