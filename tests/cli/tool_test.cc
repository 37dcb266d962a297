// SPDX-License-Identifier: GPL-2.0-or-later
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

// Runs the whole program in this process. Only answers that never reach
// the driver are run here, so the driver root names nothing.
ToolRun run(const std::vector<const char*>& args) {
  StoreEnv env;
  env.driver_root = "/nonexistent/vtmedia-tool-test";
  ToolRun result;
  result.status = run_tool_here(
      std::vector<std::string>(args.begin(), args.end()), env, &result.out);
  return result;
}

TEST(RunTool, EmptyArgumentVectorGivesInvalidLineWithEmptyName) {
  ToolRun result = run({});
  EXPECT_EQ(0, result.status);
  EXPECT_EQ(" is invalid.\n\n", result.out);
}

TEST(RunTool, UnknownNameIsReportedBeforeArgumentsAreRead) {
  const std::vector<std::vector<const char*>> runs = {
    { "vtmediatoollpr" },
    { "vtmediatoollpr", "-P", "q", "-n", "a", "-w", "12", "-h", "50" },
    { "vtmediatoollpr", "-P", "q", "-d", "a" },
    { "vtmediatoollpr", "-x" },
  };
  for (const std::vector<const char*>& args : runs) {
    ToolRun result = run(args);
    EXPECT_EQ(0, result.status);
    EXPECT_EQ("vtmediatoollpr is invalid.\n\n", result.out);
  }
  ToolRun empty_name = run({ "", "-P", "q", "-d", "a" });
  EXPECT_EQ(0, empty_name.status);
  EXPECT_EQ(" is invalid.\n\n", empty_name.out);
}

TEST(RunTool, MalformedCommandLinePrintsUsageScreenOnly) {
  const std::string screen = expected_usage_screen("txr580", "TX-R580");
  const std::vector<std::vector<const char*>> runs = {
    { "vtmediatoollpr_txr580" },
    { "vtmediatoollpr_txr580", "-P", "q", "-d" },
    { "vtmediatoollpr_txr580", "-P", "q", "-n", "a", "-w", "12" },
    { "vtmediatoollpr_txr580", "-P", "q", "-n", "a", "-w", "25", "-h", "5" },
    { "vtmediatoollpr_txr580", "-P", "q", "-d", "a\nb" },
  };
  for (const std::vector<const char*>& args : runs) {
    ToolRun result = run(args);
    EXPECT_EQ(0, result.status);
    EXPECT_EQ(screen, result.out);
  }
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
