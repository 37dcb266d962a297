// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>

namespace {

const long kPollNanoseconds = 10 * 1000 * 1000;

long long monotonic_ms() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

}  // namespace

StoreStatus lock_data_dir(const StoreEnv& env, const std::string& dir,
                          int* fd, StoreFailure* failure) {
  FileOps* files = env.files;
  // Kept open across the companion's exec, so that the lock lives until
  // both this run and the companion have ended, whatever ends this run.
  ScopedFd dir_fd(files, files->open(dir.c_str(), O_RDONLY | O_DIRECTORY, 0));
  if (dir_fd.get() < 0)
    return fail_at(dir, errno, failure);
  // flock cannot time out by itself: poll without blocking.
  long long deadline = monotonic_ms() + env.lock_timeout_ms;
  bool waiting = false;
  while (files->flock(dir_fd.get(), LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    if (error != EWOULDBLOCK && error != EINTR)
      return fail_at(dir, error, failure);
    if (monotonic_ms() >= deadline) {
      fail_at(dir, EWOULDBLOCK, failure);
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
