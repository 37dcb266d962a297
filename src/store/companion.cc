// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/companion.h"

#include <errno.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/status.h"

extern char** environ;

std::vector<std::string> companion_add_args(const std::string& tool,
                                            const FormatSettings& settings,
                                            const std::string& format_id) {
  return { tool, "-P", settings.printer_name, "-n", settings.format_name,
           "-w", std::to_string(settings.width_mm),
           "-h", std::to_string(settings.height_mm),
           "-specid", format_id, "-show", "1" };
}

std::vector<std::string> companion_delete_args(
    const std::string& tool, const FormatSettings& settings) {
  return { tool, "-P", settings.printer_name, "-d", settings.format_name,
           "-show", "1" };
}

int run_companion(const std::vector<std::string>& args, int* error) {
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  // Not posix_spawn: its child resets each signal's disposition with a
  // system call of its own. This tool sets no signal handlers, so a vfork
  // child that only calls execve is enough. Until then it shares this
  // process's memory, which is how a failed execve hands back its errno.
  volatile int exec_error = 0;
  pid_t pid = vfork();
  if (pid == 0) {
    execve(argv[0], argv.data(), environ);
    exec_error = errno;
    _exit(127);
  }
  if (pid < 0) {
    *error = errno;
    return kStoreCompanionNotStarted;
  }
  int status;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR)
      return kStoreCompanionFailed;
  }
  if (exec_error != 0) {
    *error = exec_error;
    return kStoreCompanionNotStarted;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ?
      kStoreDone : kStoreCompanionFailed;
}
