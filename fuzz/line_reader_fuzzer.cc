// SPDX-License-Identifier: GPL-2.0-or-later
// The reader of the driver files. Whatever the bytes and however short the
// reads come back, the blocks are
// whole lines that put together give the file again.

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "memory_file.h"
#include "store/line_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  std::string_view content(reinterpret_cast<const char*>(data) + 1,
                           size - 1);
  StoreFailure failure;

  // One reader per input: each reader's buffer is large, and allocating
  // it dominates the time of a run.
  MemoryFile file(content, data[0]);
  LineReader reader(&file, FileAt{ -1, "file", "file" });
  FUZZ_CHECK(reader.open(&failure) == kStoreDone);
  std::string joined;
  std::string_view piece;
  StoreStatus status;
  while ((status = reader.next_block(&piece, &failure)) == kStoreDone &&
         !piece.empty()) {
    // Only the file's last line may lack its newline.
    if (piece.back() != '\n')
      FUZZ_CHECK(joined.size() + piece.size() == content.size());
    joined.append(piece.data(), piece.size());
  }
  FUZZ_CHECK(status == kStoreDone);
  FUZZ_CHECK(joined == content);
  return 0;
}
