// SPDX-License-Identifier: GPL-2.0-or-later
// The least a request can cost in the order the companion tool relies on:
// its companion runs, and between them every read and every rewrite of the
// driver files that order calls for, done as plainly as the system allows.
// It checks nothing, takes no lock, looks nothing up and edits nothing (a
// rewrite is a copy with one line appended), so the tool cannot be faster
// than this. A yardstick for the benchmark, built and linked as the tool
// is; not part of the tool.
//
//   floor_run new|replace|delete INF_DIR MODEL COMPANION
//
// "new" is an add of a name that is not there (the delete finds nothing),
// "replace" an add whose delete finds the name, "delete" a delete that
// finds it.

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace {

const size_t kBlock = 64 * 1024;
char block[kBlock];

// Runs the companion tool for the add when |add|, else for the delete.
bool companion(const std::string& tool, bool add) {
  const char* add_args[] = { tool.c_str(), "-P", "TX-R580", "-n", "Bench 12",
                             "-w", "12", "-h", "50", "-specid",
                             "VtL_vtS12mm__080A03271A2B", "-show", "1",
                             nullptr };
  const char* delete_args[] = { tool.c_str(), "-P", "TX-R580", "-d",
                                "Bench 12", "-show", "1", nullptr };
  char* const* argv = const_cast<char* const*>(add ? add_args : delete_args);
  pid_t pid = vfork();
  if (pid == 0) {
    execve(argv[0], argv, environ);
    _exit(127);
  }
  int status;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
      WEXITSTATUS(status) == 0;
}

bool read_through(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return false;
  ssize_t got;
  while ((got = read(fd, block, kBlock)) > 0) {
  }
  close(fd);
  return got == 0;
}

bool rewrite(const std::string& path) {
  std::string temp = path + ".$$$";
  int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  int out = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                 0666);
  bool ok = in >= 0 && out >= 0;
  ssize_t got;
  while (ok && (got = read(in, block, kBlock)) > 0)
    ok = write(out, block, got) == got;
  const char line[] = "VtL_vtS12mm__080A03271A2B/Bench 12\n";
  ok = ok && got == 0 &&
      write(out, line, sizeof(line) - 1) == sizeof(line) - 1 &&
      fsync(out) == 0;
  if (out >= 0)
    ok = close(out) == 0 && ok;
  if (in >= 0)
    close(in);
  return ok && rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: floor_run new|replace|delete INF_DIR MODEL "
            "COMPANION\n");
    return 2;
  }
  std::string kind = argv[1], inf = argv[2], model = argv[3], tool = argv[4];
  std::string function = inf + "/vt" + model + "func";
  std::string media = inf + "/mediainf" + model;
  std::string resource = inf + "/vt" + model + "rc";
  std::string area = inf + "/PrintArea";

  bool ok = companion(tool, false);
  if (kind == "new") {
    ok = ok && read_through(function) && read_through(media);
  } else {
    ok = ok && read_through(function) && rewrite(function) &&
        read_through(media) && rewrite(media) && rewrite(resource) &&
        rewrite(area);
  }
  if (kind != "delete") {
    ok = ok && companion(tool, true) && rewrite(function) &&
        rewrite(media) && rewrite(area);
  }
  int dir = open(inf.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ok = ok && dir >= 0 && fsync(dir) == 0;
  if (dir >= 0)
    close(dir);
  if (!ok) {
    fprintf(stderr, "floor_run: %s\n", strerror(errno));
    return 1;
  }
  return 0;
}
