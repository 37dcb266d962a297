// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/request.h"

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

// Takes the lock on the data directory as |dir_fd|, waiting up to the
// driver's timeout. The descriptor is kept open across the companion's
// exec, so that the lock lives until both this run and the companion have
// ended, whatever ends this run.
StoreStatus lock_data_dir(const ModelDriver& driver, ScopedFd* dir_fd,
                          StoreFailure* failure) {
  std::string dir = driver.data_dir();
  dir_fd->reset(driver.files->open(dir.c_str(), O_RDONLY | O_DIRECTORY, 0));
  if (dir_fd->get() < 0)
    return fail_at(dir, errno, failure);
  // flock cannot time out by itself: poll without blocking.
  long long deadline = monotonic_ms() + driver.lock_timeout_ms;
  bool waiting = false;
  while (driver.files->flock(dir_fd->get(), LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    if (error != EWOULDBLOCK && error != EINTR)
      return fail_at(dir, error, failure);
    if (monotonic_ms() >= deadline) {
      fail_at(dir, EWOULDBLOCK, failure);
      return kStoreLockTimedOut;
    }
    if (!waiting && driver.on_lock_wait)
      driver.on_lock_wait(dir);
    waiting = true;
    struct timespec pause = { 0, kPollNanoseconds };
    nanosleep(&pause, nullptr);
  }
  return kStoreDone;
}

// Lets the lock on the directory open as |fd| go when this goes, on every
// way out of a request, an unwinding one too. The companion shares the
// descriptor with whatever it left running, so closing it would leave the
// lock with them.
struct Unlock {
  FileOps* files;
  int fd;
  ~Unlock() { files->flock(fd, LOCK_UN); }
};

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

StoreStatus run_request(const ModelDriver& driver,
                        const std::function<StoreStatus(Request*)>& body,
                        StoreFailure* failure) {
  ScopedFd dir_fd(driver.files, -1);
  StoreStatus status = lock_data_dir(driver, &dir_fd, failure);
  if (status != kStoreDone)
    return status;
  Unlock unlock{driver.files, dir_fd.get()};
  Request request{driver, failure};
  if (driver.files->fstat(dir_fd.get(), &request.dir) != 0)
    return fail_at(driver.data_dir(), errno, failure);
  // Renames must survive a power loss, also those of a run that failed
  // after them, whichever way out it takes, before the lock goes.
  DirectorySync sync(driver.files, dir_fd.get(), &request.renamed);
  status = body(&request);
  if (!sync.now() && status == kStoreDone)
    status = fail_at(driver.data_dir(), errno, failure);
  return status;
}

StoreStatus rewrite_in_order(Request* request,
                             const std::vector<Rewrite>& rewrites) {
  const ModelDriver& driver = request->driver;
  for (const Rewrite& rewrite : rewrites) {
    if (rewrite_file(driver.files, driver.path(rewrite.file), rewrite.edit,
                     request->failure) != kStoreDone)
      return kStoreFileFailed;
    request->renamed = true;
  }
  return kStoreDone;
}
