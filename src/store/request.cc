// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/request.h"

#include <errno.h>

#include "store/data_file.h"
#include "store/lock.h"
#include "store/rewrite.h"

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
  status = body(&request);
  // Renames must survive a power loss, also those of a run that failed
  // after them.
  if (request.renamed && env.files->fsync(dir_fd.get()) != 0 &&
      status == kStoreDone)
    return fail_at(dir_path, errno, failure);
  return status;
}

StoreStatus prepare_to_write(Request* request) {
  return prepare_data_files(request->env.files, request->env.driver_root,
                            request->model_code, request->dir,
                            request->failure);
}

StoreStatus rewrite_data_file(Request* request, DriverFile file,
                              const LineEdit& edit) {
  StoreStatus status = rewrite_file(request->env.files, request->path(file),
                                    edit, request->failure);
  if (status == kStoreDone)
    request->renamed = true;
  return status;
}
