// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/rewrite.h"

#include "store/format_id.h"
#include "store/line_reader.h"

namespace {

// Where the needle of |edit| first counts in |block| from |from|, or npos.
size_t find_needle(const LineEdit& edit, std::string_view block,
                   size_t from) {
  if (edit.kind == LineEdit::kInsertAfter)
    return block.find(edit.needle, from);
  return find_identifier(block, edit.needle, from);
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
  size_t copied = 0;  // output is complete up to here
  size_t hit = find_needle(edit, block, 0);
  while (hit != std::string_view::npos) {
    std::string_view line = line_at(block, hit);
    size_t line_start = line.data() - block.data();
    size_t line_end = line_start + line.size();
    // A needle past a NUL does not count. Any earlier place of it in the
    // line was passed over by the search, so this one decides.
    if (line.substr(0, hit - line_start).find('\0') ==
        std::string_view::npos) {
      if (line_start > copied &&
          !sink(block.substr(copied, line_start - copied)))
        return false;
      if (!emit_selected(edit, line, sink))
        return false;
      copied = line_end;
    }
    hit = find_needle(edit, block, line_end);
  }
  if (copied < block.size())
    return sink(block.substr(copied));
  return true;
}
