// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_CLI_UNICODE_H_
#define VTMEDIA_CLI_UNICODE_H_

#include <string_view>

// Marks that run the text after them right to left, or isolate it: shown,
// a name holding one could make its row show another's fields.
bool turns_direction(char32_t c);

// The first character of |text|, read as UTF-8 whatever the locale, that
// a listing must hide: a C1 control (U+0085 among them, a line break to
// line-splitting libraries), the line or paragraph separator, or a mark
// that turns the direction. 0 when there is none. Bytes that are no UTF-8
// are passed over one at a time.
char32_t first_hidden_char(std::string_view text);

#endif  // VTMEDIA_CLI_UNICODE_H_
