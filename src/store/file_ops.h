// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_FILE_OPS_H_
#define VTMEDIA_STORE_FILE_OPS_H_

#include <sys/stat.h>
#include <sys/types.h>

// The file calls the store makes, behind an interface so that tests can
// make any one of them fail. Each behaves as the system call of its name,
// returning -1 and setting errno on failure.
class FileOps {
 public:
  virtual ~FileOps() {}
  virtual int open(const char* path, int flags, mode_t mode) = 0;
  virtual ssize_t read(int fd, void* buffer, size_t size) = 0;
  virtual ssize_t write(int fd, const void* buffer, size_t size) = 0;
  virtual int fstat(int fd, struct stat* info) = 0;
  // Of |path| itself, not of what a link there names: statx(AT_FDCWD,
  // path, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, info).
  virtual int statx(const char* path, struct statx* info) = 0;
  virtual int fsync(int fd) = 0;
  virtual int fchmod(int fd, mode_t mode) = 0;
  virtual int fchown(int fd, uid_t owner, gid_t group) = 0;
  virtual int close(int fd) = 0;
  virtual int rename(const char* from, const char* to) = 0;
  virtual int unlink(const char* path) = 0;
  virtual int rmdir(const char* path) = 0;
  virtual int flock(int fd, int operation) = 0;
  // Whether this process may use |path| as |mode| says, judged with its
  // effective user and group, as the calls it then makes will be.
  virtual int access(const char* path, int mode) = 0;
  // Copies the extended attributes of the file open as |from| onto |to|
  // (libattr's attr_copy_fd): with |permissions| those that carry
  // permissions (ACLs), else all others the system copies. ENOTSUP where
  // the file system has none.
  virtual int copy_attributes(int from, int to, bool permissions) = 0;
};

// The real file system.
FileOps* real_file_ops();

// Owns one descriptor and closes it through |files| when it goes, so that
// every way out of a function closes it once.
class ScopedFd {
 public:
  ScopedFd(FileOps* files, int fd) : files_(files), fd_(fd) {}
  ~ScopedFd() {
    if (fd_ >= 0)
      files_->close(fd_);
  }
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;

  int get() const { return fd_; }
  // Closes the descriptor held, if any, and takes |fd| instead.
  void reset(int fd) {
    if (fd_ >= 0)
      files_->close(fd_);
    fd_ = fd;
  }

 private:
  FileOps* files_;
  int fd_;
};

#endif  // VTMEDIA_STORE_FILE_OPS_H_
