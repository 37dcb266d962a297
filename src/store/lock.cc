// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <time.h>

#include "store/data_file.h"
#include "store/paths.h"
#include "store/status.h"

namespace {

const long kPollNanoseconds = 10 * 1000 * 1000;

long long monotonic_ms() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// Takes the lock on |dir|, waiting up to env.lock_timeout_ms. Returns
// kStoreDone with the directory's descriptor in |*fd|; kStoreLockTimedOut
// when another run kept it; or kStoreFileFailed with the errno of the
// failing call in |*error|.
StoreStatus lock_data_dir(const StoreEnv& env, const std::string& dir,
                          int* fd, int* error) {
  FileOps* files = env.files;
  ScopedFd dir_fd(files, files->open(dir.c_str(),
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  if (dir_fd.get() < 0) {
    *error = errno;
    return kStoreFileFailed;
  }
  // flock cannot time out by itself: poll without blocking.
  long long deadline = monotonic_ms() + env.lock_timeout_ms;
  bool waiting = false;
  while (files->flock(dir_fd.get(), LOCK_EX | LOCK_NB) != 0) {
    int failure = errno;
    if (failure != EWOULDBLOCK && failure != EINTR) {
      *error = failure;
      return kStoreFileFailed;
    }
    if (monotonic_ms() >= deadline) {
      *error = EWOULDBLOCK;
      return kStoreLockTimedOut;
    }
    if (!waiting && env.on_lock_wait)
      env.on_lock_wait(dir);
    waiting = true;
    struct timespec pause = { 0, kPollNanoseconds };
    nanosleep(&pause, nullptr);
  }
  *fd = dir_fd.release();
  return kStoreDone;
}

}  // namespace

StoreStatus run_request(
    const StoreEnv& env, const std::string& model_code,
    const std::function<StoreStatus(StoreFailure* failure)>& body,
    StoreFailure* failure) {
  std::string dir_path = data_dir_path(env.driver_root, model_code);
  int fd;
  StoreStatus status = lock_data_dir(env, dir_path, &fd, &failure->error);
  if (status != kStoreDone) {
    failure->path = dir_path;
    return status;
  }
  // Closing the descriptor, on every way out, releases the lock.
  ScopedFd dir_fd(env.files, fd);
  struct stat dir;
  if (env.files->fstat(dir_fd.get(), &dir) != 0)
    return fail_at(dir_path, errno, failure);
  status = prepare_data_files(env.files, env.driver_root, model_code, dir,
                              failure);
  if (status != kStoreDone)
    return status;
  status = body(failure);
  // The renames of a run that changed the files must survive a power loss.
  if (status == kStoreDone && env.files->fsync(dir_fd.get()) != 0)
    return fail_at(dir_path, errno, failure);
  return status;
}
