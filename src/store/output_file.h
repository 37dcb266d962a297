#ifndef VTMEDIA_STORE_OUTPUT_FILE_H_
#define VTMEDIA_STORE_OUTPUT_FILE_H_

#include <sys/types.h>

#include <string>
#include <string_view>

#include "store/file_ops.h"

// The writing end of a rewrite: the temporary file, created only when
// something is to be written to it, so that a rewrite that turns out to
// change nothing leaves no trace. Collects small pieces into large writes,
// sends large ones straight out, and knows how far it has got, so that a
// rewrite can take back what it wrote after a given point.
class OutputFile {
 public:
  OutputFile(FileOps* files, const std::string& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Each returns false on failure, with the errno in error().
  // Creates the file, if that has not happened yet. Whatever is found at
  // its path (a file left by an interrupted run, or a link planted there)
  // is removed, never followed, and the file is created exclusively.
  bool open();
  bool put(std::string_view piece);
  // Copies |length| bytes of the file |fd| from |offset| on, within the
  // kernel where it can; |last| is the last of them.
  bool copy_from(int fd, off_t offset, off_t length, int last);
  bool flush();
  // Writes out what is held, gives the file its mode 0666, which the
  // umask cannot narrow, and flushes it to the disk.
  bool seal();
  // Closes the file; the descriptor is released even when that fails.
  bool close();
  // Drops everything put after the first |offset| bytes; the next piece
  // goes there. |last| is what last() then answers.
  bool rewind(off_t offset, int last);

  bool opened() const { return fd_ >= 0; }
  // Bytes put so far, written or not.
  off_t offset() const { return offset_; }
  // The last byte put, or -1 when nothing was (a NUL is a byte too).
  int last() const { return last_; }
  int error() const { return error_; }

 private:
  bool write_all(std::string_view bytes);
  bool fail();  // keeps errno as the error

  FileOps* files_;
  std::string path_;
  int fd_ = -1;
  std::string pending_;
  off_t offset_ = 0;
  int last_ = -1;
  int error_ = 0;
};

#endif  // VTMEDIA_STORE_OUTPUT_FILE_H_
