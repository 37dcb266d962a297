// SPDX-License-Identifier: GPL-2.0-or-later
// Limits the size of the files a test program, or any program it starts,
// may write, before main: a write that runs away then dies of SIGXFSZ
// instead of filling the disk. The largest test files run to a few tens
// of MiB. An interface source of test_support, compiled into every
// program that links it, since nothing calls it.
#include <sys/resource.h>

namespace {

const rlim_t kFileSizeLimit = rlim_t(64) << 20;

struct FileSizeLimit {
  FileSizeLimit() {
    struct rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
      return;
    bool lower = limit.rlim_max == RLIM_INFINITY ||
                 limit.rlim_max > kFileSizeLimit;
    limit.rlim_cur = lower ? kFileSizeLimit : limit.rlim_max;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
};

const FileSizeLimit kSetBeforeMain;

}  // namespace
