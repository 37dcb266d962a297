// SPDX-License-Identifier: GPL-2.0-or-later
// The whole program in this process, for what the built executable cannot
// be given: an argument vector with no program name at all (the kernel
// may put one in), and the version the build defines. The answers the
// executable gives are checked by the end-to-end tests.
#include "cli/tool.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "expected_usage.h"
#include "harness.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
};

// Only answers that never reach the driver are run here, so the driver
// root names nothing.
ToolRun run(const std::vector<std::string>& argv) {
  StoreEnv env;
  env.driver_root = "/nonexistent/vtmedia-tool-test";
  ToolRun result;
  result.status = run_tool_here(argv, env, &result.out);
  return result;
}

TEST(RunTool, EmptyArgumentVectorGivesInvalidLineWithEmptyName) {
  ToolRun result = run({});
  EXPECT_EQ(0, result.status);
  EXPECT_EQ(" is invalid.\n\n", result.out);
}

TEST(RunTool, VersionUnderAnyNameAndHelpAsTheUsageScreen) {
  for (const char* name : { "vtmediatoollpr", "vtmediatoollpr_txr580" }) {
    ToolRun version = run({ name, "--version" });
    EXPECT_EQ(0, version.status);
    EXPECT_EQ(std::string("vtmediatoollpr ") + VT_VERSION + "\n",
              version.out);
  }
  ToolRun help = run({ "vtmediatoollpr_txr580", "--help" });
  EXPECT_EQ(0, help.status);
  EXPECT_EQ(expected_usage_screen("txr580", "TX-R580"), help.out);
}

}  // namespace
