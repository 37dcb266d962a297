#include "store/lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>

#include "store/paths.h"
#include "store/status.h"

namespace {

const long kPollNanoseconds = 10 * 1000 * 1000;

long long monotonic_ms() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

}  // namespace

int lock_data_dir(FileOps* files, const std::string& dir, int timeout_ms,
                  int* fd, int* error) {
  int dir_fd = files->open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC,
                           0);
  if (dir_fd < 0) {
    *error = errno;
    return -1;
  }
  // flock cannot time out by itself: poll without blocking.
  long long deadline = monotonic_ms() + timeout_ms;
  while (files->flock(dir_fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      *error = errno;
      files->close(dir_fd);
      return -1;
    }
    if (monotonic_ms() >= deadline) {
      *error = errno == EINTR ? EWOULDBLOCK : errno;
      files->close(dir_fd);
      return -1;
    }
    struct timespec pause = { 0, kPollNanoseconds };
    nanosleep(&pause, nullptr);
  }
  *fd = dir_fd;
  return 0;
}

int unlock_data_dir(FileOps* files, int fd, int* error) {
  int result = 0;
  if (files->fsync(fd) != 0) {
    *error = errno;
    result = -1;
  }
  // Closing the descriptor releases the lock.
  files->close(fd);
  return result;
}

int run_locked(const StoreEnv& env, const std::string& model_code,
               const std::function<int(int* error)>& body, int* error) {
  if (env.lock_held)
    return body(error);
  int dir_fd;
  if (lock_data_dir(env.files, data_dir_path(env.driver_root, model_code),
                    env.lock_timeout_ms, &dir_fd, error) != 0)
    return kStoreFileFailed;
  int status = body(error);
  // A name not found may still have cost the function file its entries.
  int unlock_error = 0;
  if (unlock_data_dir(env.files, dir_fd, &unlock_error) != 0 &&
      (status == kStoreDone || status == kStoreNotFound)) {
    *error = unlock_error;
    status = kStoreFileFailed;
  }
  return status;
}
