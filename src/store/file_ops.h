// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_FILE_OPS_H_
#define VTMEDIA_STORE_FILE_OPS_H_

#include <sys/stat.h>
#include <sys/types.h>

#include <string>

// The file calls the store makes, behind an interface so that tests can
// make any one of them fail. Each behaves as the system call of its name,
// returning -1 and setting errno on failure. A file is reached by its
// |name| in the directory open as |dir|, so that a request that locked
// that directory works in it whatever its path names meanwhile; AT_FDCWD
// as |dir| takes |name| as a path (the data directory's own).
class FileOps {
 public:
  virtual ~FileOps() {}
  // openat(dir, name, flags, mode).
  virtual int open(int dir, const char* name, int flags, mode_t mode) = 0;
  virtual ssize_t read(int fd, void* buffer, size_t size) = 0;
  virtual ssize_t write(int fd, const void* buffer, size_t size) = 0;
  virtual int fstat(int fd, struct stat* info) = 0;
  // statx(dir, name, flags, STATX_BASIC_STATS, info); |flags|
  // AT_SYMLINK_NOFOLLOW for a link itself, not what it names.
  virtual int statx(int dir, const char* name, int flags,
                    struct statx* info) = 0;
  virtual int fsync(int fd) = 0;
  virtual int fchmod(int fd, mode_t mode) = 0;
  virtual int fchown(int fd, uid_t owner, gid_t group) = 0;
  virtual int close(int fd) = 0;
  // renameat(dir, from, dir, to): within the one directory.
  virtual int rename(int dir, const char* from, const char* to) = 0;
  // unlinkat(dir, name, 0) and unlinkat(dir, name, AT_REMOVEDIR).
  virtual int unlink(int dir, const char* name) = 0;
  virtual int rmdir(int dir, const char* name) = 0;
  virtual int flock(int fd, int operation) = 0;
  // Whether this process may use |name| as |mode| says, judged with its
  // effective user and group, as the calls it then makes will be:
  // faccessat(dir, name, mode, AT_EACCESS).
  virtual int access(int dir, const char* name, int mode) = 0;
  // Copies the extended attributes of the file open as |from| onto |to|
  // (libattr's attr_copy_fd): with |permissions| those that carry
  // permissions (ACLs), else all others the system copies. ENOTSUP where
  // the file system has none.
  virtual int copy_attributes(int from, int to, bool permissions) = 0;
};

// The real file system.
FileOps* real_file_ops();

// A file as a request reaches it: by |name| in the directory open as
// |dir|; |path| names it in messages only.
struct FileAt {
  int dir;
  std::string name;
  std::string path;
};

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
