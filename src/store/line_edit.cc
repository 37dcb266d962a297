#include "store/line_edit.h"

#include <string.h>

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
  if (edit.kind != LineEdit::kCopy && line_contains(line, edit.needle))
    return emit_selected(edit, line, sink);
  return sink(line);
}

bool edit_block(const LineEdit& edit, std::string_view block,
                const PieceSink& sink) {
  const char* begin = block.data();
  const char* end = begin + block.size();
  if (edit.kind == LineEdit::kCopy)
    return sink(block);
  // A needle that could span lines cannot be searched for across the
  // block; take such a one line by line.
  if (edit.needle.empty() ||
      edit.needle.find('\n') != std::string::npos) {
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

  const char* copied = begin;  // output is complete up to here
  const char* from = begin;
  while (from < end) {
    const char* hit = find_bytes(from, end, edit.needle);
    if (hit == nullptr)
      break;
    const char* line_start = static_cast<const char*>(
        memrchr(from, '\n', hit - from));
    line_start = line_start ? line_start + 1 : from;
    const char* newline = static_cast<const char*>(
        memchr(hit, '\n', end - hit));
    const char* line_end = newline ? newline + 1 : end;
    from = line_end;
    // The first hit in a line decides: past a NUL it does not count, and
    // neither would any later one.
    const char* hit_end = hit + edit.needle.size();
    if (memchr(line_start, '\0', hit_end - line_start) != nullptr)
      continue;
    if (line_start > copied &&
        !sink(std::string_view(copied, line_start - copied)))
      return false;
    if (!emit_selected(edit,
                       std::string_view(line_start, line_end - line_start),
                       sink))
      return false;
    copied = line_end;
  }
  if (copied < end)
    return sink(std::string_view(copied, end - copied));
  return true;
}
