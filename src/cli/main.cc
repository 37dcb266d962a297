// SPDX-License-Identifier: GPL-2.0-or-later
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "cli/exit_status.h"
#include "cli/tool.h"

#ifndef VT_DRIVER_ROOT
#error "VT_DRIVER_ROOT must name the driver root directory"
#endif

namespace {

// Undoes what a careless parent may hand the process: a closed standard
// descriptor is opened on /dev/null, so that no file the tool opens takes
// its number (and the companion tool's output with it), and SIGCHLD goes
// back to its default, so that the companion tool's exit status can be
// collected; SIGXFSZ is ignored. Returns false when /dev/null cannot be
// opened.
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

}  // namespace

int main(int argc, char** argv) {
  const char* program = argc > 0 ? argv[0] : "";
  if (!reset_inherited_state()) {
    warn(program, "/dev/null cannot stand in for a closed standard "
         "descriptor");
    return kExitFailure;
  }
  StoreEnv env;
  env.driver_root = VT_DRIVER_ROOT;
  return finish_output(program, run_tool(argc, argv, env));
}
