// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LINE_EDIT_H_
#define VTMEDIA_STORE_LINE_EDIT_H_

#include <functional>
#include <string>
#include <string_view>

// What a rewrite does to the lines of a driver file. A line is selected
// when it holds |needle| before its first NUL byte (tests are byte-exact
// and case-sensitive); every other line is copied byte for byte.
struct LineEdit {
  enum Kind {
    kCopy,         // copy every line
    kInsertAfter,  // copy, and write |text| after each selected line
    kDrop,         // leave out the selected lines
    kReplace,      // write |text| in place of each selected line
  };
  Kind kind = kCopy;
  std::string needle;
  std::string text;
};

// Receives the output of an edit piece by piece; false stops the edit.
typedef std::function<bool(std::string_view)> PieceSink;

// Whether |line| holds |needle| in the part before its first NUL.
bool line_contains(std::string_view line, std::string_view needle);

// Applies |edit| to one line (newline included when present).
bool edit_line(const LineEdit& edit, std::string_view line,
               const PieceSink& sink);

// Applies |edit| to a run of whole lines, with the same output as
// edit_line on each of them, but handing unchanged stretches on whole.
bool edit_block(const LineEdit& edit, std::string_view block,
                const PieceSink& sink);

#endif  // VTMEDIA_STORE_LINE_EDIT_H_
