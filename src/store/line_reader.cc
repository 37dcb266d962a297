#include "store/line_reader.h"

#include <errno.h>
#include <string.h>

namespace {

const size_t kInitialBuffer = 128 * 1024;

}  // namespace

LineReader::LineReader(FileOps* files, int fd)
    : files_(files), fd_(fd), buffer_(new char[kInitialBuffer]),
      size_(kInitialBuffer) {}

int LineReader::next_block(std::string_view* block, int* error) {
  // Keep the unfinished line that followed the last block.
  if (consumed_ > 0) {
    memmove(buffer_.get(), buffer_.get() + consumed_, end_ - consumed_);
    end_ -= consumed_;
    consumed_ = 0;
  }
  for (;;) {
    if (at_eof_) {
      if (end_ == 0)
        return 0;
      consumed_ = end_;
      *block = std::string_view(buffer_.get(), end_);
      return 1;
    }
    if (end_ == size_) {
      std::unique_ptr<char[]> larger(new char[size_ * 2]);
      memcpy(larger.get(), buffer_.get(), end_);
      buffer_.swap(larger);
      size_ *= 2;
    }
    ssize_t got = files_->read(fd_, buffer_.get() + end_, size_ - end_);
    if (got < 0) {
      if (errno == EINTR)
        continue;
      *error = errno;
      return -1;
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
      return 1;
    }
  }
}

int LineReader::read_line(std::string_view* line, int* error) {
  while (line_pos_ >= block_.size()) {
    int status = next_block(&block_, error);
    if (status <= 0)
      return status;
    line_pos_ = 0;
  }
  const char* start = block_.data() + line_pos_;
  size_t rest = block_.size() - line_pos_;
  const char* newline = static_cast<const char*>(memchr(start, '\n', rest));
  size_t length = newline ? newline - start + 1 : rest;
  *line = std::string_view(start, length);
  line_pos_ += length;
  return 1;
}
