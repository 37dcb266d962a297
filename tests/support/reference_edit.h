// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_REFERENCE_EDIT_H_
#define VTMEDIA_TESTS_SUPPORT_REFERENCE_EDIT_H_

#include <string>
#include <string_view>

#include "split_lines.h"
#include "store/rewrite.h"

// The line edits of the driver files written the plain way, one line at a
// time, as the reference that the store's edits are checked against.
// Header-only, so that the fuzz targets can use it too.

// The part of |line| that tests look at: all before its first NUL.
inline std::string_view before_nul(std::string_view line) {
  return line.substr(0, line.find('\0'));
}

// Whether |id| stands in |line| not followed by a letter, digit, "_" or
// ".", which would make it the head of a longer identifier.
inline bool holds_identifier(std::string_view line, std::string_view id) {
  std::string_view text = before_nul(line);
  for (size_t at = text.find(id); at != std::string_view::npos;
       at = text.find(id, at + 1)) {
    size_t after = at + id.size();
    if (after == text.size())
      return true;
    char c = text[after];
    bool continues = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                     (c >= 'a' && c <= 'z') || c == '_' || c == '.';
    if (!continues)
      return true;
  }
  return false;
}

// |text| with |edit| applied, the appended text included.
inline std::string reference_edit(const LineEdit& edit,
                                  std::string_view text) {
  std::string out;
  for (std::string_view line : split_lines(text)) {
    bool selected = edit.kind == LineEdit::kInsertAfter ?
        before_nul(line).find(edit.needle) != std::string_view::npos :
        edit.kind != LineEdit::kAppend && holds_identifier(line, edit.needle);
    if (!selected) {
      out.append(line.data(), line.size());
    } else if (edit.kind == LineEdit::kInsertAfter) {
      out.append(line.data(), line.size());
      if (line.back() != '\n')
        out += '\n';
      out += edit.text;
    } else if (edit.kind == LineEdit::kReplace) {
      out += edit.text;
    }
  }
  if (edit.kind == LineEdit::kAppend) {
    if (!out.empty() && out.back() != '\n')
      out += '\n';
    out += edit.text;
  }
  return out;
}

#endif  // VTMEDIA_TESTS_SUPPORT_REFERENCE_EDIT_H_
