// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/file_ops.h"

#include <attr/error_context.h>
#include <attr/libattr.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/file.h>
#include <unistd.h>

#include <initializer_list>

namespace {

// What a copy of extended attributes ran into first.
struct CopyErrors : error_context {
  CopyErrors() : error_context{ note, nullptr, nullptr } {}
  static void note(error_context* context, const char*, ...) {
    CopyErrors* errors = static_cast<CopyErrors*>(context);
    if (errors->first_error == 0)
      errors->first_error = errno;
  }
  int first_error = 0;
};

// The attributes that carry permissions (ACLs), and the others but those
// the system says never to copy. The ACLs are named here too, so that
// they count as ACLs where the system's list cannot be read.
int is_permission_attribute(const char* name, struct error_context* context) {
  for (const char* acl : { "system.posix_acl_access",
                           "system.posix_acl_default", "system.nfs4_acl",
                           "system.nfs4acl" }) {
    if (strcmp(name, acl) == 0)
      return 1;
  }
  return attr_copy_action(name, context) == ATTR_ACTION_PERMISSIONS;
}
int is_other_attribute(const char* name, struct error_context* context) {
  return !is_permission_attribute(name, context) &&
         attr_copy_action(name, context) != ATTR_ACTION_SKIP;
}

class RealFileOps : public FileOps {
 public:
  int open(int dir, const char* name, int flags, mode_t mode) override {
    return ::openat(dir, name, flags, mode);
  }
  ssize_t read(int fd, void* buffer, size_t size) override {
    return ::read(fd, buffer, size);
  }
  ssize_t write(int fd, const void* buffer, size_t size) override {
    return ::write(fd, buffer, size);
  }
  int fstat(int fd, struct stat* info) override { return ::fstat(fd, info); }
  int statx(int dir, const char* name, int flags,
            struct statx* info) override {
    return ::statx(dir, name, flags, STATX_BASIC_STATS, info);
  }
  int fsync(int fd) override { return ::fsync(fd); }
  int fchmod(int fd, mode_t mode) override { return ::fchmod(fd, mode); }
  int fchown(int fd, uid_t owner, gid_t group) override {
    return ::fchown(fd, owner, group);
  }
  int close(int fd) override { return ::close(fd); }
  int rename(int dir, const char* from, const char* to) override {
    return ::renameat(dir, from, dir, to);
  }
  int unlink(int dir, const char* name) override {
    return ::unlinkat(dir, name, 0);
  }
  int rmdir(int dir, const char* name) override {
    return ::unlinkat(dir, name, AT_REMOVEDIR);
  }
  int flock(int fd, int operation) override {
    return ::flock(fd, operation);
  }
  int access(int dir, const char* name, int mode) override {
    return ::faccessat(dir, name, mode, AT_EACCESS);
  }
  int copy_attributes(int from, int to, bool permissions) override {
    CopyErrors errors;
    if (attr_copy_fd("", from, "", to, permissions ? is_permission_attribute
                                                   : is_other_attribute,
                     &errors) == 0)
      return 0;
    errno = errors.first_error != 0 ? errors.first_error : EIO;
    return -1;
  }
};

}  // namespace

FileOps* real_file_ops() {
  static RealFileOps files;
  return &files;
}
