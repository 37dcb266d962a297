// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/file_ops.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
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
  int fstat(int fd, struct stat* info) override { return ::fstat(fd, info); }
  int lstat(const char* path, struct stat* info) override {
    return ::lstat(path, info);
  }
  int fsync(int fd) override { return ::fsync(fd); }
  int fchmod(int fd, mode_t mode) override { return ::fchmod(fd, mode); }
  int fchown(int fd, uid_t owner, gid_t group) override {
    return ::fchown(fd, owner, group);
  }
  int close(int fd) override { return ::close(fd); }
  int rename(const char* from, const char* to) override {
    return ::rename(from, to);
  }
  int unlink(const char* path) override { return ::unlink(path); }
  int rmdir(const char* path) override { return ::rmdir(path); }
  int flock(int fd, int operation) override {
    return ::flock(fd, operation);
  }
  int access(const char* path, int mode) override {
    return ::faccessat(AT_FDCWD, path, mode, AT_EACCESS);
  }
};

}  // namespace

FileOps* real_file_ops() {
  static RealFileOps files;
  return &files;
}
