// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LINE_READER_H_
#define VTMEDIA_STORE_LINE_READER_H_

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "store/file_ops.h"
#include "store/status.h"

// A data file opened for reading and read in large blocks that end on a
// line boundary, so that callers can scan many lines per call. Lines of
// any length and bytes of any value (NUL included) come through
// unchanged; the buffer grows only for a line longer than itself, so the
// memory a file needs is bounded by its longest line.
//
// The data files are writable by everybody, so anybody may have put
// something else at their paths: a link to a file only root may read, a
// FIFO that never answers, a device that never ends, a file of terabytes
// of holes. Only a regular file with one name and within
// kMaxDataFileSize is read, and a link is never followed.
class LineReader {
 public:
  LineReader(FileOps* files, const FileAt& file)
      : files_(files), file_(file), fd_(files, -1) {}

  // Opens the file. Returns kStoreDone, or kStoreFileFailed with
  // |*failure| set (ENOENT for a missing file; ELOOP for a link, EISDIR
  // for a directory, EINVAL for any other kind of file, EMLINK for a file
  // with a second name; see fail_too_large for one too large).
  StoreStatus open(StoreFailure* failure);
  // The open file, and its status as open() found it.
  int fd() const { return fd_.get(); }
  const struct stat& info() const { return info_; }

  // Returns kStoreDone with the next run of whole lines in |*block| (only
  // the file's last line may lack its newline), empty at the end of the
  // file; or kStoreFileFailed with |*failure| set, also where the file
  // has grown past kMaxDataFileSize, of which no more is read. The view
  // stays valid until the next call.
  StoreStatus next_block(std::string_view* block, StoreFailure* failure);

 private:
  FileOps* files_;
  FileAt file_;
  ScopedFd fd_;
  struct stat info_ = {};
  std::string buffer_;   // its size is the room to read into
  size_t end_ = 0;       // bytes of buffer_ read in
  size_t consumed_ = 0;  // bytes already handed out as a block
  off_t read_total_ = 0;  // bytes read from the file
  bool at_eof_ = false;
};

// The most a data file may hold: thousands of times a real driver's
// files. Anybody may make one of terabytes at no cost (a sparse file),
// which a run must neither copy nor hold.
const off_t kMaxDataFileSize = off_t(64) << 20;

// Records that the data file at |path| is larger than kMaxDataFileSize
// (EFBIG, the limit in |failure->size_limit|).
StoreStatus fail_too_large(const std::string& path, StoreFailure* failure);

// 0 when |mode| and |links| are those of a regular file with one name,
// else the errno that stands for what it is (see LineReader::open).
int data_file_error(mode_t mode, nlink_t links);

// The whole line of |block| (newline included, where it has one) that
// holds the byte at |at|. |block| starts on a line boundary.
std::string_view line_at(std::string_view block, size_t at);

#endif  // VTMEDIA_STORE_LINE_READER_H_
