// SPDX-License-Identifier: GPL-2.0-or-later
// Runs killed with SIGKILL at random moments while they rewrite data files
// of several megabytes: every file must afterwards be whole, in its old or
// its new content, and the next run must work normally, clearing what the
// killed run left.

#include <errno.h>
#include <malloc.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

const int kKills = 24;
const std::vector<std::string> kAdd = { "-P", "TX-R580", "-n", "Killed",
                                        "-w", "12", "-h", "50" };

// Lines of the kind the file holds, |bytes| of them in all.
std::string padding(const std::string& prefix, const std::string& suffix,
                    size_t bytes) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i)
    text += prefix + std::to_string(i) + suffix;
  return text;
}

// The sample files grown to several megabytes, with "[CustomTape]"
// sections at the start and deep inside the function file.
Contents large_contents(const Contents& sample) {
  Contents large = sample;
  large[0] += padding("*% option table line ", " of the driver\n", 3 << 20) +
      "[CustomTape]\n" +
      padding("*% more of the table ", " of the driver\n", 3 << 20);
  large[1] += padding("_vtS12mm__/Stock label ", ":\t70\t707\n", 4 << 20);
  large[3] += padding("Area", ":\t0.00\t0.00\t28.00\t283.03\n", 3 << 20);
  return large;
}

// How long a run, or what a killed one left running, may take before it
// counts as hung.
const int kHungMs = 20000;

// The killed tool's children (the companion tool) live on; they are this
// process's now, and the files are looked at only after they are done.
void wait_for_orphans() {
  bool none_left = wait_until([] {
    pid_t ended;
    while ((ended = waitpid(-1, nullptr, WNOHANG)) > 0) {}
    return ended < 0 && errno != EINTR;
  }, kHungMs, 1000);
  if (!none_left)
    ADD_FAILURE() << "the killed run's companion still runs";
}

// Polls until |seen| holds, or the run |pid| has ended (or hung) without
// it. The
// run is left to be waited for, so that its pid stays its own. Whether it
// has ended is read before |seen| is asked: what the run did before it
// ended shows then, so a last rename is never missed, though a
// temporary file may have come and gone between two polls.
bool await(pid_t pid, const std::function<bool()>& seen) {
  bool was_seen = false;
  wait_until([&] {
    siginfo_t info = {};
    bool ended = waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == pid;
    was_seen = seen();
    return was_seen || ended;
  }, kHungMs, 100);
  return was_seen;
}

// For a failure message: the stages each file of |now| matches, and its
// size, file by file.
std::string describe_files(const std::vector<Contents>& stages,
                           const Contents& now) {
  std::string text;
  for (size_t file = 0; file < now.size(); ++file) {
    text += "file " + std::to_string(file) + " (" +
        std::to_string(now[file].size()) + " bytes) matches stages [";
    for (size_t i = 0; i < stages.size(); ++i) {
      if (stages[i][file] == now[file])
        text += " " + std::to_string(i);
    }
    text += " ]; ";
  }
  return text;
}

ino_t inode_of(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(Interruption, KilledRunsLeaveEveryFileWholeAndTheNextRunWorks) {
  ASSERT_EQ(0, prctl(PR_SET_CHILD_SUBREAPER, 1));
  // The checks build many strings of megabytes: keep them on the heap.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  // Kept in memory where there is room: every run here writes tens of
  // megabytes, and the kills must land within the tool's own work.
  std::unique_ptr<ScopedEnv> in_memory;
  if (access("/dev/shm", W_OK) == 0)
    in_memory.reset(new ScopedEnv("TMPDIR", "/dev/shm"));
  Driver driver(kTape, "txr580");
  driver.lay(large_contents(driver.original));
  const std::string& area = driver.files.print_area;
  auto rewriting = [&driver] { return !driver.temp_files().empty(); };

  // How long a whole run takes here, and its rewrites from the first
  // temporary file to the last rename, decide when to kill: the quickest
  // of a few runs, since the first one finds nothing cached. A run whose
  // temporary files all came and went between two polls is not timed.
  long long run_ms = 0, rewrite_ms = 0;
  for (int timed = 0, tries = 0; timed < 3 && tries < 30; ++tries) {
    driver.restore();
    ino_t old_area = inode_of(area);
    long long start = now_ms();
    pid_t pid = driver.start(kAdd);
    bool seen = await(pid, rewriting);
    long long rewrite_start = now_ms();
    ASSERT_TRUE(await(pid, [&] {
      return inode_of(area) != old_area;
    })) << "the run never replaced the imageable-area file";
    long long renamed = now_ms();
    ASSERT_EQ(0, wait_for(pid));
    long long took = now_ms() - start;
    run_ms = tries == 0 ? took : std::min(run_ms, took);
    if (seen) {
      took = renamed - rewrite_start;
      rewrite_ms = timed++ == 0 ? took : std::min(rewrite_ms, took);
    }
  }

  unsigned seed = std::random_device()();
  RecordProperty("seed", std::to_string(seed));
  RecordProperty("run_ms", std::to_string(run_ms));
  RecordProperty("rewrite_ms", std::to_string(rewrite_ms));
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> within(0, 1);
  std::vector<int> stages_seen(5, 0);
  int temp_files_seen = 0;

  for (int i = 0; i < kKills; ++i) {
    driver.restore();
    write_file(driver.log_path(), "");
    // Every other kill comes at any moment of the run, the others while it
    // rewrites, which the timing alone would hit too rarely on a loaded
    // machine. Each kind is spread evenly over its span; the first kill
    // while it rewrites comes as soon as a temporary file shows, so that
    // one lands within a rewrite however late the sleeps wake.
    bool anywhere = i % 2 == 0;
    double at = i == 1 ? 0 : (i / 2 + within(random)) / (kKills / 2);
    long long delay_us = static_cast<long long>(
        at * (anywhere ? run_ms : rewrite_ms) * 1000);
    SCOPED_TRACE("kill " + std::to_string(i) + " " +
                 std::to_string(delay_us) + " us after " +
                 (anywhere ? "the start" : "the first rewrite began") +
                 ", seed " + std::to_string(seed));

    pid_t pid = driver.start(kAdd);
    if (anywhere || await(pid, rewriting)) {
      if (delay_us > 0)
        usleep(static_cast<useconds_t>(delay_us));
      kill(pid, SIGKILL);
    }
    wait_for(pid);
    wait_for_orphans();

    if (!driver.temp_files().empty())
      ++temp_files_seen;
    std::vector<Contents> stages = request_stages(
        driver.original, driver.argv(kAdd),
        logged_format_id(driver.log_path()));
    Contents now = driver.contents();
    int stage = stage_of(stages, now);
    EXPECT_NE(-1, stage) << "a data file is neither old nor new: "
                         << describe_files(stages, now);
    if (stage >= 0)
      ++stages_seen[stage];

    expect_finished_by_the_same_command(driver, kAdd);
  }
  prctl(PR_SET_CHILD_SUBREAPER, 0);

  std::string seen;
  for (int count : stages_seen)
    seen += std::to_string(count) + " ";
  RecordProperty("stages_seen", seen);
  RecordProperty("temp_files_seen", std::to_string(temp_files_seen));
  // The kills must have caught runs in the middle of a rewrite, or the
  // test proved nothing.
  EXPECT_LT(0, temp_files_seen) << "stages seen: " << seen;
}

}  // namespace
