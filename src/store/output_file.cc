#include "store/output_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace {

const size_t kOutputBuffer = 128 * 1024;
const size_t kDirectWrite = 16 * 1024;
const mode_t kDataFileMode = 0666;  // other parts of the driver write them

// Why a kernel-side copy may be refused, in which case it is done by hand:
// files on different or unsuitable file systems, an old kernel, or a
// system-call filter that does not know the call.
bool copy_unsupported(int error) {
  return error == EXDEV || error == EINVAL || error == ENOSYS ||
      error == EOPNOTSUPP || error == EPERM || error == EBADF ||
      error == ETXTBSY;
}

}  // namespace

OutputFile::OutputFile(FileOps* files, const std::string& path)
    : files_(files), path_(path) {}

OutputFile::~OutputFile() {
  // Only a rewrite cut short gets here with the file open; what it wrote
  // is of no use.
  if (fd_ >= 0) {
    files_->close(fd_);
    files_->unlink(path_.c_str());
  }
}

bool OutputFile::close() {
  int fd = fd_;
  fd_ = -1;
  if (fd >= 0 && files_->close(fd) != 0)
    return fail();
  return true;
}

bool OutputFile::open() {
  if (fd_ >= 0)
    return true;
  if (files_->unlink(path_.c_str()) != 0 && errno != ENOENT)
    return fail();
  fd_ = files_->open(path_.c_str(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     kDataFileMode);
  if (fd_ < 0)
    return fail();
  pending_.reserve(kOutputBuffer);
  return true;
}

bool OutputFile::put(std::string_view piece) {
  if (piece.empty())
    return true;
  if (!open())
    return false;
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

bool OutputFile::copy_from(int fd, off_t offset, off_t length, int last) {
  if (length <= 0)
    return true;
  if (!open() || !flush())
    return false;
  off_t end = offset + length;
  while (offset < end) {
    ssize_t copied = files_->copy_file_range(fd, &offset, fd_, end - offset);
    if (copied < 0 && errno == EINTR)
      continue;
    if (copied < 0 && copy_unsupported(errno))
      break;
    if (copied < 0)
      return fail();
    // Some file systems copy nothing where they cannot; a file that has
    // really become shorter shows when it is read.
    if (copied == 0)
      break;
  }
  if (offset < end) {
    // Read and written by hand, from where the kernel stopped.
    if (files_->lseek(fd, offset, SEEK_SET) != offset)
      return fail();
    std::unique_ptr<char[]> buffer(new char[kOutputBuffer]);
    while (offset < end) {
      size_t want = std::min<off_t>(end - offset, kOutputBuffer);
      ssize_t got = files_->read(fd, buffer.get(), want);
      if (got < 0 && errno == EINTR)
        continue;
      if (got < 0)
        return fail();
      if (got == 0) {
        error_ = EIO;  // the file is shorter than it was a moment ago
        return false;
      }
      if (!write_all(std::string_view(buffer.get(), got)))
        return false;
      offset += got;
    }
  }
  offset_ += length;
  last_ = last;
  return true;
}

bool OutputFile::flush() {
  if (pending_.empty())
    return true;
  bool ok = write_all(pending_);
  pending_.clear();
  return ok;
}

bool OutputFile::seal() {
  if (!open() || !flush())
    return false;
  if (files_->fchmod(fd_, kDataFileMode) != 0 || files_->fsync(fd_) != 0)
    return fail();
  return true;
}

bool OutputFile::rewind(off_t offset, int last) {
  if (!open() || !flush())
    return false;
  if (files_->ftruncate(fd_, offset) != 0 ||
      files_->lseek(fd_, offset, SEEK_SET) != offset)
    return fail();
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

bool OutputFile::fail() {
  error_ = errno;
  return false;
}
