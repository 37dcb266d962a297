#include "store/line_edit.h"

#include <string.h>

#include <algorithm>

#include "store/byte_search.h"

namespace {

// Where a selected line ends, and what to write after or instead of it.
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

}  // namespace

bool line_contains(std::string_view line, std::string_view needle) {
  const char* nul = static_cast<const char*>(
      memchr(line.data(), '\0', line.size()));
  const char* end = nul ? nul : line.data() + line.size();
  return find_bytes(line.data(), end, needle) != nullptr;
}

bool edit_line(const LineEdit& edit, std::string_view line,
               const PieceSink& sink) {
  if (!edit.drop.empty() && line_contains(line, edit.drop))
    return true;
  if (edit.kind != LineEdit::kCopy && line_contains(line, edit.needle))
    return emit_selected(edit, line, sink);
  return sink(line);
}

namespace {

// A needle that could span lines cannot be searched for across a block.
bool searchable(std::string_view needle) {
  return !needle.empty() && needle.find('\n') == std::string_view::npos;
}

// Where |needle| next occurs at or after |from|; null for none, and for
// an empty needle, which selects nothing here.
const char* next_hit(std::string_view needle, const char* from,
                     const char* end) {
  return needle.empty() ? nullptr : find_bytes(from, end, needle);
}

}  // namespace

bool edit_block(const LineEdit& edit, std::string_view block,
                const PieceSink& sink) {
  const char* begin = block.data();
  const char* end = begin + block.size();
  std::string_view needle =
      edit.kind == LineEdit::kCopy ? edit.drop : edit.needle;
  if (edit.kind == LineEdit::kCopy && edit.drop.empty())
    return sink(block);
  if (!searchable(needle) || (!edit.drop.empty() && !searchable(edit.drop))) {
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

  // The next place of each needle; only lines holding one need a look.
  std::string_view other =
      edit.kind == LineEdit::kCopy ? std::string_view() : edit.drop;
  const char* hit = next_hit(needle, begin, end);
  const char* other_hit = next_hit(other, begin, end);
  const char* copied = begin;  // output is complete up to here
  while (hit != nullptr || other_hit != nullptr) {
    const char* first = hit == nullptr ? other_hit :
        other_hit == nullptr ? hit : std::min(hit, other_hit);
    const char* line_start = static_cast<const char*>(
        memrchr(copied, '\n', first - copied));
    line_start = line_start ? line_start + 1 : copied;
    const char* newline = static_cast<const char*>(
        memchr(first, '\n', end - first));
    const char* line_end = newline ? newline + 1 : end;
    std::string_view line(line_start, line_end - line_start);
    // A needle past a NUL does not count, so the line may be unchanged.
    bool dropped = !edit.drop.empty() && line_contains(line, edit.drop);
    bool selected = !dropped && edit.kind != LineEdit::kCopy &&
        line_contains(line, edit.needle);
    if (dropped || selected) {
      if (line_start > copied &&
          !sink(std::string_view(copied, line_start - copied)))
        return false;
      if (selected && !emit_selected(edit, line, sink))
        return false;
      copied = line_end;
    }
    if (hit != nullptr && hit < line_end)
      hit = next_hit(needle, line_end, end);
    if (other_hit != nullptr && other_hit < line_end)
      other_hit = next_hit(other, line_end, end);
  }
  if (copied < end)
    return sink(std::string_view(copied, end - copied));
  return true;
}
