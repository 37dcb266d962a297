// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/companion.h"

#include <errno.h>
#include <spawn.h>
#include <sys/wait.h>

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

StoreStatus run_companion(const std::vector<std::string>& args,
                          StoreFailure* failure) {
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  // The C library reports a program that cannot be started as the
  // spawn's own error.
  pid_t pid;
  int spawn_error = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(),
                                environ);
  failure->path = args[0];
  if (spawn_error != 0) {
    failure->error = spawn_error;
    return kStoreCompanionNotStarted;
  }
  int status;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      failure->error = errno;
      return kStoreCompanionFailed;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return kStoreDone;
  failure->exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
  failure->signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return kStoreCompanionFailed;
}
