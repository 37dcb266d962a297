// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/byte_search.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// The plain definition the fast search must agree with.
const char* naive_find(const std::string& haystack,
                       const std::string& needle) {
  size_t at = haystack.find(needle);
  return at == std::string::npos ? nullptr : haystack.data() + at;
}

const char* find(const std::string& haystack, const std::string& needle) {
  return find_bytes(haystack.data(), haystack.data() + haystack.size(),
                    needle);
}

// The search tests many places at a time and finishes the last few on its
// own; a needle at any offset, near either end of any length of text, must
// be found there, and only a whole needle counts.
TEST(FindBytes, AgreesWithAPlainSearchAtEveryPlaceAndLength) {
  const std::string needles[] = { "V", "Vt", "VtL", "*PageSize",
                                  "VtL_vtS12mm__070A03271A2B",
                                  std::string("a\0b", 3) };
  for (const std::string& needle : needles) {
    for (size_t size = 0; size <= 130; ++size) {
      for (size_t at = 0; at + needle.size() <= size; ++at) {
        std::string text(size, 'x');
        text.replace(at, needle.size(), needle);
        EXPECT_EQ(naive_find(text, needle), find(text, needle))
            << "needle " << needle.size() << " bytes at " << at << " of "
            << size;
      }
      // First and last bytes in place with a wrong middle, and a needle
      // cut short by the end of the text.
      std::string decoy(size, 'x');
      if (needle.size() >= 3 && size >= needle.size()) {
        decoy.replace(size - needle.size(), needle.size(), needle);
        decoy[size - 2] = '#';
        EXPECT_EQ(naive_find(decoy, needle), find(decoy, needle));
      }
      if (size >= 1 && needle.size() >= 2) {
        std::string cut(size - 1, 'x');
        cut += needle.front();
        EXPECT_EQ(nullptr, find(cut, needle));
      }
    }
  }
}

TEST(FindBytes, TakesTheFirstOfSeveralAndOverlappingOccurrences) {
  struct Case {
    std::string text, needle;
    long expected;  // offset, -1 for none
  } cases[] = {
    { std::string(32, 'a') + "b", "aab", 30 },
    { std::string(40, 'y') + "abab" + std::string(40, 'y') + "abab", "abab",
      40 },
    { std::string(17, 'z') + "ababab", "abab", 17 },
    { "VtL_vtS12mm__070A0327 VtL_vtS12mm__070A03271A2B",
      "VtL_vtS12mm__070A03271A2B", 22 },
    { std::string(30, '\0') + "x" + std::string(30, '\0'),
      std::string("\0x\0", 3), 29 },
    { "short", "longer than the text", -1 },
    { "", "a", -1 },
    { "abc", "", 0 },
  };
  for (const Case& c : cases) {
    const char* hit = find(c.text, c.needle);
    long offset = hit ? hit - c.text.data() : -1;
    EXPECT_EQ(c.expected, offset) << c.needle;
  }
}

}  // namespace
