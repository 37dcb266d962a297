// SPDX-License-Identifier: GPL-2.0-or-later
// What a request that writes makes sure of before anything runs or
// changes.
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <iterator>

#include "store/line_reader.h"
#include "store/lookup.h"
#include "store/request.h"

namespace {

// Why nothing can be renamed over a file of status |info|, though its
// permissions allow it: EPERM for an immutable or append-only file, EBUSY
// for a mount point (a device number of its own would also be one, but
// overlay file systems give their files such numbers); 0 when it can be.
int replace_error(const struct statx& info) {
  uint64_t set = info.stx_attributes & info.stx_attributes_mask;
  if (set & (STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND))
    return EPERM;
  if (set & STATX_ATTR_MOUNT_ROOT)
    return EBUSY;
  return 0;
}

// Checks that |file| of |request| holds a regular file within
// kMaxDataFileSize that the run may read and replace, or nothing, in the
// locked directory of status |dir|; |*problem| gets why a rewrite of it
// would certainly fail all the same: ENOENT for nothing, or a
// replace_error.
StoreStatus check_data_file(const Request& request, const struct stat& dir,
                            DriverFile file, int* problem) {
  FileOps* files = request.driver().files;
  FileAt at = request.file(file);
  struct statx info;
  if (files->statx(at.dir, at.name.c_str(), AT_SYMLINK_NOFOLLOW, &info) != 0) {
    *problem = errno;
    return *problem == ENOENT ? kStoreDone
                              : fail_at(at.path, *problem, request.failure());
  }
  if (int error = data_file_error(info.stx_mode, info.stx_nlink))
    return fail_at(at.path, error, request.failure());
  // Nothing is read yet, and the companion has not run.
  if (info.stx_size > static_cast<uint64_t>(kMaxDataFileSize))
    return fail_too_large(at.path, request.failure());
  if (files->access(at.dir, at.name.c_str(), R_OK) != 0)
    return fail_at(at.path, errno, request.failure());
  // In a sticky directory only the file's owner, the directory's or root
  // may rename over a file.
  uid_t user = geteuid();
  if ((dir.st_mode & S_ISVTX) && user != 0 && info.stx_uid != user &&
      dir.st_uid != user)
    return fail_at(at.path, EPERM, request.failure());
  *problem = replace_error(info);
  return kStoreDone;
}

// Removes whatever is at the temporary path of |file| of |request|.
StoreStatus clear_temp_path(const Request& request, DriverFile file) {
  FileOps* files = request.driver().files;
  FileAt at = request.file(file);
  std::string name = temp_path_for(at.name);
  std::string path = temp_path_for(at.path);
  struct statx info;
  if (files->statx(at.dir, name.c_str(), AT_SYMLINK_NOFOLLOW, &info) != 0)
    return errno == ENOENT ? kStoreDone
                           : fail_at(path, errno, request.failure());
  int result = S_ISDIR(info.stx_mode) ? files->rmdir(at.dir, name.c_str())
                                      : files->unlink(at.dir, name.c_str());
  if (result != 0 && errno != ENOENT)
    return fail_at(path, errno, request.failure());
  return kStoreDone;
}

// Which files |plan| rewrites, as the files of |request| stand now.
StoreStatus planned_files(const Request& request, const RewritePlan& plan,
                          FileSet* files) {
  *files = plan.files;
  for (const std::string& name : plan.names) {
    if ((plan.found_files & ~*files).none())
      break;
    NamedFormat format;
    StoreStatus status = find_format_id(request, name, &format);
    if (status == kStoreFileFailed)
      return status;
    if (status == kStoreDone)
      *files |= plan.found_files;
  }
  return kStoreDone;
}

}  // namespace

StoreStatus Request::prepare(const RewritePlan& plan) {
  if (driver_.files->access(dir_fd_.get(), ".", W_OK | X_OK) != 0)
    return fail_at(driver_.data_dir(), errno, failure_);
  int problems[std::size(kDriverFiles)] = {};
  FileSet troubled;
  for (DriverFile file : kDriverFiles) {
    if (check_data_file(*this, dir_, file, &problems[file]) != kStoreDone)
      return kStoreFileFailed;
    troubled[file] = problems[file] != 0;
  }
  for (DriverFile file : kDriverFiles) {
    if (clear_temp_path(*this, file) != kStoreDone)
      return kStoreFileFailed;
  }
  if (troubled.none())
    return kStoreDone;
  // Which files the request rewrites depends on what the files hold now;
  // a run certain to fail at one of them must fail before the companion
  // tool has changed anything.
  FileSet rewritten;
  if (planned_files(*this, plan, &rewritten) != kStoreDone)
    return kStoreFileFailed;
  for (DriverFile file : kDriverFiles) {
    if (rewritten[file] && troubled[file])
      return fail_at(driver_.path(file), problems[file], failure_);
  }
  return kStoreDone;
}
