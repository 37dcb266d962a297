// SPDX-License-Identifier: GPL-2.0-or-later
// Every allocation of an add request is made to fail in turn, the first,
// the second, and so on until a run gets through: each run must end with
// the error line and exit status 255, never an abort, and leave no
// temporary file. The replaced operator new below is this program's only.

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <new>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

long g_fail_at = 0;  // the allocation to fail, counting from 1; 0 never
long g_allocations = 0;

}  // namespace

void* operator new(size_t size) {
  if (g_fail_at != 0 && ++g_allocations == g_fail_at)
    throw std::bad_alloc();
  if (void* memory = malloc(size ? size : 1))
    return memory;
  throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { free(memory); }
void operator delete(void* memory, size_t) noexcept { free(memory); }

namespace {

TEST(OutOfMemory, EveryFailingAllocationOfAnAddIsReportedNeverAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer keeps operator new for itself";
#endif
  Driver driver("vtmediatoollpr_txr580", "txr580");
  std::string output = driver.top() + "/output";
  std::string errors = driver.top() + "/errors";
  const std::vector<std::string> kAdd = driver.argv({ "-P", "q", "-n",
      "Shelf edge", "-w", "12", "-h", "50" });
  int failures = 0;
  for (long n = 1; n < 5000; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n));
    driver.restore();
    pid_t pid = fork_tool(kAdd, driver.store_env(), [&] {
      if (freopen(output.c_str(), "w", stdout) == nullptr ||
          freopen(errors.c_str(), "w", stderr) == nullptr)
        _exit(100);
      g_fail_at = n;
    });
    int status = wait_for(pid);
    EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
    if (status == 0) {
      EXPECT_LT(0, failures) << "no allocation ever failed";
      return;
    }
    ++failures;
    ASSERT_EQ(255, status) << read_file(output);
    EXPECT_EQ("Cannot allocate memory\n", read_file(output));
    // One line, naming the file where a read ran out.
    std::string said = read_file(errors);
    const std::string kTail = "Cannot allocate memory\n";
    EXPECT_EQ(0u, said.find("vtmediatoollpr_txr580: ")) << said;
    EXPECT_EQ(said.size() - kTail.size(), said.find(kTail)) << said;
  }
  ADD_FAILURE() << "the add never got through";
}

}  // namespace
