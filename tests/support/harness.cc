// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness.h"

#include <errno.h>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <stdio.h>
#include <string.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>

#include <gtest/gtest.h>

#include "arg_vector.h"
#include "cli/tool.h"
#include "reference_edit.h"
#include "split_lines.h"

extern char** environ;

namespace {

// An unnamed file for what a run prints, closed in the programs it starts.
FILE* capture_file() {
  FILE* file = tmpfile();
  check(file != nullptr && fcntl(fileno(file), F_SETFD, FD_CLOEXEC) == 0,
        "tmpfile");
  return file;
}

// All that was written to |file|; closes it.
std::string captured(FILE* file) {
  std::string text = read_file("/proc/self/fd/" +
                               std::to_string(fileno(file)));
  fclose(file);
  return text;
}

// This process's environment with |env| ("NAME=value") in it: a variable
// given there replaces the one of the same name.
std::vector<std::string> environment_with(
    const std::vector<std::string>& env) {
  std::vector<std::string> all = env;
  for (char** e = environ; *e; ++e) {
    std::string name(*e, strcspn(*e, "=") + 1);
    if (std::none_of(env.begin(), env.end(), [&](const std::string& given) {
          return given.compare(0, name.size(), name) == 0;
        }))
      all.push_back(*e);
  }
  return all;
}

// Forks and runs |program| in the child with |out_fd| and |err_fd| as its
// standard output and error. posix_spawn has no portable chdir action
// here; fork gives full control.
pid_t spawn(const std::string& program, const std::vector<std::string>& args,
            const std::string& cwd, const std::vector<std::string>& env,
            const ChildSetup& in_child, int out_fd, int err_fd) {
  std::vector<std::string> environment = environment_with(env);
  std::vector<const char*> argv = arg_pointers(args),
      envp = arg_pointers(environment);
  pid_t pid = fork();
  check(pid >= 0, "fork");
  if (pid == 0) {
    int null_fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    dup2(null_fd, 0);
    dup2(out_fd, 1);
    dup2(err_fd, 2);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0)
      _exit(126);
    if (in_child)
      in_child();
    execve(program.c_str(), const_cast<char**>(argv.data()),
           const_cast<char**>(envp.data()));
    _exit(127);
  }
  return pid;
}

// How long a program a test started may take before it counts as hung.
const int kRunSeconds = 20;

// Whether |pid| ends within kRunSeconds; it is left to be waited for.
bool ends_in_time(pid_t pid) {
  // A descriptor that polls readable once the process has ended.
  int ended_fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (ended_fd < 0) {
    // Without one (an older kernel), the process is polled to the same
    // deadline; an error means there is nothing left to wait for.
    return wait_until([pid] {
      siginfo_t info = {};
      int got = waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT);
      return (got == 0 && info.si_pid == pid) || (got < 0 && errno != EINTR);
    }, kRunSeconds * 1000);
  }
  struct pollfd ended = { ended_fd, POLLIN, 0 };
  int ready;
  while ((ready = poll(&ended, 1, kRunSeconds * 1000)) < 0 &&
         errno == EINTR) {}
  close(ended_fd);
  return ready != 0;
}

// Waits for |pid| and returns its wait status. One still running after
// kRunSeconds fails the test and is killed, so that a hang costs seconds,
// not the test's whole time-out.
int wait_status(pid_t pid) {
  if (!ends_in_time(pid)) {
    ADD_FAILURE() << "pid " << pid << " still running after "
                  << kRunSeconds << " s";
    kill(pid, SIGKILL);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
  return status;
}

DriverFiles driver_files(const std::string& root,
                         const std::string& model_code) {
  std::string inf = root + "/" + model_code + "/bin/inf/";
  return { inf + "vt" + model_code + "func", inf + "mediainf" + model_code,
           inf + "vt" + model_code + "rc", inf + "PrintArea",
           root + "/" + model_code + "/bin/lpd/vtmediatoolcups_" + model_code };
}

// The value of |option| in the command line |argv|.
std::string option_value(const std::vector<std::string>& argv,
                         const std::string& option) {
  for (size_t i = 1; i + 1 < argv.size(); ++i) {
    if (argv[i] == option)
      return argv[i + 1];
  }
  return "";
}

void make_socket(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  struct sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof(address.sun_path));
  path.copy(address.sun_path, path.size());
  ASSERT_EQ(0, bind(fd, reinterpret_cast<struct sockaddr*>(&address),
                    sizeof(address)));
  close(fd);
}

}  // namespace

int wait_for(pid_t pid) {
  int status = wait_status(pid);
  if (WIFSIGNALED(status))
    return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

RunResult run_program(const std::string& program,
                      const std::vector<std::string>& args,
                      const std::string& cwd,
                      const std::vector<std::string>& env,
                      const ChildSetup& in_child) {
  FILE* out = capture_file();
  FILE* err = capture_file();
  int status = wait_status(spawn(program, args, cwd, env, in_child,
                                 fileno(out), fileno(err)));
  RunResult result;
  result.out = captured(out);
  result.err = captured(err);
  if (WIFEXITED(status))
    result.exit_status = WEXITSTATUS(status);
  else if (WIFSIGNALED(status))
    result.signal = WTERMSIG(status);
  return result;
}

int run_tool_here(const std::vector<std::string>& argv, const StoreEnv& env,
                  std::string* out) {
  fflush(stdout);
  FILE* capture = capture_file();
  int saved = dup(1);
  dup2(fileno(capture), 1);
  int status = run_tool(static_cast<int>(argv.size()),
                        arg_pointers(argv).data(), env);
  fflush(stdout);
  dup2(saved, 1);
  close(saved);
  *out = captured(capture);
  return status;
}

pid_t fork_tool(const std::vector<std::string>& argv, const StoreEnv& env,
                const ChildSetup& in_child) {
  std::vector<const char*> args = arg_pointers(argv);
  fflush(stdout);
  pid_t pid = fork();
  check(pid >= 0, "fork");
  if (pid == 0) {
    if (in_child)
      in_child();
    int status = run_tool(static_cast<int>(argv.size()), args.data(), env);
    fflush(stdout);
    _exit(status);
  }
  return pid;
}

Terminal::Terminal() : fd_(posix_openpt(O_RDWR | O_NOCTTY)) {
  check(fd_ >= 0 && grantpt(fd_) == 0 && unlockpt(fd_) == 0, "terminal");
  side_ = ptsname(fd_);
}

Terminal::~Terminal() { close(fd_); }

std::string Terminal::shown() const {
  std::string text;
  char buffer[512];
  struct pollfd ready = { fd_, POLLIN, 0 };
  for (ssize_t got; poll(&ready, 1, 200) > 0 &&
       (got = read(fd_, buffer, sizeof(buffer))) > 0;)
    text.append(buffer, got);
  return text;
}

ChildSetup as_nobody() {
  return [] {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 ||
        setuid(kNobody) != 0)
      _exit(125);
  };
}

void plant(const std::string& kind, const std::string& path,
           const std::string& target) {
  if (kind == "missing")
    return;
  if (kind == "link")
    ASSERT_EQ(0, symlink(target.c_str(), path.c_str()));
  else if (kind == "dangling link")
    ASSERT_EQ(0, symlink((target + "-nowhere").c_str(), path.c_str()));
  else if (kind == "hard link")
    ASSERT_EQ(0, link(target.c_str(), path.c_str()));
  else if (kind == "fifo")
    ASSERT_EQ(0, mkfifo(path.c_str(), 0666));
  else if (kind == "socket")
    make_socket(path);
  else if (kind == "stale file")
    write_file(path, "half a line of an interrupted r");
  else
    ASSERT_EQ(0, mkdir(path.c_str(), 0755));
  if (kind == "full directory")
    write_file(path + "/x", "x\n");
}

long long now_ms() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

bool wait_until(const std::function<bool()>& seen, int ms, int poll_us) {
  long long deadline = now_ms() + ms;
  while (!seen()) {
    if (now_ms() >= deadline)
      return false;
    usleep(static_cast<useconds_t>(poll_us));
  }
  return true;
}

DriverFiles lay_driver_tree(const std::string& root,
                            const std::string& model_code) {
  DriverFiles files = driver_files(root, model_code);
  make_dirs(root + "/" + model_code + "/bin/inf");
  make_dirs(root + "/" + model_code + "/bin/lpd");
  DriverFiles sample = driver_files(VT_SAMPLE_DRIVER, model_code);
  Contents contents = { "[General]\n[CustomTape]\n[End]\n", "# media\n",
                        "Copies=1\n", "# areas\n" };
  if (file_exists(sample.function_file)) {
    for (size_t i = 0; i < contents.size(); ++i)
      contents[i] = read_file(sample.all()[i]);
  }
  for (size_t i = 0; i < contents.size(); ++i)
    write_file(files.all()[i], contents[i]);
  write_file(files.companion, read_file(VT_STANDIN_COMPANION));
  check(chmod(files.companion.c_str(), 0755) == 0, "chmod companion");
  return files;
}

Contents after_add(const Contents& before, const std::string& id,
                   const std::string& name, const EnteredSizes& sizes) {
  std::string page_size = standin_page_size_line(
      id, name, sizes.fitted_width, sizes.fitted_height);
  return {
    reference_edit({ LineEdit::kInsertAfter, "[CustomTape]",
                     id + "/" + name + "\n" }, before[0] + page_size),
    before[1] + page_size + id + "/" + name + ":\t" + sizes.dots + "\n",
    before[2],
    before[3] + id + ":\t" + sizes.area + "\n",
  };
}

Contents after_delete(const Contents& before, const std::string& id,
                      const std::string& default_media) {
  return {
    reference_edit({ LineEdit::kDrop, id, "" }, before[0]),
    reference_edit({ LineEdit::kDrop, id, "" }, before[1]),
    reference_edit({ LineEdit::kReplace, id, default_media }, before[2]),
    reference_edit({ LineEdit::kDrop, id, "" }, before[3]),
  };
}

void Driver::use_copy_of_tool() {
  check(chmod(top().c_str(), 0755) == 0, "chmod " + top());
  tool_copy_ = top() + "/tool";
  write_file(tool_copy_, read_file(VT_TOOL_UNDER_TEST));
  check(chmod(tool_copy_.c_str(), 0755) == 0, "chmod " + tool_copy_);
}

void Driver::set_tool_copy_mode(mode_t mode) const {
  check(!tool_copy_.empty() && chmod(tool_copy_.c_str(), mode) == 0,
        "chmod " + tool_copy_);
}

std::string Driver::tool() const {
  return tool_copy_.empty() ? VT_TOOL_UNDER_TEST : tool_copy_;
}

RunResult Driver::run(const std::vector<std::string>& args,
                      std::vector<std::string> env,
                      const ChildSetup& in_child) {
  env.push_back("VT_STANDIN_LOG=" + log_path());
  RunResult result = run_program(tool(), argv(args), top(), env, in_child);
  if (result.exit_status == 0 && result.out.empty()) {
    EXPECT_EQ("", result.err) << "stderr of " << program_;
  }
  EXPECT_LE(std::count(result.err.begin(), result.err.end(), '\n'), 1)
      << result.err;
  EXPECT_EQ(0, result.signal);
  return result;
}

pid_t Driver::start(const std::vector<std::string>& args,
                    const std::string& output) const {
  std::string sink = output.empty() ? "/dev/null" : output;
  int fd = open(sink.c_str(),
                O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0644);
  check(fd >= 0, "open " + sink);
  pid_t pid = spawn(tool(), argv(args), top(),
                    { "VT_STANDIN_LOG=" + log_path() }, nullptr, fd, fd);
  close(fd);
  return pid;
}

std::vector<std::string> Driver::argv(
    const std::vector<std::string>& args) const {
  std::vector<std::string> argv = { program_ };
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

std::string Driver::copy_of_standin() const {
  std::string standin = root() + "/" + code_ + "/bin/real";
  make_dirs(standin);
  standin += "/vtmediatoolcups_" + code_;
  write_file(standin, read_file(VT_STANDIN_COMPANION));
  check(chmod(standin.c_str(), 0755) == 0, "chmod stand-in");
  return standin;
}

StoreEnv Driver::store_env(FileOps* ops) const {
  StoreEnv env;
  env.driver_root = root();
  env.files = ops;
  return env;
}

void Driver::write(const Contents& contents) const {
  for (size_t i = 0; i < contents.size(); ++i)
    write_file(files.all()[i], contents[i]);
}

Contents Driver::contents(int skip) const {
  Contents now;
  for (const std::string& path : files.all())
    now.push_back(now.size() == size_t(skip) ? "" : read_file(path));
  return now;
}

std::vector<std::string> Driver::temp_files() const {
  std::vector<std::string> left;
  for (const std::string& name : dir_entries(inf_dir())) {
    if (name.find(".$$$") != std::string::npos)
      left.push_back(name);
  }
  return left;
}

void Driver::expect_files(Contents expected,
                          const std::string& missing) const {
  std::vector<std::string> paths = files.all();
  if (expected.empty())
    expected = original;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (paths[i] == missing)
      EXPECT_FALSE(file_exists(paths[i])) << paths[i];
    else
      EXPECT_EQ(expected[i], read_file(paths[i])) << paths[i];
  }
  EXPECT_EQ(std::vector<std::string>(), temp_files());
}

std::vector<Contents> request_stages(const Contents& before,
                                     const std::vector<std::string>& argv,
                                     const std::string& format_id,
                                     const std::string& old_id,
                                     const std::string& default_media_line) {
  std::vector<Contents> stages = { before };
  if (!old_id.empty()) {
    Contents deleted = after_delete(before, old_id, default_media_line);
    for (int file : { 0, 2, 3, 1 }) {
      stages.push_back(stages.back());
      stages.back()[file] = deleted[file];
    }
  }
  if (format_id.empty())
    return stages;
  const struct {
    const char* program;
    const EnteredSizes& sizes;
  } adds[] = {
    { "vtmediatoollpr_txr580", kTape12x50 },
    { "vtmediatoollpr_txr580", kTape12x30 },
    { "vtmediatoollpr_rk210", kRoll62x50 },
  };
  std::string name = option_value(argv, "-n");
  for (const auto& add : adds) {
    if (argv[0] != add.program || option_value(argv, "-w") != add.sizes.width ||
        option_value(argv, "-h") != add.sizes.height)
      continue;
    Contents now = stages.back();
    Contents added = after_add(now, format_id, name, add.sizes);
    std::string page_size = standin_page_size_line(
        format_id, name, add.sizes.fitted_width, add.sizes.fitted_height);
    now[0] += page_size;
    now[1] += page_size;
    stages.push_back(now);
    for (int file : { 0, 1, 3 }) {
      now[file] = added[file];
      stages.push_back(now);
    }
    return stages;
  }
  ADD_FAILURE() << "no entered sizes written out for this request";
  return stages;
}

int stage_of(const std::vector<Contents>& stages, const Contents& now) {
  auto at = std::find(stages.begin(), stages.end(), now);
  return at == stages.end() ? -1 : static_cast<int>(at - stages.begin());
}

void expect_finished_by_the_same_command(
    Driver& driver, const std::vector<std::string>& args,
    const std::string& old_id, const std::string& default_media_line) {
  RunResult again = driver.run(args);
  EXPECT_EQ(0, again.exit_status) << "run again: " << again.out;
  EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
  // Not compared with EXPECT_EQ: a failure would print megabytes.
  EXPECT_TRUE(driver.contents() == request_stages(
      driver.original, driver.argv(args), logged_format_id(driver.log_path()),
      old_id, default_media_line).back())
      << "run again: not one whole run of the command";
}

Contents without_lines_holding(const Contents& contents,
                               const std::string& text) {
  Contents out;
  for (const std::string& content : contents)
    out.push_back(reference_edit({ LineEdit::kDrop, text, "" }, content));
  return out;
}

std::string logged_format_id(const std::string& log_path) {
  const std::string option = "[-specid] [";
  std::string log = read_file(log_path);
  size_t at = log.rfind(option);
  if (at == std::string::npos)
    return "";
  at += option.size();
  return log.substr(at, log.find(']', at) - at);
}

std::string expect_entered_once(const Contents& contents,
                                const std::string& name) {
  typedef std::vector<std::string_view> Lines;
  std::vector<Lines> now;
  for (const std::string& content : contents)
    now.push_back(split_lines(content));
  auto holds = [](const std::string& text) {
    return [text](std::string_view line) {
      return line.find(text) != std::string_view::npos;
    };
  };
  auto starts = [](const std::string& text) {
    return [text](std::string_view line) { return line.rfind(text, 0) == 0; };
  };
  // Lines that name the format after an identifier.
  auto names = [&](std::string_view line) {
    return holds("/" + name + ":")(line) || holds("/" + name + "\n")(line);
  };
  auto count = [](const Lines& lines, auto test) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), test));
  };

  Lines page_sizes;
  for (std::string_view line : now[0]) {
    if (starts("*PageSize VtL")(line) && names(line))
      page_sizes.push_back(line);
  }
  if (page_sizes.size() != 1) {
    ADD_FAILURE() << "\"" << name << "\" has " << page_sizes.size()
                  << " \"*PageSize\" lines in the function file";
    return "";
  }
  const size_t id_at = sizeof("*PageSize ") - 1;
  std::string id(page_sizes[0].substr(
      id_at, page_sizes[0].find('/', id_at) - id_at));
  std::string entry = id + "/" + name + "\n";

  int sections = count(now[0], holds("[CustomTape]"));
  EXPECT_EQ(sections, count(now[0], [&](std::string_view line) {
    return line == entry;
  })) << name << ": one entry per [CustomTape]";
  EXPECT_EQ(1 + sections, count(now[0], names)) << name;
  EXPECT_EQ(1 + sections, count(now[0], holds(id))) << name;

  EXPECT_EQ(1, count(now[1], starts("*PageSize " + id + "/" + name + ":")))
      << name;
  EXPECT_EQ(1, count(now[1], starts(id + "/" + name + ":\t"))) << name;
  EXPECT_EQ(2, count(now[1], names)) << name;
  EXPECT_EQ(2, count(now[1], holds(id))) << name;

  EXPECT_EQ(0, count(now[2], holds(id))) << name;
  EXPECT_EQ(1, count(now[3], starts(id + ":\t"))) << name;
  EXPECT_EQ(1, count(now[3], holds(id))) << name;
  return id;
}

ScopedEnv::ScopedEnv(const std::string& name, const std::string& value)
    : name_(name) {
  if (const char* old = getenv(name.c_str()))
    old_ = old;
  setenv(name.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (old_)
    setenv(name_.c_str(), old_->c_str(), 1);
  else
    unsetenv(name_.c_str());
}

HeldLock::HeldLock(const std::string& data_dir) {
  fd_ = ::open(data_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  EXPECT_LE(0, fd_) << data_dir;
  EXPECT_EQ(0, ::flock(fd_, LOCK_EX)) << data_dir;
}

void HeldLock::release() {
  if (fd_ >= 0)
    ::close(fd_);
  fd_ = -1;
}

std::vector<std::string> preloading(const std::string& library) {
  // A sanitizer runtime must otherwise be the first library loaded.
  const char* asan = getenv("ASAN_OPTIONS");
  return { "LD_PRELOAD=" + library,
           std::string("ASAN_OPTIONS=") + (asan ? asan : "") +
               ":verify_asan_link_order=0" };
}
