// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/companion.h"

#include <errno.h>
#include <fcntl.h>
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
const int kStopSignalCount = sizeof(kStopSignals) / sizeof(kStopSignals[0]);

// The companion a stop signal goes on to, and the first one that came;
// one companion runs at a time.
volatile sig_atomic_t g_companion = 0;
volatile sig_atomic_t g_stop_signal = 0;

void pass_on(int signal_number) {
  int saved_errno = errno;
  if (g_stop_signal == 0)
    g_stop_signal = signal_number;
  if (g_companion > 0)
    kill(g_companion, signal_number);
  errno = saved_errno;
}

// Hands the stop signals this process does not ignore to pass_on for
// |pid|, keeping their actions in |saved|.
void pass_stop_signals_to(pid_t pid, struct sigaction* saved) {
  g_companion = pid;
  g_stop_signal = 0;
  struct sigaction action = {};
  action.sa_handler = pass_on;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < kStopSignalCount; ++i) {
    sigaction(kStopSignals[i], nullptr, &saved[i]);
    if (saved[i].sa_handler != SIG_IGN)
      sigaction(kStopSignals[i], &action, nullptr);
  }
}

void restore_stop_signals(const struct sigaction* saved) {
  for (int i = 0; i < kStopSignalCount; ++i)
    sigaction(kStopSignals[i], &saved[i], nullptr);
  g_companion = 0;
}

// Starts the companion with |argv|, holding |lock_fd| open across its
// exec, with the signal mask |mask| and the default action for a file too
// large, which this process ignores. Returns 0 or the errno.
int spawn_companion(char* const* argv, int lock_fd, const sigset_t& mask,
                    pid_t* pid) {
  int flags = fcntl(lock_fd, F_GETFD);
  if (flags < 0 || fcntl(lock_fd, F_SETFD, flags & ~FD_CLOEXEC) != 0)
    return errno;
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
  fcntl(lock_fd, F_SETFD, flags);
  return error;
}

}  // namespace

StoreStatus run_companion(const std::vector<std::string>& args, int lock_fd,
                          StoreFailure* failure) {
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  // The stop signals wait blocked while their actions change hands, so
  // none is lost and none reaches a companion already reaped.
  sigset_t stops, mask;
  sigemptyset(&stops);
  for (int signal_number : kStopSignals)
    sigaddset(&stops, signal_number);
  sigprocmask(SIG_BLOCK, &stops, &mask);
  pid_t pid;
  int spawn_error = spawn_companion(argv.data(), lock_fd, mask, &pid);
  failure->path = args[0];
  if (spawn_error != 0) {
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    failure->error = spawn_error;
    return kStoreCompanionNotStarted;
  }
  struct sigaction saved[kStopSignalCount];
  pass_stop_signals_to(pid, saved);
  sigprocmask(SIG_SETMASK, &mask, nullptr);
  siginfo_t ended;
  int wait_error = 0;
  while (waitid(P_PID, pid, &ended, WEXITED | WNOWAIT) != 0) {
    if (errno != EINTR) {
      wait_error = errno;
      break;
    }
  }
  sigprocmask(SIG_BLOCK, &stops, nullptr);
  restore_stop_signals(saved);
  int stop = g_stop_signal;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
  sigprocmask(SIG_SETMASK, &mask, nullptr);
  // Told to stop: the companion has ended, so this process may end too,
  // as it was asked, and the lock go with it.
  if (stop != 0)
    raise(stop);
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
