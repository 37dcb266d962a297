// SPDX-License-Identifier: GPL-2.0-or-later
// A driver file may hold a line longer than the memory a run can have.
// Running out is a failure like any other: the error line, exit status
// 255, the temporary file removed and no abort.

#include <stdio.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "cli/tool.h"
#include "fault_support.h"

namespace {

const size_t kLongLine = 40 << 20;
// Room above what the process already has: less than the reader needs
// for the long line, plenty for everything else.
const size_t kHeadroom = 24 << 20;

size_t address_space_in_use() {
  FILE* statm = fopen("/proc/self/statm", "r");
  unsigned long pages = 0;
  if (statm != nullptr) {
    if (fscanf(statm, "%lu", &pages) != 1)
      pages = 0;
    fclose(statm);
  }
  return pages * sysconf(_SC_PAGESIZE);
}

TEST(OutOfMemory, LineLongerThanTheMemoryLeftFailsTheRunCleanly) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer needs more address space than a limit "
                  "of this test leaves";
#endif
  Driver driver("vtmediatoollpr_txr580", "txr580");
  ScopedEnv log_env("VT_STANDIN_LOG", driver.log_path());
  Contents before = driver.original;
  before[3] += std::string(kLongLine, 'x') + "\n";
  driver.lay(before);
  std::string output = driver.top() + "/output";
  std::string errors = driver.top() + "/errors";
  const std::vector<std::string> argv = { "vtmediatoollpr_txr580", "-P", "q",
      "-n", "New", "-w", "12", "-h", "50" };
  std::vector<const char*> args;
  for (const std::string& arg : argv)
    args.push_back(arg.c_str());
  args.push_back(nullptr);
  StoreEnv env;
  env.driver_root = driver.root();

  // The limit is set in a child, so that it binds the whole run and
  // nothing else.
  fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max = address_space_in_use() + kHeadroom;
    if (freopen(output.c_str(), "w", stdout) == nullptr ||
        freopen(errors.c_str(), "w", stderr) == nullptr ||
        setrlimit(RLIMIT_AS, &limit) != 0)
      _exit(100);
    int status = run_tool(static_cast<int>(argv.size()), args.data(), env);
    fflush(stdout);
    _exit(status);
  }
  ASSERT_LT(0, pid);
  EXPECT_EQ(255, wait_for(pid));
  EXPECT_EQ("Cannot allocate memory\n", read_file(output));
  EXPECT_EQ("vtmediatoollpr_txr580: " + driver.files.print_area +
            ": Cannot allocate memory\n", read_file(errors));
  EXPECT_EQ(std::vector<std::string>(), temp_files_left(driver.files));
  // The add got as far as the imageable-area file.
  std::vector<Stage> stages = add_stages(before, argv,
                                         logged_format_id(driver.log_path()));
  EXPECT_EQ(3, stage_of(stages, driver.contents()));
}

}  // namespace
