// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_SPLIT_LINES_H_
#define VTMEDIA_TESTS_SUPPORT_SPLIT_LINES_H_

#include <string_view>
#include <vector>

// Views of the lines of |text|, newlines included; |text| must outlive
// them. Header-only, so that the fuzz targets can use it without the test
// library; the files cut up here run to megabytes, so nothing is copied.
inline std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t newline = text.find('\n');
    size_t length = newline == std::string_view::npos ? text.size()
                                                      : newline + 1;
    lines.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return lines;
}

#endif  // VTMEDIA_TESTS_SUPPORT_SPLIT_LINES_H_
