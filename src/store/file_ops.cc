#include "store/file_ops.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class RealFileOps : public FileOps {
 public:
  int open(const char* path, int flags, mode_t mode) override {
    return ::open(path, flags, mode);
  }
  ssize_t read(int fd, void* buffer, size_t size) override {
    return ::read(fd, buffer, size);
  }
  ssize_t write(int fd, const void* buffer, size_t size) override {
    return ::write(fd, buffer, size);
  }
  off_t lseek(int fd, off_t offset, int whence) override {
    return ::lseek(fd, offset, whence);
  }
  int ftruncate(int fd, off_t length) override {
    return ::ftruncate(fd, length);
  }
  ssize_t copy_file_range(int in_fd, off_t* in_offset, int out_fd,
                          size_t length) override {
    loff_t offset = *in_offset;
    ssize_t copied = ::copy_file_range(in_fd, &offset, out_fd, nullptr,
                                       length, 0);
    *in_offset = offset;
    return copied;
  }
  int fsync(int fd) override { return ::fsync(fd); }
  int fchmod(int fd, mode_t mode) override { return ::fchmod(fd, mode); }
  int close(int fd) override { return ::close(fd); }
  int rename(const char* from, const char* to) override {
    return ::rename(from, to);
  }
  int unlink(const char* path) override { return ::unlink(path); }
  int flock(int fd, int operation) override {
    return ::flock(fd, operation);
  }
};

}  // namespace

FileOps* real_file_ops() {
  static RealFileOps files;
  return &files;
}
