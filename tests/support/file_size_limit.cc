// SPDX-License-Identifier: GPL-2.0-or-later
// Compiled into every program that links test_support (an interface
// source of it), so that no linker can leave it out.
#include "file_size_limit.h"

namespace {

struct FileSizeLimit {
  FileSizeLimit() {
    struct rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
      return;
    if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max > kTestFileSizeLimit)
      limit.rlim_cur = kTestFileSizeLimit;
    else
      limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
};

const FileSizeLimit kSetBeforeMain;

}  // namespace
