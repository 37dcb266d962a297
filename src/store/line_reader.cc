// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/line_reader.h"

#include <errno.h>
#include <string.h>

namespace {

const size_t kInitialBuffer = 64 * 1024;

}  // namespace

LineReader::LineReader(FileOps* files, int fd, const std::string& path)
    : files_(files), fd_(fd), path_(path) {}

bool LineReader::next_block(std::string_view* block, StoreFailure* failure) {
  // Keep the unfinished line that followed the last block.
  if (consumed_ > 0) {
    memmove(buffer_.get(), buffer_.get() + consumed_, end_ - consumed_);
    end_ -= consumed_;
    consumed_ = 0;
  }
  for (;;) {
    if (at_eof_) {
      if (end_ == 0)
        return false;
      consumed_ = end_;
      *block = std::string_view(buffer_.get(), end_);
      return true;
    }
    if (end_ == size_) {
      size_t larger_size = size_ == 0 ? kInitialBuffer : size_ * 2;
      std::unique_ptr<char[]> larger(new char[larger_size]);
      if (end_ > 0)
        memcpy(larger.get(), buffer_.get(), end_);
      buffer_.swap(larger);
      size_ = larger_size;
    }
    ssize_t got = files_->read(fd_, buffer_.get() + end_, size_ - end_);
    if (got < 0) {
      if (errno == EINTR)
        continue;
      fail_at(path_, errno, failure);
      return false;
    }
    if (got == 0) {
      at_eof_ = true;
      continue;
    }
    // What was held before this read has no newline, so only the new
    // bytes need looking at.
    size_t old_end = end_;
    end_ += got;
    const char* last = static_cast<const char*>(
        memrchr(buffer_.get() + old_end, '\n', end_ - old_end));
    if (last != nullptr) {
      consumed_ = last - buffer_.get() + 1;
      *block = std::string_view(buffer_.get(), consumed_);
      return true;
    }
  }
}
