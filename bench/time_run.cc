// SPDX-License-Identifier: GPL-2.0-or-later
// Runs one or more commands in turn and prints the wall time they took
// together, in seconds, the largest peak resident set of any of them (and
// of their children), in KiB, and the processor time (user and system)
// they used, in seconds:
//
//   time_run PROGRAM ARG... [--- PROGRAM ARG...]...
//
// Wall time to the microsecond, since a run on files of an ordinary size
// takes a few milliseconds. The commands' standard output goes to
// /dev/null; their standard error is kept. Exits 1 when a command cannot
// be started or does not exit with status 0 (the later ones are then not
// run).

#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <vector>

extern char** environ;

namespace {

double now_seconds() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec + now.tv_nsec / 1e9;
}

double seconds(const struct timeval& time) {
  return time.tv_sec + time.tv_usec / 1e6;
}

// Runs |argv| and waits; true when it exited with 0. |*max_rss| is raised
// to its peak resident set, its processor time added to |*cpu|.
bool run(std::vector<char*>* argv, posix_spawn_file_actions_t* actions,
         long* max_rss, double* cpu) {
  argv->push_back(nullptr);
  pid_t pid;
  int error = posix_spawnp(&pid, (*argv)[0], actions, nullptr, argv->data(),
                           environ);
  if (error != 0) {
    fprintf(stderr, "time_run: %s: %s\n", (*argv)[0], strerror(error));
    return false;
  }
  int status;
  struct rusage usage;
  while (wait4(pid, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      perror("time_run: wait4");
      return false;
    }
  }
  // The child's figure already takes in its own children's.
  if (usage.ru_maxrss > *max_rss)
    *max_rss = usage.ru_maxrss;
  *cpu += seconds(usage.ru_utime) + seconds(usage.ru_stime);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fprintf(stderr, "time_run: %s failed (status 0x%x)\n", (*argv)[0],
            status);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: time_run PROGRAM ARG... [--- PROGRAM ARG...]\n");
    return 2;
  }
  std::vector<std::vector<char*>> commands(1);
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "---") == 0)
      commands.emplace_back();
    else
      commands.back().push_back(argv[i]);
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);

  long max_rss = 0;
  double cpu = 0;
  double start = now_seconds();
  for (std::vector<char*>& command : commands) {
    if (command.empty() || !run(&command, &actions, &max_rss, &cpu))
      return 1;
  }
  double elapsed = now_seconds() - start;
  printf("%.6f %ld %.6f\n", elapsed, max_rss, cpu);
  return 0;
}
