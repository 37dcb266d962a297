// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_BYTE_SEARCH_H_
#define VTMEDIA_STORE_BYTE_SEARCH_H_

#include <string_view>

// The first occurrence of |needle| in the bytes [from, end), or nullptr.
// Bytes of any value, NUL included, are compared. An empty needle is found
// at |from|.
const char* find_bytes(const char* from, const char* end,
                       std::string_view needle);

#endif  // VTMEDIA_STORE_BYTE_SEARCH_H_
