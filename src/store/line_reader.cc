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
    memmove(&buffer_[0], &buffer_[consumed_], end_ - consumed_);
    end_ -= consumed_;
    consumed_ = 0;
  }
  for (;;) {
    if (at_eof_) {
      if (end_ == 0)
        return false;
      consumed_ = end_;
      *block = std::string_view(buffer_.data(), end_);
      return true;
    }
    if (end_ == buffer_.size())
      buffer_.resize(end_ == 0 ? kInitialBuffer : end_ * 2);
    ssize_t got = files_->read(fd_, &buffer_[end_], buffer_.size() - end_);
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
        memrchr(&buffer_[old_end], '\n', end_ - old_end));
    if (last != nullptr) {
      consumed_ = last - buffer_.data() + 1;
      *block = std::string_view(buffer_.data(), consumed_);
      return true;
    }
  }
}
