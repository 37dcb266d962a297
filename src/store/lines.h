// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LINES_H_
#define VTMEDIA_STORE_LINES_H_

#include <string.h>

#include <string_view>

// The whole line of |block| (newline included, where it has one) that
// holds the byte at |at|. |block| starts on a line boundary.
inline std::string_view line_at(std::string_view block, size_t at) {
  const char* begin = block.data();
  const char* end = begin + block.size();
  const char* start = static_cast<const char*>(memrchr(begin, '\n', at));
  start = start ? start + 1 : begin;
  const char* newline = static_cast<const char*>(
      memchr(begin + at, '\n', end - (begin + at)));
  const char* line_end = newline ? newline + 1 : end;
  return std::string_view(start, line_end - start);
}

#endif  // VTMEDIA_STORE_LINES_H_
