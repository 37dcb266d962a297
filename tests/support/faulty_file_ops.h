// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_FAULTY_FILE_OPS_H_
#define VTMEDIA_TESTS_SUPPORT_FAULTY_FILE_OPS_H_

#include <stddef.h>
#include <sys/types.h>

#include <set>
#include <string>

#include "store/file_ops.h"

// The real file system with faults on demand. Calls are counted by kind
// and all together; the call chosen by fail_kind/fail_at fails with
// fail_errno (or, for a write, returns 0 when fail_with_zero is set)
// without doing its work, except that a failing close still releases the
// descriptor, as close does on Linux, so that no descriptor leaks because
// of the test; the close of a descriptor opened for writing is named
// "close written" in failed_call, for its failure may lose data.
// Successful calls scribble over errno, as they may, so that code reading
// errno late is caught.
class FaultyFileOps : public FileOps {
 public:
  enum Kind { kOpen, kRead, kWrite, kFstat, kStatx, kFsync, kFchmod,
              kFchown, kClose, kRename, kUnlink, kRmdir, kFlock, kAccess,
              kCopyAttributes, kAnyCall };

  FaultyFileOps() {}
  // Fails the |fail_at|th call of any kind (counting from 1) with |error|.
  FaultyFileOps(int fail_at, int error)
      : fail_at(fail_at), fail_errno(error) {}
  // Fails the |fail_at|th call of |kind| with |error|.
  FaultyFileOps(Kind kind, int fail_at, int error)
      : fail_kind(kind), fail_at(fail_at), fail_errno(error) {}

  // "open", "read", ...; "any call" for kAnyCall.
  static const char* kind_name(Kind kind);

  Kind fail_kind = kAnyCall;
  int fail_at = 0;  // 1-based call number of fail_kind; 0 never fails
  int fail_errno = 0;
  bool fail_with_zero = false;
  size_t max_read = 0;   // a read returns at most this much; 0 no limit
  size_t max_write = 0;  // a write takes at most this much; 0 no limit

  int calls[kAnyCall + 1] = {};  // [kAnyCall] counts them all
  int open_descriptors = 0;
  bool fault_hit = false;
  Kind failed_kind = kAnyCall;  // the kind of the call that failed
  // What the failed call was, e.g. "rename PrintArea.$$$" or
  // "flock LOCK_UN".
  std::string failed_call;

  int open(int dir, const char* name, int flags, mode_t mode) override;
  ssize_t read(int fd, void* buffer, size_t size) override;
  ssize_t write(int fd, const void* buffer, size_t size) override;
  int fstat(int fd, struct stat* info) override;
  int statx(int dir, const char* name, int flags,
            struct statx* info) override;
  int fsync(int fd) override;
  int fchmod(int fd, mode_t mode) override;
  int fchown(int fd, uid_t owner, gid_t group) override;
  int close(int fd) override;
  int rename(int dir, const char* from, const char* to) override;
  int unlink(int dir, const char* name) override;
  int rmdir(int dir, const char* name) override;
  int flock(int fd, int operation) override;
  int access(int dir, const char* name, int mode) override;
  // failed_call names which: "copy_attributes permissions" or "... others".
  int copy_attributes(int from, int to, bool permissions) override;

 private:
  std::set<int> written_;  // descriptors opened for writing

  // Counts the call; true when this one is to fail. |path| names the
  // file, or which of the calls of its kind it is, in failed_call.
  bool should_fail(Kind kind, const char* path = nullptr);
  // Fails the call with fail_errno, or makes it through |real|.
  template <typename Real> auto pass(Kind kind, const char* path, Real real)
      -> decltype(real());
};

#endif  // VTMEDIA_TESTS_SUPPORT_FAULTY_FILE_OPS_H_
