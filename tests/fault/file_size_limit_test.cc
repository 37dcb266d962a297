// SPDX-License-Identifier: GPL-2.0-or-later
// The limit on the size of the files a test program, or any program it
// starts, may write (tests/support/file_size_limit.cc), which keeps a
// runaway write from filling the disk.

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

// One byte just past the limit, after a hole, so that a run without the
// limit costs no disk.
TEST(FileSizeLimit, WritePastTheLimitFailsInsteadOfFillingTheDisk) {
  struct rlimit limit;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &limit));
  ASSERT_NE(RLIM_INFINITY, limit.rlim_cur) << "no file-size limit";
  TempDir dir;
  std::string path = dir.file("runaway");
  pid_t pid = fork();
  ASSERT_LE(0, pid);
  if (pid == 0) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || lseek(fd, limit.rlim_cur, SEEK_SET) < 0)
      _exit(100);
    _exit(write(fd, "x", 1) < 0 && errno == EFBIG ? 1 : 0);
  }
  int status = wait_for(pid);
  EXPECT_TRUE(status == 128 + SIGXFSZ || status == 1) << status;
}

}  // namespace
