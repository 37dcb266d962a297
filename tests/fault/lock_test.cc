// SPDX-License-Identifier: GPL-2.0-or-later
// Runs on one model take turns through a lock on its data directory; runs
// on different models do not wait for each other, and a run that cannot
// get the lock in time fails without changing anything.

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <new>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

const int kRuns = 8;

std::vector<std::string> add_args(const std::string& name) {
  return { "-P", "TX-R580", "-n", name, "-w", "12", "-h", "50" };
}

// Waits up to 10 s for the file at |path| to hold |text|; false when it
// does not by then.
bool wait_for_text(const std::string& path, const std::string& text) {
  return wait_until([&] {
    return read_file(path).find(text) != std::string::npos;
  }, 10000);
}

// A companion script's wait while |hold| is there, given up after about
// 30 s so that a companion a failed test left behind does not loop on.
std::string hold_loop(const std::string& hold) {
  return "i=0; while [ -e '" + hold + "' ] && [ $i -lt 3000 ]; do "
      "sleep 0.01; i=$((i + 1)); done";
}

// Replaces the data directory of |driver| as a reinstall or a restore
// does: the old one renamed away to |*old_dir|, a copy in its place.
void replace_data_dir(const Driver& driver, std::string* old_dir) {
  *old_dir = driver.inf_dir() + ".old";
  std::filesystem::rename(driver.inf_dir(), *old_dir);
  std::filesystem::copy(*old_dir, driver.inf_dir(),
                        std::filesystem::copy_options::recursive);
}

// The files of |driver| as they stand in the directory |dir|.
Contents contents_in(const Driver& driver, const std::string& dir) {
  Contents now;
  for (const std::string& path : driver.files.all())
    now.push_back(read_file(dir + path.substr(driver.inf_dir().size())));
  return now;
}

TEST(Locking, ConcurrentAddsLeaveEveryNameOnce) {
  // Every run rewrites the same files; unless they take turns, one run's
  // rewrite loses what another entered. (Two runs of one name are the
  // next test's.)
  Driver driver(kTape, "txr580");
  // Every run starts before any is waited for, so that they overlap.
  std::vector<std::string> names;
  std::vector<pid_t> pids;
  for (int i = 0; i < kRuns; ++i) {
    names.push_back("Run " + std::to_string(i + 1));
    pids.push_back(driver.start(add_args(names[i]),
                                driver.top() + "/out" + std::to_string(i)));
  }
  for (int i = 0; i < kRuns; ++i) {
    EXPECT_EQ(0, wait_for(pids[i])) << names[i];
    EXPECT_EQ("", read_file(driver.top() + "/out" + std::to_string(i)));
  }
  const Contents now = driver.contents();
  Contents rest = now;
  for (const std::string& name : names) {
    std::string id = expect_entered_once(now, name);
    if (!id.empty())
      rest = without_lines_holding(rest, id);
  }
  // Nothing else was lost or changed.
  EXPECT_EQ(driver.original, rest);
  EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
}

// Counts the locks taken; fails nothing.
class LockCounter : public FaultyFileOps {
 public:
  int flock(int fd, int operation) override {
    int result = FaultyFileOps::flock(fd, operation);
    if (result == 0 && (operation & LOCK_EX))
      ++locks_taken;
    return result;
  }
  int locks_taken = 0;
};

TEST(Locking, AddRequestTakesTheLockOnceForBothSteps) {
  // Each add first deletes an earlier format of its name; unless both
  // steps sit under one lock, two runs of one name can each miss the
  // other's format and leave the name twice.
  Driver driver(kTape, "txr580");
  LockCounter counter;
  std::string out;
  EXPECT_EQ(0, run_tool_here(driver.argv(add_args("Once")),
                             driver.store_env(&counter), &out));
  EXPECT_EQ(1, counter.locks_taken);
}

// On a terminal a person is also told why nothing happens yet, once.
TEST(Locking, HeldLockFailsTheRunAfterTheTimeoutChangingNothing) {
  for (bool on_terminal : { false, true }) {
    SCOPED_TRACE(on_terminal ? "on a terminal" : "to a file");
    Driver driver(kTape, "txr580");
    ScopedEnv log_env("VT_STANDIN_LOG", driver.log_path());
    HeldLock other_run(driver.inf_dir());
    Terminal terminal;
    const std::string dir = driver.inf_dir();
    const int kTimeoutMs = 300;
    StoreEnv env = driver.store_env();
    env.lock_timeout_ms = kTimeoutMs;
    std::vector<std::string> waits;
    // Where the test does not ask to be told, the tool tells a terminal.
    if (!on_terminal)
      env.on_lock_wait = [&waits](const std::string& d) { waits.push_back(d); };
    // What the run says on standard error goes to the terminal or a file.
    std::string err_path = on_terminal ? terminal.side() :
        driver.top() + "/stderr";
    int saved_err = dup(2);
    int err_fd = open(err_path.c_str(), O_WRONLY | O_CREAT | O_NOCTTY, 0644);
    dup2(err_fd, 2);
    close(err_fd);
    std::string out;
    long long start = now_ms();
    int status = run_tool_here(driver.argv(add_args("Late")), env, &out);
    long long waited = now_ms() - start;
    dup2(saved_err, 2);
    close(saved_err);

    EXPECT_EQ(255, status);
    EXPECT_EQ(std::string(strerror(EWOULDBLOCK)) + "\n", out);
    std::string gave_up = std::string(kTape) + ": " + dir +
        ": another process holds the lock; gave up after 0.3 s";
    if (on_terminal) {
      // The terminal ends its lines with a carriage return too.
      EXPECT_EQ(std::string(kTape) + ": waiting for the lock on " + dir +
                "\r\n" + gave_up + "\r\n", terminal.shown());
    } else {
      EXPECT_EQ(std::vector<std::string>{ dir }, waits) << "told once";
      EXPECT_EQ(gave_up + "\n", read_file(err_path));
    }
    EXPECT_LE(kTimeoutMs, waited);
    EXPECT_GT(kTimeoutMs + 5000, waited);
    driver.expect_files();
    EXPECT_EQ("", driver.companion_log())
        << "the companion tool ran without the lock";
  }
}

TEST(Locking, RunOnAnotherModelDoesNotWait) {
  // Both models in one driver root, so that a lock on the root would show.
  Driver roll("vtmediatoollpr_rk210", "rk210");
  lay_driver_tree(roll.root(), "txr580");
  HeldLock other_run(roll.root() + "/txr580/bin/inf");

  long long start = now_ms();
  RunResult run = roll.run({ "-P", "RK-210", "-n", "Parcel", "-w", "62",
                             "-h", "50" });
  long long took = now_ms() - start;

  EXPECT_EQ(0, run.exit_status);
  EXPECT_EQ("", run.out);
  // A run that waited would take the whole 30 s lock timeout.
  EXPECT_GT(10000, took);
  expect_entered_once(roll.contents(), "Parcel");
}

TEST(Locking, LockLivesUntilTheCompanionOfAKilledRunHasEnded) {
  for (int signal_number : { SIGTERM, SIGKILL }) {
    SCOPED_TRACE(strsignal(signal_number));
    Driver driver(kTape, "txr580");
    // The stand-in does the adding, from where it finds the driver files.
    std::string standin = driver.root() + "/txr580/bin/real";
    make_dirs(standin);
    standin += "/vtmediatoolcups_txr580";
    write_file(standin, read_file(driver.files.companion));
    ASSERT_EQ(0, chmod(standin.c_str(), 0755));
    std::string hold = driver.top() + "/hold";
    std::string events = driver.top() + "/events";
    write_file(hold, "");
    // An add's companion waits while |hold| is there; each run logs its
    // start (once it is ready for the signal) and end.
    driver.use_companion_script(
        "trap 'echo \"end $3 $4\" >> \"" + events + "\"; exit 143' TERM\n"
        "echo \"start $3 $4\" >> '" + events + "'\n"
        "case \"$*\" in *-specid*)\n"
        "  " + hold_loop(hold) + ";;\n"
        "esac\n'" + standin + "' \"$@\"; status=$?\n"
        "echo \"end $3 $4\" >> '" + events + "'\nexit $status\n");

    pid_t first = driver.start(add_args("First"));
    ASSERT_TRUE(wait_for_text(events, "start -n First"));
    ASSERT_EQ(0, kill(first, signal_number));
    wait_for(first);
    pid_t second = driver.start(add_args("Second"));
    usleep(300 * 1000);
    if (signal_number == SIGKILL) {
      int status;
      EXPECT_EQ(0, waitpid(second, &status, WNOHANG)) << "did not wait";
      driver.expect_files();
    }
    unlink(hold.c_str());
    EXPECT_EQ(0, wait_for(second));
    // Nothing of the second run before the first one's companion ended.
    std::string log = read_file(events);
    EXPECT_LT(log.find("end -n First"), log.find("Second")) << log;

    EXPECT_EQ(0, driver.run(add_args("First")).exit_status);
    const Contents now = driver.contents();
    expect_entered_once(now, "First");
    expect_entered_once(now, "Second");
  }
}

TEST(Locking, LockGoesWithTheRequestNotWithWhatItsCompanionLeftRunning) {
  Driver driver(kTape, "txr580");
  // The process left behind holds every descriptor the companion had.
  driver.use_companion_script("sleep 5 </dev/null >/dev/null 2>&1 &\n");
  EXPECT_EQ(0, driver.run(add_args("First")).exit_status);
  StoreEnv env = driver.store_env();
  env.lock_timeout_ms = 300;
  std::string out;
  EXPECT_EQ(0, run_tool_here(driver.argv(add_args("Second")), env, &out))
      << out;
}

// A run that ends by a stop signal lets the lock go first, though a
// child of its companion, which shares the lock's descriptor, lives on.
TEST(Locking, StoppedRunLetsTheLockGoThoughItsCompanionsChildLivesOn) {
  const struct {
    const char* what;
    const char* child_runs;  // how the companion leaves its child
    bool at_reaping;
  } cases[] = {
    // The companion, a shell, dies of the signal passed on to it.
    { "foreground child of a stopped companion", "\n", false },
    // A preloaded wait signals the tool as it reaps the companion, before
    // the wait can look for signals again.
    { "signal as the companion is reaped", " &\n", true },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kTape, "txr580");
    std::string child = driver.top() + "/child";
    driver.use_companion_script(
        "[ -e '" + child + "' ] || sh -c 'echo $$ > \"$0\"; exec sleep 20' '" +
        child + "' </dev/null >/dev/null 2>&1" + c.child_runs);
    if (c.at_reaping) {
      RunResult first = run_program(driver.tool(),
                                    driver.argv(add_args("First")),
                                    driver.top(),
                                    preloading(VT_SIGNAL_ON_REAP));
      EXPECT_EQ(SIGTERM, first.signal) << first.err;
      ASSERT_TRUE(wait_for_text(child, "\n"));
    } else {
      pid_t run = driver.start(add_args("First"));
      ASSERT_TRUE(wait_for_text(child, "\n"));
      ASSERT_EQ(0, kill(run, SIGTERM));
      EXPECT_EQ(128 + SIGTERM, wait_for(run));
    }
    driver.expect_files();
    StoreEnv env = driver.store_env();
    env.lock_timeout_ms = 2000;
    std::string out;
    EXPECT_EQ(0, run_tool_here(driver.argv(add_args("Second")), env, &out))
        << out;
    // An empty or unreadable file would make kill(0) end this test's
    // whole process group.
    pid_t child_pid = atoi(read_file(child).c_str());
    ASSERT_LT(0, child_pid) << "no pid in " << child;
    kill(child_pid, SIGKILL);
  }
}

// Runs out of memory at the first temporary file after a rename, as an
// allocation failing there would, and notes what the run does on its way
// out through the unwinding.
class OutOfMemoryAfterARename : public FaultyFileOps {
 public:
  int open(int dir, const char* name, int flags, mode_t mode) override {
    if (renamed && strstr(name, ".$$$") != nullptr)
      throw std::bad_alloc();
    int fd = FaultyFileOps::open(dir, name, flags, mode);
    if (flags & O_DIRECTORY)
      dir_fd = fd;
    return fd;
  }
  int rename(int dir, const char* from, const char* to) override {
    renamed = true;
    return FaultyFileOps::rename(dir, from, to);
  }
  int fsync(int fd) override {
    dir_synced = dir_synced || fd == dir_fd;
    return FaultyFileOps::fsync(fd);
  }
  int flock(int fd, int operation) override {
    unlocked = unlocked || (fd == dir_fd && operation == LOCK_UN);
    return FaultyFileOps::flock(fd, operation);
  }
  int dir_fd = -1;
  bool renamed = false, dir_synced = false, unlocked = false;
};

TEST(Locking, RunUnwindingAfterARenameSyncsTheDirectoryAndLetsTheLockGo) {
  Driver driver(kTape, "txr580");
  ScopedEnv log_env("VT_STANDIN_LOG", driver.log_path());
  OutOfMemoryAfterARename files;
  std::string out;
  EXPECT_EQ(255, run_tool_here(driver.argv(kAddNew), driver.store_env(&files),
                               &out));
  EXPECT_EQ(std::string(strerror(ENOMEM)) + "\n", out);
  ASSERT_TRUE(files.renamed);
  EXPECT_TRUE(files.dir_synced);
  EXPECT_TRUE(files.unlocked);
  EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
}

TEST(Locking, StopSignalEndsTheRunOnceItsCompanionHasEnded) {
  Driver driver(kTape, "txr580");
  std::string hold = driver.top() + "/hold";
  std::string events = driver.top() + "/events";
  write_file(hold, "");
  // A companion that takes the signal passed on and still succeeds.
  driver.use_companion_script(
      "trap 'echo \"stopped $3\" >> \"" + events + "\"; exit 0' TERM\n"
      "echo \"start $3\" >> '" + events + "'\n" +
      hold_loop(hold) + "\n");
  // Replacing the sample's format: the delete's companion runs first.
  pid_t run = driver.start(kAddShelfEdge);
  ASSERT_TRUE(wait_for_text(events, "start"));
  ASSERT_EQ(0, kill(run, SIGTERM));
  EXPECT_EQ(128 + SIGTERM, wait_for(run));
  EXPECT_EQ("start -d\nstopped -d\n", read_file(events));
  driver.expect_files();
}

TEST(Locking, StopSignalTheCallerIgnoresIsNotPassedOn) {
  Driver driver(kTape, "txr580");
  std::string hold = driver.top() + "/hold";
  write_file(hold, "");
  // The stand-in takes a signal passed on, ignored by its caller or not.
  ScopedEnv log_env("VT_STANDIN_LOG", driver.log_path());
  ScopedEnv hold_env("VT_STANDIN_HOLD", hold);
  pid_t run = fork_tool(driver.argv(kAddNew), driver.store_env(), [] {
    signal(SIGTERM, SIG_IGN);
  });
  ASSERT_TRUE(wait_for_text(driver.log_path(), "[-d]"));
  ASSERT_EQ(0, kill(run, SIGTERM));
  usleep(300 * 1000);
  unlink(hold.c_str());
  EXPECT_EQ(0, wait_for(run));
  EXPECT_EQ(std::string::npos, driver.companion_log().find("{signal"))
      << driver.companion_log();
  expect_entered_once(driver.contents(), "New");
}

// The companion reaches the files by their path, the run by the
// directory it locked: once the path names another directory, the run
// changes nothing more, and runs after it work in the new one.
TEST(ReplacedDirectory, RunWhoseDirectoryIsReplacedMeanwhileFailsAndChangesNothingMore) {
  Driver driver(kTape, "txr580");
  std::string standin = driver.root() + "/txr580/bin/real";
  make_dirs(standin);
  standin += "/vtmediatoolcups_txr580";
  write_file(standin, read_file(driver.files.companion));
  ASSERT_EQ(0, chmod(standin.c_str(), 0755));
  std::string hold = driver.top() + "/hold";
  std::string events = driver.top() + "/events";
  write_file(hold, "");
  // The first run's delete waits while |hold| is there.
  driver.use_companion_script(
      "echo \"start $3 $4\" >> '" + events + "'\n"
      "case \"$3 $4\" in '-d First') " + hold_loop(hold) + ";; esac\n"
      "exec '" + standin + "' \"$@\"\n");
  std::string first_out = driver.top() + "/first";
  pid_t first = driver.start(add_args("First"), first_out);
  ASSERT_TRUE(wait_for_text(events, "start -d First"));
  std::string old_dir;
  replace_data_dir(driver, &old_dir);

  // A run started now locks the new directory, not the old one.
  std::string second_out = driver.top() + "/second";
  EXPECT_EQ(0, wait_for(driver.start(add_args("Second"), second_out)));
  int status;
  EXPECT_EQ(0, waitpid(first, &status, WNOHANG)) << "first run ended early";
  unlink(hold.c_str());
  EXPECT_EQ(255, wait_for(first));
  EXPECT_EQ(std::string(kTape) + ": vantrel/txr580/bin/inf: replaced during "
            "the run; run the command again\n", read_file(first_out));
  EXPECT_EQ("", read_file(second_out));
  EXPECT_EQ(std::string::npos, read_file(events).find("start -n First"))
      << "the first run went on to its add";
  EXPECT_EQ(driver.original, contents_in(driver, old_dir));
  const Contents now = driver.contents();
  std::string id = expect_entered_once(now, "Second");
  EXPECT_EQ(driver.original, without_lines_holding(now, id));
  EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
  for (const std::string& name : dir_entries(old_dir))
    EXPECT_EQ(std::string::npos, name.find(".$$$")) << name;
}

// Notes every call that names a file made after the lock was taken but
// through the locked directory's descriptor, the checks of the
// directory's own path aside.
class OutsideTheLockedDirectory : public FaultyFileOps {
 public:
  explicit OutsideTheLockedDirectory(const std::string& dir) : dir_(dir) {}
  int open(int dir, const char* name, int flags, mode_t mode) override {
    int fd = FaultyFileOps::open(dir, name, flags, mode);
    if (flags & O_DIRECTORY)
      opened_dir_ = fd;
    note("open", dir, name);
    return fd;
  }
  int flock(int fd, int operation) override {
    int result = FaultyFileOps::flock(fd, operation);
    if (result == 0 && (operation & LOCK_EX))
      locked_dir_ = opened_dir_;
    return result;
  }
  int statx(int dir, const char* name, int flags,
            struct statx* info) override {
    if (!(dir == AT_FDCWD && name == dir_))
      note("statx", dir, name);
    return FaultyFileOps::statx(dir, name, flags, info);
  }
  int rename(int dir, const char* from, const char* to) override {
    note("rename", dir, from);
    return FaultyFileOps::rename(dir, from, to);
  }
  int unlink(int dir, const char* name) override {
    note("unlink", dir, name);
    return FaultyFileOps::unlink(dir, name);
  }
  int rmdir(int dir, const char* name) override {
    note("rmdir", dir, name);
    return FaultyFileOps::rmdir(dir, name);
  }
  int access(int dir, const char* name, int mode) override {
    note("access", dir, name);
    return FaultyFileOps::access(dir, name, mode);
  }
  std::vector<std::string> outside;

 private:
  void note(const char* call, int dir, const char* name) {
    if (locked_dir_ >= 0 && (dir != locked_dir_ || strchr(name, '/')))
      outside.push_back(std::string(call) + " " + name);
  }
  std::string dir_;
  int opened_dir_ = -1;
  int locked_dir_ = -1;
};

TEST(ReplacedDirectory, EveryFileCallAfterTheLockGoesThroughTheLockedDirectory) {
  Driver driver(kTape, "txr580");
  // A planted temporary file and directory have the run unlink and rmdir.
  write_file(driver.temp_path(0), "");
  make_dirs(driver.temp_path(1));
  const std::vector<std::string> requests[] = {
    kAddShelfEdge, add_args("New"), { "-P", "TX-R580", "-d", "New" },
  };
  for (const std::vector<std::string>& args : requests) {
    OutsideTheLockedDirectory files(driver.inf_dir());
    std::string out;
    EXPECT_EQ(0, run_tool_here(driver.argv(args), driver.store_env(&files),
                               &out)) << out;
    EXPECT_EQ(std::vector<std::string>(), files.outside);
  }
}

TEST(ReplacedDirectory, RunWaitingForTheOldDirectorysLockStartsAgainOnTheNew) {
  Driver driver(kTape, "txr580");
  HeldLock old_lock(driver.inf_dir());
  pid_t run = driver.start(add_args("Patient"));
  usleep(300 * 1000);
  std::string old_dir;
  replace_data_dir(driver, &old_dir);
  HeldLock new_lock(driver.inf_dir());
  old_lock.release();
  // It now waits for whoever holds the new directory's lock.
  usleep(500 * 1000);
  int status;
  EXPECT_EQ(0, waitpid(run, &status, WNOHANG)) << "did not wait";
  new_lock.release();
  EXPECT_EQ(0, wait_for(run));
  EXPECT_EQ(driver.original, contents_in(driver, old_dir));
  expect_entered_once(driver.contents(), "Patient");
  EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
}

TEST(Locking, WaitingRunGoesOnOnceTheLockIsFree) {
  Driver driver(kTape, "txr580");
  HeldLock other_run(driver.inf_dir());

  pid_t pid = driver.start(add_args("Patient"));
  usleep(500 * 1000);
  int status;
  EXPECT_EQ(0, waitpid(pid, &status, WNOHANG)) << "did not wait";
  driver.expect_files();
  other_run.release();

  EXPECT_EQ(0, wait_for(pid));
  expect_entered_once(driver.contents(), "Patient");
}

}  // namespace
