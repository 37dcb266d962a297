// SPDX-License-Identifier: GPL-2.0-or-later
// Preloaded into the tool by a test of a stop signal that comes just as
// the companion has ended: the tool sends itself SIGTERM the moment a
// wait reaps a child, before it can look for signals again. Programs it
// starts do not inherit the library.

#include <dlfcn.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

__attribute__((constructor)) void keep_to_this_process() {
  unsetenv("LD_PRELOAD");
}

}  // namespace

extern "C" pid_t waitpid(pid_t pid, int* status, int options) {
  using Waitpid = pid_t (*)(pid_t, int*, int);
  static Waitpid real = reinterpret_cast<Waitpid>(dlsym(RTLD_NEXT, "waitpid"));
  pid_t ended = real(pid, status, options);
  if (ended > 0)
    kill(getpid(), SIGTERM);
  return ended;
}
