// SPDX-License-Identifier: GPL-2.0-or-later
// What a request that writes makes sure of before anything runs or
// changes.
#include <errno.h>
#include <unistd.h>

#include <iterator>

#include "store/line_reader.h"
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

// Checks that |file| holds a regular file within kMaxDataFileSize that
// the run may read and replace, or nothing; |*problem| gets why a
// rewrite of it would certainly fail all the same: ENOENT for nothing, or
// a replace_error.
StoreStatus check_data_file(const Request& request, DriverFile file,
                            int* problem) {
  const ModelDriver& driver = request.driver;
  std::string path = driver.path(file);
  struct statx info;
  if (driver.files->statx(path.c_str(), &info) != 0) {
    *problem = errno;
    return *problem == ENOENT ? kStoreDone
                              : fail_at(path, *problem, request.failure);
  }
  if (int error = data_file_error(info.stx_mode, info.stx_nlink))
    return fail_at(path, error, request.failure);
  // Nothing is read yet, and the companion has not run.
  if (info.stx_size > static_cast<uint64_t>(kMaxDataFileSize))
    return fail_too_large(path, request.failure);
  if (driver.files->access(path.c_str(), R_OK) != 0)
    return fail_at(path, errno, request.failure);
  // In a sticky directory only the file's owner, the directory's or root
  // may rename over a file.
  uid_t user = geteuid();
  if ((request.dir.st_mode & S_ISVTX) && user != 0 && info.stx_uid != user &&
      request.dir.st_uid != user)
    return fail_at(path, EPERM, request.failure);
  *problem = replace_error(info);
  return kStoreDone;
}

// Removes whatever is at the temporary path |path|.
StoreStatus clear_temp_path(FileOps* files, const std::string& path,
                            StoreFailure* failure) {
  struct statx info;
  if (files->statx(path.c_str(), &info) != 0)
    return errno == ENOENT ? kStoreDone : fail_at(path, errno, failure);
  int result = S_ISDIR(info.stx_mode) ? files->rmdir(path.c_str())
                                      : files->unlink(path.c_str());
  if (result != 0 && errno != ENOENT)
    return fail_at(path, errno, failure);
  return kStoreDone;
}

}  // namespace

StoreStatus prepare_to_write(
    Request* request,
    const std::function<StoreStatus(std::vector<Rewrite>*)>& planned) {
  const ModelDriver& driver = request->driver;
  std::string dir = driver.data_dir();
  if (driver.files->access(dir.c_str(), W_OK | X_OK) != 0)
    return fail_at(dir, errno, request->failure);
  int problems[std::size(kDriverFiles)] = {};
  bool troubled = false;
  for (DriverFile file : kDriverFiles) {
    if (check_data_file(*request, file, &problems[file]) != kStoreDone)
      return kStoreFileFailed;
    troubled = troubled || problems[file] != 0;
  }
  for (DriverFile file : kDriverFiles) {
    if (clear_temp_path(driver.files, temp_path_for(driver.path(file)),
                        request->failure) != kStoreDone)
      return kStoreFileFailed;
  }
  if (!troubled)
    return kStoreDone;
  // Which files the request rewrites depends on what the files hold now;
  // a run certain to fail at one of them must fail before the companion
  // tool has changed anything.
  std::vector<Rewrite> rewrites;
  if (planned(&rewrites) != kStoreDone)
    return kStoreFileFailed;
  for (const Rewrite& rewrite : rewrites) {
    if (int problem = problems[rewrite.file])
      return fail_at(driver.path(rewrite.file), problem, request->failure);
  }
  return kStoreDone;
}
