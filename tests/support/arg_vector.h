// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_ARG_VECTOR_H_
#define VTMEDIA_TESTS_SUPPORT_ARG_VECTOR_H_

#include <string>
#include <vector>

// |args| as main() receives its argument vector: a pointer to each, then
// a null pointer. |args| must outlive the result.
inline std::vector<const char*> arg_pointers(
    const std::vector<std::string>& args) {
  std::vector<const char*> pointers;
  for (const std::string& arg : args)
    pointers.push_back(arg.c_str());
  pointers.push_back(nullptr);
  return pointers;
}

// |args| for a failure message, each in brackets, so that blanks and
// empty arguments show.
inline std::string show(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args)
    text += "[" + arg + "]";
  return text;
}

#endif  // VTMEDIA_TESTS_SUPPORT_ARG_VECTOR_H_
