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

const int kStopSignals[] = { SIGTERM, SIGHUP, SIGINT };
// How often the wait looks whether the companion has ended even without
// its SIGCHLD, which a parent that ignores SIGCHLD never gets.
const struct timespec kPoll = { 0, 100 * 1000 * 1000 };
const struct timespec kNoWait = { 0, 0 };

// Starts the companion with |argv|, with the signal mask |mask| and the
// default action for a file too large, which this process ignores.
// Returns 0 or the errno.
int spawn_companion(char* const* argv, const sigset_t& mask, pid_t* pid) {
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGXFSZ);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &mask);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  // The C library reports a program that cannot be started as the
  // spawn's own error.
  int error = posix_spawn(pid, argv[0], nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  return error;
}

}  // namespace

StoreStatus run_companion(const std::vector<std::string>& args,
                          StoreFailure* failure) {
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  // The wait takes SIGCHLD and the stop signals the caller leaves to
  // their actions, blocked from before the companion starts until it is
  // reaped: none is lost, and none reaches another process that took its
  // pid.
  sigset_t mask, waited;
  sigprocmask(SIG_SETMASK, nullptr, &mask);
  sigemptyset(&waited);
  sigaddset(&waited, SIGCHLD);
  for (int signal_number : kStopSignals) {
    struct sigaction action;
    sigaction(signal_number, nullptr, &action);
    if (action.sa_handler != SIG_IGN && !sigismember(&mask, signal_number))
      sigaddset(&waited, signal_number);
  }
  sigprocmask(SIG_BLOCK, &waited, nullptr);
  pid_t pid;
  int spawn_error = spawn_companion(argv.data(), mask, &pid);
  int wait_error = 0, status = 0, stop = 0;
  while (spawn_error == 0) {
    pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended != 0) {
      wait_error = ended < 0 ? errno : 0;
      break;
    }
    int signal_number = sigtimedwait(&waited, nullptr, &kPoll);
    // Told to stop: passed on; the request ends once the companion has.
    if (signal_number > 0 && signal_number != SIGCHLD) {
      stop = stop != 0 ? stop : signal_number;
      kill(pid, signal_number);
    }
  }
  // A stop signal that came after the last wait would end this process
  // the moment the mask is restored, before the request lets its lock go.
  for (int signal_number; spawn_error == 0 &&
       (signal_number = sigtimedwait(&waited, nullptr, &kNoWait)) > 0;) {
    if (signal_number != SIGCHLD && stop == 0)
      stop = signal_number;
  }
  sigprocmask(SIG_SETMASK, &mask, nullptr);
  failure->path = args[0];
  if (stop != 0) {
    failure->signal = stop;
    return kStoreStopped;
  }
  if (spawn_error != 0) {
    failure->error = spawn_error;
    return kStoreCompanionNotStarted;
  }
  if (wait_error != 0) {
    failure->error = wait_error;
    return kStoreCompanionFailed;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return kStoreDone;
  failure->exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
  failure->signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return kStoreCompanionFailed;
}
