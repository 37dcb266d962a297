// SPDX-License-Identifier: GPL-2.0-or-later
// The whole program in this process, for what the built executable cannot
// be given: an argument vector with no program name at all (the kernel
// may put one in), and the version the build defines. The answers the
// executable gives are checked by the end-to-end tests.
#include "cli/tool.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

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

TEST(RunTool, VersionUnderAnyNameAndHelpOfItsOwn) {
  for (const char* name : { "vtmediatoollpr", "vtmediatoollpr_txr580" }) {
    ToolRun version = run({ name, "--version" });
    EXPECT_EQ(0, version.status);
    EXPECT_EQ(std::string("vtmediatoollpr ") + VT_VERSION + "\n"
              "Copyright (C) 2026 Vantrel driver maintainers\n"
              "License GPL-2.0-or-later "
              "<https://www.gnu.org/licenses/gpl-2.0.html>.\n"
              "This is free software: you are free to change and "
              "redistribute it.\n"
              "There is NO WARRANTY, to the extent permitted by law.\n",
              version.out);
  }
  const struct {
    const char* name;
    std::vector<std::string> parts;  // in this order
  } helps[] = {
    { "vtmediatoollpr_txr580",
      { "Usage: vtmediatoollpr_txr580 -P QUEUE -n NAME -w WIDTH -h HEIGHT\n",
        "  -P QUEUE", "  -n NAME", "  -w WIDTH", "  -h HEIGHT", "  -d NAME",
        "  --list", "  --help", "  --version",
        "  3.5: 2  6: 4  9: 7  12: 10  18: 16  24: 22\n", "\"HS\" or \"hs\"",
        "  6: 4  9: 7  12: 9  18: 15  24: 18\n",
        "4 mm to 1000 mm on tape and 500 mm on tube",
        "vtmediatoollpr_txr580 -P TX-R580 -n", "Exit status: 0", "255" } },
    { "vtmediatoollpr_rk210",
      { "Usage: vtmediatoollpr_rk210 -P QUEUE",
        "vtmediatoollpr_rk210 -P QUEUE -d" } },
  };
  for (const auto& help : helps) {
    ToolRun run_help = run({ help.name, "--help" });
    EXPECT_EQ(0, run_help.status);
    size_t at = 0;
    for (const std::string& part : help.parts) {
      at = run_help.out.find(part, at);
      EXPECT_NE(std::string::npos, at) << help.name << ": " << part;
    }
  }
  // Tape rules mean nothing on a roll-label model.
  EXPECT_EQ(std::string::npos,
            run({ "vtmediatoollpr_rk210", "--help" }).out.find("tube"));
}

}  // namespace
