// SPDX-License-Identifier: GPL-2.0-or-later
#include "faulty_file_ops.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>

namespace {

// Not an errno any store call sets by itself, so a stale read shows.
const int kScribbledErrno = ENOTUNIQ;

FileOps* real() { return real_file_ops(); }

template <typename T> T scribbled(T result) {
  if (result >= 0)
    errno = kScribbledErrno;
  return result;
}

}  // namespace

const char* FaultyFileOps::kind_name(Kind kind) {
  const char* names[] = { "open", "read", "write", "fstat", "statx",
                          "fsync", "fchmod", "fchown", "close", "rename",
                          "unlink", "rmdir", "flock", "access",
                          "copy_attributes", "any call" };
  return names[kind];
}

bool FaultyFileOps::should_fail(Kind kind, const char* path) {
  ++calls[kind];
  ++calls[kAnyCall];
  if (fail_at == 0 || (fail_kind != kAnyCall && fail_kind != kind) ||
      calls[fail_kind] != fail_at)
    return false;
  fault_hit = true;
  failed_kind = kind;
  failed_call = kind_name(kind);
  if (path != nullptr)
    failed_call += std::string(" ") + path;
  return true;
}

template <typename Real>
auto FaultyFileOps::pass(Kind kind, const char* path, Real real)
    -> decltype(real()) {
  if (should_fail(kind, path)) {
    errno = fail_errno;
    return -1;
  }
  return scribbled(real());
}

int FaultyFileOps::open(int dir, const char* name, int flags, mode_t mode) {
  int fd = pass(kOpen, name, [&] {
    return real()->open(dir, name, flags, mode);
  });
  if (fd >= 0)
    ++open_descriptors;
  if (fd >= 0 && (flags & O_ACCMODE) != O_RDONLY)
    written_.insert(fd);
  return fd;
}

ssize_t FaultyFileOps::read(int fd, void* buffer, size_t size) {
  if (max_read != 0 && size > max_read)
    size = max_read;
  return pass(kRead, nullptr, [&] { return real()->read(fd, buffer, size); });
}

ssize_t FaultyFileOps::write(int fd, const void* buffer, size_t size) {
  if (should_fail(kWrite)) {
    if (fail_with_zero)
      return 0;
    errno = fail_errno;
    return -1;
  }
  if (max_write != 0 && size > max_write)
    size = max_write;
  return scribbled(real()->write(fd, buffer, size));
}

int FaultyFileOps::fstat(int fd, struct stat* info) {
  return pass(kFstat, nullptr, [&] { return real()->fstat(fd, info); });
}

int FaultyFileOps::statx(int dir, const char* name, int flags,
                         struct statx* info) {
  return pass(kStatx, name, [&] {
    return real()->statx(dir, name, flags, info);
  });
}

int FaultyFileOps::fsync(int fd) {
  return pass(kFsync, nullptr, [&] { return real()->fsync(fd); });
}

int FaultyFileOps::fchmod(int fd, mode_t mode) {
  return pass(kFchmod, nullptr, [&] { return real()->fchmod(fd, mode); });
}

int FaultyFileOps::fchown(int fd, uid_t owner, gid_t group) {
  return pass(kFchown, nullptr, [&] {
    return real()->fchown(fd, owner, group);
  });
}

int FaultyFileOps::close(int fd) {
  bool fail = should_fail(kClose, written_.erase(fd) ? "written" : nullptr);
  int result = real()->close(fd);
  if (result == 0)
    --open_descriptors;
  if (fail) {
    errno = fail_errno;
    return -1;
  }
  return scribbled(result);
}

int FaultyFileOps::rename(int dir, const char* from, const char* to) {
  return pass(kRename, from, [&] { return real()->rename(dir, from, to); });
}

int FaultyFileOps::unlink(int dir, const char* name) {
  return pass(kUnlink, name, [&] { return real()->unlink(dir, name); });
}

int FaultyFileOps::rmdir(int dir, const char* name) {
  return pass(kRmdir, name, [&] { return real()->rmdir(dir, name); });
}

int FaultyFileOps::flock(int fd, int operation) {
  return pass(kFlock, operation == LOCK_UN ? "LOCK_UN" : nullptr,
              [&] { return real()->flock(fd, operation); });
}

int FaultyFileOps::access(int dir, const char* name, int mode) {
  return pass(kAccess, name, [&] { return real()->access(dir, name, mode); });
}

int FaultyFileOps::copy_attributes(int from, int to, bool permissions) {
  return pass(kCopyAttributes, permissions ? "permissions" : "others", [&] {
    return real()->copy_attributes(from, to, permissions);
  });
}
