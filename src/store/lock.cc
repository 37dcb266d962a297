// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <time.h>

#include <new>

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

// Takes the lock on |dir|, waiting up to |timeout_ms|. Returns kStoreDone
// with the directory's descriptor in |*fd|, or kStoreFileFailed with the
// errno of the failing call in |*error|.
int lock_data_dir(FileOps* files, const std::string& dir, int timeout_ms,
                  int* fd, int* error) {
  int dir_fd = files->open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC,
                           0);
  if (dir_fd < 0) {
    *error = errno;
    return kStoreFileFailed;
  }
  // flock cannot time out by itself: poll without blocking.
  long long deadline = monotonic_ms() + timeout_ms;
  while (files->flock(dir_fd, LOCK_EX | LOCK_NB) != 0) {
    int failure = errno;
    if (failure != EWOULDBLOCK && failure != EINTR) {
      *error = failure;
      files->close(dir_fd);
      return kStoreFileFailed;
    }
    if (monotonic_ms() >= deadline) {
      *error = EWOULDBLOCK;
      files->close(dir_fd);
      return kStoreFileFailed;
    }
    struct timespec pause = { 0, kPollNanoseconds };
    nanosleep(&pause, nullptr);
  }
  *fd = dir_fd;
  return kStoreDone;
}

// Syncs the directory, so that the renames made under the lock survive a
// power loss, then releases the lock. Returns kStoreDone, or
// kStoreFileFailed with |*error| set.
int unlock_data_dir(FileOps* files, int fd, int* error) {
  int result = kStoreDone;
  if (files->fsync(fd) != 0) {
    *error = errno;
    result = kStoreFileFailed;
  }
  // Closing the descriptor releases the lock.
  files->close(fd);
  return result;
}

}  // namespace

int run_locked(const StoreEnv& env, const std::string& model_code,
               const std::function<int(int* error)>& body, int* error) {
  int dir_fd;
  if (lock_data_dir(env.files, data_dir_path(env.driver_root, model_code),
                    env.lock_timeout_ms, &dir_fd, error) != kStoreDone)
    return kStoreFileFailed;
  int status;
  try {
    struct stat dir;
    if (env.files->fstat(dir_fd, &dir) != 0) {
      *error = errno;
      status = kStoreFileFailed;
    } else {
      status = prepare_data_files(env.files, env.driver_root, model_code,
                                  dir, error);
    }
    if (status == kStoreDone)
      status = body(error);
  } catch (const std::bad_alloc&) {
    *error = ENOMEM;
    status = kStoreFileFailed;
  }
  // Only a run that changed the files needs their renames made durable.
  int unlock_error = 0;
  if (unlock_data_dir(env.files, dir_fd, &unlock_error) != kStoreDone &&
      status == kStoreDone) {
    *error = unlock_error;
    status = kStoreFileFailed;
  }
  return status;
}
