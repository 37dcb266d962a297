#ifndef VTMEDIA_STORE_OUTPUT_FILE_H_
#define VTMEDIA_STORE_OUTPUT_FILE_H_

#include <sys/types.h>

#include <string>
#include <string_view>

#include "store/file_ops.h"

// The writing end of a rewrite: collects small pieces into large writes,
// sends large ones straight out, and knows how far it has got, so that a
// rewrite can take back what it wrote after a given point.
class OutputFile {
 public:
  OutputFile(FileOps* files, int fd);

  // Each returns false on failure, with the errno in error().
  bool put(std::string_view piece);
  bool flush();
  // Drops everything put after the first |offset| bytes; the next piece
  // goes there. |last| is what last() then answers.
  bool rewind(off_t offset, int last);

  // Bytes put so far, written or not.
  off_t offset() const { return offset_; }
  // The last byte put, or -1 when nothing was (a NUL is a byte too).
  int last() const { return last_; }
  int error() const { return error_; }

 private:
  bool write_all(std::string_view bytes);

  FileOps* files_;
  int fd_;
  std::string pending_;
  off_t offset_ = 0;
  int last_ = -1;
  int error_ = 0;
};

#endif  // VTMEDIA_STORE_OUTPUT_FILE_H_
