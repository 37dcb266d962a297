#ifndef VTMEDIA_TESTS_STORE_STORE_TEST_SUPPORT_H_
#define VTMEDIA_TESTS_STORE_STORE_TEST_SUPPORT_H_

#include <string>
#include <vector>

#include "store/file_ops.h"

// A fresh directory for one test, removed with its content afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // The names in the directory, sorted.
  std::vector<std::string> entries() const;

 private:
  std::string path_;
};

std::string slurp(const std::string& path);
void spit(const std::string& path, const std::string& content);

// The real file system with faults on demand. Every call is counted by
// kind; the call chosen by fail_kind/fail_at fails with fail_errno (or,
// for a write, returns 0 when fail_with_zero is set) without doing its
// work, except that a failing close still releases the descriptor, as
// close does. Successful calls scribble over errno, as they may, so that
// code reading errno late is caught.
class FaultyFileOps : public FileOps {
 public:
  enum Kind { kOpen, kRead, kWrite, kFsync, kFchmod, kClose, kRename,
              kUnlink, kFlock, kKindCount };

  Kind fail_kind = kOpen;
  int fail_at = 0;  // 1-based call number of fail_kind; 0 never fails
  int fail_errno = 0;
  bool fail_with_zero = false;
  size_t max_read = 0;   // a read returns at most this much; 0 no limit
  size_t max_write = 0;  // a write takes at most this much; 0 no limit

  int calls[kKindCount] = {};
  int open_descriptors = 0;
  bool fault_hit = false;

  int open(const char* path, int flags, mode_t mode) override;
  ssize_t read(int fd, void* buffer, size_t size) override;
  ssize_t write(int fd, const void* buffer, size_t size) override;
  int fsync(int fd) override;
  int fchmod(int fd, mode_t mode) override;
  int close(int fd) override;
  int rename(const char* from, const char* to) override;
  int unlink(const char* path) override;
  int flock(int fd, int operation) override;

 private:
  // Counts the call; true when this one is to fail.
  bool should_fail(Kind kind);
  template <typename T> T succeeded(T result);
};

#endif  // VTMEDIA_TESTS_STORE_STORE_TEST_SUPPORT_H_
