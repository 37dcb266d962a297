// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/line_edit.h"

#include <string.h>

#include "store/byte_search.h"
#include "store/format_id.h"

namespace {

// Where the needle of |edit| first counts in [from, end), or null.
const char* find_needle(const LineEdit& edit, const char* from,
                        const char* end) {
  if (edit.kind == LineEdit::kInsertAfter)
    return find_bytes(from, end, edit.needle);
  return find_identifier(from, end, edit.needle);
}

// What to write after or instead of a selected line.
bool emit_selected(const LineEdit& edit, std::string_view line,
                   const PieceSink& sink) {
  switch (edit.kind) {
  case LineEdit::kInsertAfter:
    if (!sink(line))
      return false;
    // The file's last line may lack its newline; the entry must not be
    // glued onto it.
    if (line.back() != '\n' && !sink("\n"))
      return false;
    return sink(edit.text);
  case LineEdit::kDrop:
    return true;
  case LineEdit::kReplace:
    return sink(edit.text);
  case LineEdit::kAppend:
    break;
  }
  return sink(line);
}

}  // namespace

bool edit_block(const LineEdit& edit, std::string_view block,
                const PieceSink& sink) {
  if (edit.kind == LineEdit::kAppend)
    return sink(block);
  // Only lines the needle occurs in need a look; the stretches between
  // them go out whole.
  const char* begin = block.data();
  const char* end = begin + block.size();
  const char* copied = begin;  // output is complete up to here
  const char* hit = find_needle(edit, begin, end);
  while (hit != nullptr) {
    const char* line_start = static_cast<const char*>(
        memrchr(copied, '\n', hit - copied));
    line_start = line_start ? line_start + 1 : copied;
    const char* newline = static_cast<const char*>(
        memchr(hit, '\n', end - hit));
    const char* line_end = newline ? newline + 1 : end;
    // A needle past a NUL does not count. Any earlier place of it in the
    // line was passed over by the search, so this one decides.
    if (memchr(line_start, '\0', hit - line_start) == nullptr) {
      if (line_start > copied &&
          !sink(std::string_view(copied, line_start - copied)))
        return false;
      if (!emit_selected(edit, std::string_view(line_start,
                                                line_end - line_start), sink))
        return false;
      copied = line_end;
    }
    hit = find_needle(edit, line_end, end);
  }
  if (copied < end)
    return sink(std::string_view(copied, end - copied));
  return true;
}
