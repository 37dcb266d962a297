// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/line_edit.h"

#include <string.h>

#include "store/byte_search.h"

namespace {

// What to write after or instead of a selected line.
bool emit_selected(const LineEdit& edit, std::string_view line,
                   const PieceSink& sink) {
  switch (edit.kind) {
  case LineEdit::kCopy:
    return sink(line);
  case LineEdit::kInsertAfter:
    if (!sink(line))
      return false;
    // The file's last line may lack its newline; the entry must not be
    // glued onto it.
    if (line.empty() || line.back() != '\n') {
      if (!sink("\n"))
        return false;
    }
    return sink(edit.text);
  case LineEdit::kDrop:
    return true;
  case LineEdit::kReplace:
    return sink(edit.text);
  }
  return false;
}

// A needle that could span lines cannot be searched for across a block.
bool searchable(std::string_view needle) {
  return !needle.empty() && needle.find('\n') == std::string_view::npos;
}

}  // namespace

bool line_contains(std::string_view line, std::string_view needle) {
  const char* nul = static_cast<const char*>(
      memchr(line.data(), '\0', line.size()));
  const char* end = nul ? nul : line.data() + line.size();
  return find_bytes(line.data(), end, needle) != nullptr;
}

bool edit_line(const LineEdit& edit, std::string_view line,
               const PieceSink& sink) {
  if (edit.kind != LineEdit::kCopy && line_contains(line, edit.needle))
    return emit_selected(edit, line, sink);
  return sink(line);
}

bool edit_block(const LineEdit& edit, std::string_view block,
                const PieceSink& sink) {
  if (edit.kind == LineEdit::kCopy)
    return sink(block);
  const char* begin = block.data();
  const char* end = begin + block.size();
  if (!searchable(edit.needle)) {
    while (begin < end) {
      const char* newline = static_cast<const char*>(
          memchr(begin, '\n', end - begin));
      const char* line_end = newline ? newline + 1 : end;
      if (!edit_line(edit, std::string_view(begin, line_end - begin), sink))
        return false;
      begin = line_end;
    }
    return true;
  }

  // Only lines the needle occurs in need a look; the stretches between
  // them go out whole.
  const char* copied = begin;  // output is complete up to here
  const char* hit = find_bytes(begin, end, edit.needle);
  while (hit != nullptr) {
    const char* line_start = static_cast<const char*>(
        memrchr(copied, '\n', hit - copied));
    line_start = line_start ? line_start + 1 : copied;
    const char* newline = static_cast<const char*>(
        memchr(hit, '\n', end - hit));
    const char* line_end = newline ? newline + 1 : end;
    std::string_view line(line_start, line_end - line_start);
    // A needle past a NUL does not count, so the line may be unchanged.
    if (line_contains(line, edit.needle)) {
      if (line_start > copied &&
          !sink(std::string_view(copied, line_start - copied)))
        return false;
      if (!emit_selected(edit, line, sink))
        return false;
      copied = line_end;
    }
    hit = find_bytes(line_end, end, edit.needle);
  }
  if (copied < end)
    return sink(std::string_view(copied, end - copied));
  return true;
}
