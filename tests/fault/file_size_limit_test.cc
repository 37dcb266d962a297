// SPDX-License-Identifier: GPL-2.0-or-later
// Test programs run under a limit on the size of the files they write, so
// that a write that never ends fails the test before the disk is full.

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "file_size_limit.h"
#include "test_files.h"

namespace {

TEST(FileSizeLimit, WritePastTheLimitFailsInsteadOfFillingTheDisk) {
  struct rlimit limit;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &limit));
  ASSERT_LE(limit.rlim_cur, kTestFileSizeLimit);
  TempDir dir;
  std::string path = dir.file("runaway");
  // One byte just past the limit, after a hole: a run that finds no limit
  // costs no disk.
  pid_t pid = fork();
  ASSERT_LE(0, pid);
  if (pid == 0) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || lseek(fd, limit.rlim_cur, SEEK_SET) < 0)
      _exit(100);
    _exit(write(fd, "x", 1) < 0 && errno == EFBIG ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(pid, waitpid(pid, &status, 0));
  EXPECT_TRUE((WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) ||
              (WIFEXITED(status) && WEXITSTATUS(status) == 1))
      << "status " << status;
}

}  // namespace
