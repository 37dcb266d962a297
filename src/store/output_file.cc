#include "store/output_file.h"

#include <errno.h>
#include <unistd.h>

namespace {

const size_t kOutputBuffer = 128 * 1024;
const size_t kDirectWrite = 16 * 1024;

}  // namespace

OutputFile::OutputFile(FileOps* files, int fd) : files_(files), fd_(fd) {
  pending_.reserve(kOutputBuffer);
}

bool OutputFile::put(std::string_view piece) {
  if (piece.empty())
    return true;
  last_ = static_cast<unsigned char>(piece.back());
  offset_ += piece.size();
  // A long run of unchanged lines is written from where it lies; copying
  // it first would add a pass over every byte of the file.
  if (piece.size() >= kDirectWrite)
    return flush() && write_all(piece);
  if (pending_.size() + piece.size() > kOutputBuffer && !flush())
    return false;
  pending_.append(piece.data(), piece.size());
  return true;
}

bool OutputFile::flush() {
  bool ok = write_all(pending_);
  pending_.clear();
  return ok;
}

bool OutputFile::rewind(off_t offset, int last) {
  if (!flush())
    return false;
  if (files_->ftruncate(fd_, offset) != 0 ||
      files_->lseek(fd_, offset, SEEK_SET) != offset) {
    error_ = errno;
    return false;
  }
  offset_ = offset;
  last_ = last;
  return true;
}

bool OutputFile::write_all(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t wrote = files_->write(fd_, bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR)
      continue;
    if (wrote <= 0) {
      // A write that makes no progress is a full disk.
      error_ = wrote < 0 ? errno : ENOSPC;
      return false;
    }
    bytes.remove_prefix(wrote);
  }
  return true;
}
