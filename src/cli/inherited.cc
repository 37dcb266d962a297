// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/inherited.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

bool reset_inherited_state() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
      continue;
    // The lowest free number is this one.
    int null_fd = open("/dev/null", O_RDWR);
    if (null_fd != fd) {
      if (null_fd >= 0)
        close(null_fd);
      return false;
    }
  }
  signal(SIGCHLD, SIG_DFL);
  // A write past the file-size limit then fails as a full disk does, and
  // its temporary file is removed, instead of the run being killed.
  signal(SIGXFSZ, SIG_IGN);
  return true;
}
