// SPDX-License-Identifier: GPL-2.0-or-later
// The least a request can cost: its companion runs and, in the tool's
// order, the passes over the driver files that the request needs, done as
// plainly as the system allows. It checks nothing, takes no lock, looks
// nothing up and edits nothing (a read-only pass reads the file through; a
// rewrite copies it to a temporary file with one line appended, syncs it
// and renames it over the file), so the tool cannot be faster than this.
// A yardstick for the benchmark, built and linked as the tool is; not part
// of the tool.
//
//   floor_run new|replace|delete INF_DIR MODEL COMPANION
//
// "delete" is a delete that finds its name, "new" an add of a name that is
// not there (the delete before it finds nothing), "replace" an add whose
// delete finds the name.

#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace {

const size_t kBlock = 64 * 1024;
char block[kBlock];

// Runs the companion tool for the add when |add|, else for the delete, as
// the tool does: an argument vector started with posix_spawn.
bool companion(const std::string& tool, bool add) {
  const char* add_args[] = { tool.c_str(), "-P", "TX-R580", "-n", "Bench 12",
                             "-w", "12", "-h", "50", "-specid",
                             "VtL_vtS12mm__080A03271A2B", "-show", "1",
                             nullptr };
  const char* delete_args[] = { tool.c_str(), "-P", "TX-R580", "-d",
                                "Bench 12", "-show", "1", nullptr };
  char* const* argv = const_cast<char* const*>(add ? add_args : delete_args);
  pid_t pid;
  int error = posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ);
  if (error != 0) {
    errno = error;
    return false;
  }
  int status;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR)
      return false;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return true;
  fprintf(stderr, "floor_run: %s failed (status 0x%x)\n", argv[0], status);
  errno = 0;  // reported here, not again by main
  return false;
}

// A read-only pass: a lookup, or the check that a new identifier is free.
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
  ssize_t got = 0;
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
  if (kind != "new" && kind != "replace" && kind != "delete") {
    fprintf(stderr, "floor_run: unknown request %s\n", kind.c_str());
    return 2;
  }
  std::string function = inf + "/vt" + model + "func";
  std::string media = inf + "/mediainf" + model;
  std::string resource = inf + "/vt" + model + "rc";
  std::string area = inf + "/PrintArea";

  // The delete, which an add makes first: the companion's delete, then the
  // lookups of the name in the function and media-information files.
  bool ok = companion(tool, false) && read_through(function) &&
      read_through(media);
  // A name found goes from the four files, the media-information file,
  // which names the format, last.
  if (kind != "new") {
    ok = ok && rewrite(function) && rewrite(resource) && rewrite(area) &&
        rewrite(media);
  }
  // The add: the new identifier must not stand in the media-information
  // file already; then the companion's add, the check that it entered the
  // format in the function and media-information files, and the three
  // files' new lines.
  if (kind != "delete") {
    ok = ok && read_through(media) && companion(tool, true) &&
        read_through(function) && read_through(media) &&
        rewrite(function) && rewrite(media) && rewrite(area);
  }
  // The renames made durable, as the tool does before it lets go of the
  // directory.
  int dir = open(inf.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ok = ok && dir >= 0 && fsync(dir) == 0;
  if (dir >= 0)
    close(dir);
  if (!ok) {
    if (errno != 0)
      fprintf(stderr, "floor_run: %s\n", strerror(errno));
    return 1;
  }
  return 0;
}
