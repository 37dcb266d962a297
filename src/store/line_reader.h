// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LINE_READER_H_
#define VTMEDIA_STORE_LINE_READER_H_

#include <string>
#include <string_view>

#include "store/file_ops.h"
#include "store/status.h"

// Reads an open file in large blocks that end on a line boundary, so that
// callers can scan many lines per call. Lines of any length and bytes of
// any value (NUL included) come through unchanged; the buffer grows only
// for a line longer than itself, so the memory a file needs is bounded by
// its longest line. Views stay valid until the next call.
class LineReader {
 public:
  // |path| names the file of |fd| in a failure.
  LineReader(FileOps* files, int fd, const std::string& path);

  // The next run of whole lines; only the file's last line may lack its
  // newline. Returns true with a block; false at the end of the file, or
  // on a read error, described in |*failure|, which is left alone at the
  // end.
  bool next_block(std::string_view* block, StoreFailure* failure);

 private:
  FileOps* files_;
  int fd_;
  std::string path_;
  std::string buffer_;   // its size is the room to read into
  size_t end_ = 0;       // bytes of buffer_ read in
  size_t consumed_ = 0;  // bytes already handed out as a block
  bool at_eof_ = false;
};

#endif  // VTMEDIA_STORE_LINE_READER_H_
