// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/companion.h"

#include <errno.h>
#include <signal.h>
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

namespace {

// The companion a stop signal is passed on to; one runs at a time.
volatile pid_t g_companion = 0;

void pass_on(int signal_number) {
  if (g_companion > 0)
    kill(g_companion, signal_number);
}

const int kStopSignals[] = { SIGTERM, SIGHUP, SIGINT };

// While one lives, a stop signal goes on to the companion, and the tool
// stays to see it end and let the lock go with it.
class PassStopSignals {
 public:
  explicit PassStopSignals(pid_t pid) {
    g_companion = pid;
    struct sigaction action = {};
    action.sa_handler = pass_on;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < sizeof(kStopSignals) / sizeof(int); ++i)
      sigaction(kStopSignals[i], &action, &saved_[i]);
  }
  ~PassStopSignals() {
    for (size_t i = 0; i < sizeof(kStopSignals) / sizeof(int); ++i)
      sigaction(kStopSignals[i], &saved_[i], nullptr);
    g_companion = 0;
  }

 private:
  struct sigaction saved_[sizeof(kStopSignals) / sizeof(int)];
};

}  // namespace

StoreStatus run_companion(const std::vector<std::string>& args, int lock_fd,
                          StoreFailure* failure) {
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  // The companion holds the lock too, so that no other run changes the
  // files under it, whatever ends this one. It gets the default action
  // for a file too large, which this process ignores.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, lock_fd, lock_fd);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGXFSZ);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  // The C library reports a program that cannot be started as the
  // spawn's own error.
  pid_t pid;
  int spawn_error = posix_spawn(&pid, argv[0], &actions, &attributes,
                                argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  failure->path = args[0];
  if (spawn_error != 0) {
    failure->error = spawn_error;
    return kStoreCompanionNotStarted;
  }
  int status;
  {
    PassStopSignals passing(pid);
    while (waitpid(pid, &status, 0) < 0) {
      if (errno != EINTR) {
        failure->error = errno;
        return kStoreCompanionFailed;
      }
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return kStoreDone;
  failure->exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
  failure->signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return kStoreCompanionFailed;
}
