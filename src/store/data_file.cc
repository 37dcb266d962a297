// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/data_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/line_reader.h"
#include "store/paths.h"
#include "store/status.h"

namespace {

const DriverFile kDataFiles[] = {
  kFunctionFile, kMediaInfoFile, kResourceFile, kPrintAreaFile,
};

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

// Checks that |path| holds a regular file this run may read and replace
// in the directory of status |dir|, or nothing; |*problem| is ENOENT for
// nothing, or why a rename over the file would fail (see replace_error).
StoreStatus check_data_path(FileOps* files, const std::string& path,
                            const struct stat& dir, int* problem,
                            StoreFailure* failure) {
  struct statx info;
  if (files->statx(path.c_str(), &info) != 0) {
    *problem = errno;
    return *problem == ENOENT ? kStoreDone : fail_at(path, *problem, failure);
  }
  if (int error = data_file_error(info.stx_mode, info.stx_nlink))
    return fail_at(path, error, failure);
  if (files->access(path.c_str(), R_OK) != 0)
    return fail_at(path, errno, failure);
  // In a sticky directory only the file's owner, the directory's or root
  // may rename over a file.
  uid_t user = geteuid();
  if ((dir.st_mode & S_ISVTX) && user != 0 && info.stx_uid != user &&
      dir.st_uid != user)
    return fail_at(path, EPERM, failure);
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

StoreStatus prepare_data_files(FileOps* files, const std::string& root,
                               const std::string& model_code,
                               const struct stat& dir, int* problems,
                               StoreFailure* failure) {
  // A run that could not replace the files must fail before the
  // companion tool has changed anything.
  std::string dir_path = data_dir_path(root, model_code);
  if (files->access(dir_path.c_str(), W_OK | X_OK) != 0)
    return fail_at(dir_path, errno, failure);
  for (DriverFile file : kDataFiles) {
    std::string path = driver_file_path(root, model_code, file);
    if (check_data_path(files, path, dir, &problems[file], failure) !=
        kStoreDone)
      return kStoreFileFailed;
  }
  for (DriverFile file : kDataFiles) {
    std::string temp = temp_path_for(driver_file_path(root, model_code, file));
    if (clear_temp_path(files, temp, failure) != kStoreDone)
      return kStoreFileFailed;
  }
  return kStoreDone;
}
