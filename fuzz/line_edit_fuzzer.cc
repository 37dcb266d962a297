// SPDX-License-Identifier: GPL-2.0-or-later
// The line transforms of add and delete. A rewrite hands the file to
// edit_block in runs of whole lines whose boundaries depend on how the
// reads fell, so the output must be what the line-by-line reference gives,
// for any split into runs, for every kind of edit.
//
// Input: kind (bits 0-1), needle length, text length, split selector,
// stop selector, then the needle, the text and the block.

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "reference_edit.h"
#include "split_lines.h"
#include "store/rewrite.h"

namespace {

const size_t kHeader = 5;

std::string edit_whole(const LineEdit& edit, std::string_view block) {
  std::string out;
  FUZZ_CHECK(edit_block(edit, block, [&](std::string_view piece) {
    out.append(piece.data(), piece.size());
    return true;
  }));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader)
    return 0;
  LineEdit edit;
  edit.kind = static_cast<LineEdit::Kind>(data[0] % 4);
  // The store's needles are never empty and hold no newline or NUL.
  size_t needle_length = 1 + data[1] % 31;
  size_t text_length = data[2] % 64;
  std::string_view rest(reinterpret_cast<const char*>(data) + kHeader,
                        size - kHeader);
  if (rest.size() < needle_length + text_length)
    return 0;
  edit.needle = std::string(rest.substr(0, needle_length));
  if (edit.needle.find_first_of(std::string("\n\0", 2)) !=
      std::string::npos)
    return 0;
  edit.text = std::string(rest.substr(needle_length, text_length));
  std::string_view block = rest.substr(needle_length + text_length);

  std::string whole = edit_whole(edit, block);

  std::vector<std::string_view> lines = split_lines(block);
  if (edit.kind == LineEdit::kAppend)
    FUZZ_CHECK(whole == block);  // the text is appended by the rewrite
  else
    FUZZ_CHECK(whole == reference_edit(edit, block));

  // Any split at a line boundary gives the same output.
  if (!lines.empty()) {
    size_t first_lines = data[3] % (lines.size() + 1);
    size_t split = 0;
    for (size_t i = 0; i < first_lines; ++i)
      split += lines[i].size();
    FUZZ_CHECK(edit_whole(edit, block.substr(0, split)) +
               edit_whole(edit, block.substr(split)) == whole);
  }

  // A sink that refuses (a failed write) stops the edit, which reports it;
  // what was accepted before is the start of the full output.
  size_t accept = data[4] % 8;
  size_t pieces = 0;
  std::string accepted;
  bool finished = edit_block(edit, block, [&](std::string_view piece) {
    if (pieces++ == accept)
      return false;
    accepted.append(piece.data(), piece.size());
    return true;
  });
  FUZZ_CHECK(finished == (pieces <= accept));
  FUZZ_CHECK(whole.compare(0, accepted.size(), accepted) == 0);
  if (finished)
    FUZZ_CHECK(accepted == whole);
  return 0;
}
