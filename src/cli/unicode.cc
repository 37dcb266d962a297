// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/unicode.h"

#include <wchar.h>

#include <locale>

bool turns_direction(char32_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F ||
      (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

char32_t first_hidden_char(std::string_view text) {
  // This facet reads UTF-8 in every locale, the classic one included.
  const auto& utf8 = std::use_facet<std::codecvt<char32_t, char, mbstate_t>>(
      std::locale::classic());
  const char* at = text.data();
  const char* end = at + text.size();
  while (at < end) {
    mbstate_t state = mbstate_t();
    char32_t c;
    char32_t* c_end;
    const char* next;
    utf8.in(state, at, end, next, &c, &c + 1, c_end);
    if (c_end == &c) {
      ++at;
      continue;
    }
    if ((c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
        turns_direction(c))
      return c;
    at = next;
  }
  return 0;
}
