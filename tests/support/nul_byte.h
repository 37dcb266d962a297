// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_NUL_BYTE_H_
#define VTMEDIA_TESTS_SUPPORT_NUL_BYTE_H_

#include <string>

// A NUL byte, which driver files may hold anywhere and the tool must
// carry through untouched.
const std::string kNul(1, '\0');

#endif  // VTMEDIA_TESTS_SUPPORT_NUL_BYTE_H_
