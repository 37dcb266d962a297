// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/line_reader.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>

#include <algorithm>

namespace {

const size_t kInitialBuffer = 64 * 1024;

}  // namespace

StoreStatus LineReader::open(StoreFailure* failure) {
  fd_.reset(files_->open(file_.dir, file_.name.c_str(),
                         O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0));
  if (fd_.get() < 0)
    return fail_at(file_.path, errno, failure);
  // Checked on the open file, so that nothing swapped in after an earlier
  // check gets read.
  if (files_->fstat(fd_.get(), &info_) != 0)
    return fail_at(file_.path, errno, failure);
  if (int error = data_file_error(info_.st_mode, info_.st_nlink))
    return fail_at(file_.path, error, failure);
  if (info_.st_size > kMaxDataFileSize)
    return fail_too_large(file_.path, failure);
  return kStoreDone;
}

StoreStatus LineReader::next_block(std::string_view* block,
                                   StoreFailure* failure) {
  // Keep the unfinished line that followed the last block.
  if (consumed_ > 0) {
    memmove(&buffer_[0], &buffer_[consumed_], end_ - consumed_);
    end_ -= consumed_;
    consumed_ = 0;
  }
  for (;;) {
    if (at_eof_) {
      consumed_ = end_;
      *block = std::string_view(buffer_.data(), end_);
      return kStoreDone;
    }
    // The buffer doubles for a longer line, but where that would reach
    // the end of the file as it was opened it takes just the rest and a
    // byte to find the end by: a file that is one line is then held once
    // and copied into a buffer of at most half its size, not twice.
    // A file that grew since it was opened is read one byte past the
    // limit, and no further, to tell.
    if (end_ == buffer_.size()) {
      size_t left = info_.st_size > read_total_ ? info_.st_size - read_total_
                                                : 0;
      size_t grown = end_ == 0 ? kInitialBuffer : end_ * 2;
      if (grown >= end_ + left)
        grown = end_ + left + 1;
      buffer_.resize(std::min<size_t>(grown, kMaxDataFileSize + 1));
    }
    size_t room = std::min<size_t>(buffer_.size() - end_,
                                   kMaxDataFileSize + 1 - read_total_);
    ssize_t got = files_->read(fd_.get(), &buffer_[end_], room);
    if (got < 0) {
      if (errno == EINTR)
        continue;
      return fail_at(file_.path, errno, failure);
    }
    if (got == 0) {
      at_eof_ = true;
      continue;
    }
    read_total_ += got;
    if (read_total_ > kMaxDataFileSize)
      return fail_too_large(file_.path, failure);
    // What was held before this read has no newline, so only the new
    // bytes need looking at.
    size_t old_end = end_;
    end_ += got;
    const char* last = static_cast<const char*>(
        memrchr(&buffer_[old_end], '\n', end_ - old_end));
    if (last != nullptr) {
      consumed_ = last - buffer_.data() + 1;
      *block = std::string_view(buffer_.data(), consumed_);
      return kStoreDone;
    }
  }
}

StoreStatus fail_too_large(const std::string& path, StoreFailure* failure) {
  fail_at(path, EFBIG, failure);
  failure->size_limit = kMaxDataFileSize;
  return kStoreFileFailed;
}

int data_file_error(mode_t mode, nlink_t links) {
  if (S_ISLNK(mode))
    return ELOOP;
  if (S_ISDIR(mode))
    return EISDIR;
  if (!S_ISREG(mode))
    return EINVAL;
  // A second name for a file elsewhere (one only root may read) would be
  // read by root and copied into a file everybody may read.
  return links != 1 ? EMLINK : 0;
}

std::string_view line_at(std::string_view block, size_t at) {
  const char* begin = block.data();
  const char* end = begin + block.size();
  const char* start = static_cast<const char*>(memrchr(begin, '\n', at));
  start = start ? start + 1 : begin;
  const char* newline = static_cast<const char*>(
      memchr(begin + at, '\n', end - (begin + at)));
  const char* line_end = newline ? newline + 1 : end;
  return std::string_view(start, line_end - start);
}
