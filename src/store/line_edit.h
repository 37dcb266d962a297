// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LINE_EDIT_H_
#define VTMEDIA_STORE_LINE_EDIT_H_

#include <functional>
#include <string>
#include <string_view>

// What a rewrite does to the lines of a driver file. Only the part of a
// line before its first NUL byte is looked at; tests are byte-exact and
// case-sensitive; every line not selected is copied byte for byte.
struct LineEdit {
  enum Kind {
    kInsertAfter,  // write |text| after each line that holds |needle|
    kDrop,         // leave out the lines that hold the identifier |needle|
    kReplace,      // write |text| in place of each line holding |needle|
    kAppend,       // copy every line, then |text| on a line of its own
  };
  Kind kind = kAppend;
  std::string needle;  // holds no newline; never empty but for kAppend
  std::string text;
};

// Receives the output of an edit piece by piece; false stops the edit.
typedef std::function<bool(std::string_view)> PieceSink;

// Applies |edit|, whose needle is not empty, to a run of whole lines,
// handing unchanged stretches on whole. kDrop and kReplace select a line
// by the identifier |needle| standing whole in it (see find_identifier);
// kInsertAfter by |needle| anywhere in it. The appended text of kAppend
// is not written here. Returns false when the sink refuses.
bool edit_block(const LineEdit& edit, std::string_view block,
                const PieceSink& sink);

#endif  // VTMEDIA_STORE_LINE_EDIT_H_
