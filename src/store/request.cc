// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/request.h"

#include <errno.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "store/data_file.h"
#include "store/lock.h"
#include "store/lookup.h"
#include "store/rewrite.h"

namespace {

// Syncs a directory whose entries |*renamed| says changed: now(), or on
// the way out.
class DirectorySync {
 public:
  DirectorySync(FileOps* files, int fd, const bool* renamed)
      : files_(files), fd_(fd), renamed_(renamed) {}
  ~DirectorySync() { now(); }
  // False when the sync failed, with its errno.
  bool now() {
    if (!*renamed_ || synced_)
      return true;
    synced_ = true;
    return files_->fsync(fd_) == 0;
  }

 private:
  FileOps* files_;
  int fd_;
  const bool* renamed_;
  bool synced_ = false;
};

}  // namespace

StoreStatus run_request(const StoreEnv& env, const std::string& model_code,
                        const std::function<StoreStatus(Request*)>& body,
                        StoreFailure* failure) {
  std::string dir_path = data_dir_path(env.driver_root, model_code);
  int fd;
  StoreStatus status = lock_data_dir(env, dir_path, &fd, failure);
  if (status != kStoreDone)
    return status;
  // Closing the descriptor, on every way out, lets the lock go.
  ScopedFd dir_fd(env.files, fd);
  Request request{env, model_code, failure};
  request.dir_fd = dir_fd.get();
  if (env.files->fstat(dir_fd.get(), &request.dir) != 0)
    return fail_at(dir_path, errno, failure);
  // Renames must survive a power loss, also those of a run that failed
  // after them, whichever way out it takes.
  DirectorySync sync(env.files, dir_fd.get(), &request.renamed);
  status = body(&request);
  if (!sync.now() && status == kStoreDone)
    return fail_at(dir_path, errno, failure);
  return status;
}

StoreStatus prepare_to_write(Request* request, const FormatSettings& settings,
                             bool adding) {
  const StoreEnv& env = request->env;
  int problems[kDriverFileCount] = {};
  StoreStatus status = prepare_data_files(
      env.files, env.driver_root, request->model_code, request->dir,
      problems, request->failure);
  if (status != kStoreDone)
    return status;
  if (std::all_of(std::begin(problems), std::end(problems),
                  [](int problem) { return problem == 0; }))
    return kStoreDone;
  // Which files the request rewrites, in its order, depends on whether
  // the name is there; the lookup after the companion's delete decides
  // again, as the companion may change the files.
  NamedFormat named;
  status = find_named_format(env.files, env.driver_root, request->model_code,
                             settings.format_name, &named, request->failure);
  if (status == kStoreFileFailed)
    return status;
  std::vector<DriverFile> rewrites;
  if (status == kStoreDone)
    rewrites = { kFunctionFile, kResourceFile, kPrintAreaFile,
                 kMediaInfoFile };
  if (adding)
    rewrites.insert(rewrites.end(),
                    { kFunctionFile, kMediaInfoFile, kPrintAreaFile });
  for (DriverFile file : rewrites) {
    if (problems[file] != 0)
      return fail_at(request->path(file), problems[file], request->failure);
  }
  return kStoreDone;
}

StoreStatus rewrite_data_file(Request* request, DriverFile file,
                              const LineEdit& edit) {
  StoreStatus status = rewrite_file(request->env.files, request->path(file),
                                    edit, request->failure);
  if (status == kStoreDone)
    request->renamed = true;
  return status;
}
