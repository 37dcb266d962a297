// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/request.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/sysmacros.h>
#include <time.h>

#include "store/companion.h"

namespace {

const long kPollNanoseconds = 10 * 1000 * 1000;

long long monotonic_ms() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

}  // namespace

Request::~Request() {
  sync();
  unlock();
}

StoreStatus Request::lock() {
  const std::string dir = driver_.data_dir();
  FileOps* files = driver_.files;
  // flock cannot time out by itself: poll without blocking.
  long long deadline = monotonic_ms() + driver_.lock_timeout_ms;
  bool waiting = false;
  for (;;) {
    dir_fd_.reset(files->open(AT_FDCWD, dir.c_str(), O_RDONLY | O_DIRECTORY,
                              0));
    if (dir_fd_.get() < 0)
      return fail_at(dir, errno, failure_);
    while (files->flock(dir_fd_.get(), LOCK_EX | LOCK_NB) != 0) {
      int error = errno;
      if (error != EWOULDBLOCK && error != EINTR)
        return fail_at(dir, error, failure_);
      if (monotonic_ms() >= deadline) {
        fail_at(dir, EWOULDBLOCK, failure_);
        return kStoreLockTimedOut;
      }
      if (!waiting && driver_.on_lock_wait)
        driver_.on_lock_wait(dir);
      waiting = true;
      struct timespec pause = { 0, kPollNanoseconds };
      nanosleep(&pause, nullptr);
    }
    locked_ = true;
    if (files->fstat(dir_fd_.get(), &dir_) != 0)
      return fail_at(dir, errno, failure_);
    // A directory replaced while this run waited is no longer the one
    // other runs lock: start again on the one the path names now.
    bool same;
    if (path_names_dir(&same) != kStoreDone)
      return kStoreFileFailed;
    if (same)
      return kStoreDone;
    unlock();
    if (monotonic_ms() >= deadline) {
      fail_at(dir, EWOULDBLOCK, failure_);
      return kStoreLockTimedOut;
    }
  }
}

StoreStatus Request::run_companion(const std::vector<std::string>& args) {
  StoreStatus status = ::run_companion(args, failure_);
  return status == kStoreDone ? check_not_replaced() : status;
}

StoreStatus Request::rewrite(const std::vector<Rewrite>& rewrites) {
  for (const Rewrite& rewrite : rewrites) {
    if (rewrite_file(driver_.files, file(rewrite.file), rewrite.edit,
                     failure_) != kStoreDone)
      return kStoreFileFailed;
    renamed_ = true;
  }
  return kStoreDone;
}

StoreStatus Request::finish(StoreStatus status) {
  // Renames must survive a power loss, also those of a run that failed
  // after them, before the lock goes.
  if (!sync() && status == kStoreDone)
    status = fail_at(driver_.data_dir(), errno, failure_);
  if (status == kStoreDone && locked_)
    status = check_not_replaced();
  unlock();
  return status;
}

FileAt Request::file(DriverFile file) const {
  return FileAt{ dir_fd_.get(), driver_.name(file), driver_.path(file) };
}

StoreStatus Request::path_names_dir(bool* same) {
  const std::string dir = driver_.data_dir();
  // Following links, as the open of the path does.
  struct statx now;
  if (driver_.files->statx(AT_FDCWD, dir.c_str(), 0, &now) != 0) {
    if (errno != ENOENT && errno != ENOTDIR)
      return fail_at(dir, errno, failure_);
    *same = false;
    return kStoreDone;
  }
  *same = makedev(now.stx_dev_major, now.stx_dev_minor) == dir_.st_dev &&
      now.stx_ino == dir_.st_ino;
  return kStoreDone;
}

StoreStatus Request::check_not_replaced() {
  bool same;
  if (path_names_dir(&same) != kStoreDone)
    return kStoreFileFailed;
  if (same)
    return kStoreDone;
  failure_->path = driver_.data_dir();
  return kStoreDirReplaced;
}

bool Request::sync() {
  if (!renamed_ || synced_)
    return true;
  synced_ = true;
  return driver_.files->fsync(dir_fd_.get()) == 0;
}

void Request::unlock() {
  if (locked_)
    driver_.files->flock(dir_fd_.get(), LOCK_UN);
  locked_ = false;
}
